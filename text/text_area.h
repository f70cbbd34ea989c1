#pragma once
// The temporary text area: one block of 64000 bytes in which every text expression of the
// program is built (joins, numbers turned into text, cut and aligned pieces) before it is
// assigned to a text variable, written to a file or shown. It keeps one position, the
// area's end, where the next piece goes; between two statements the end rests at the start.
//
// Result rule: an operation that produces text writes it at a given position (normally the
// area's end), ends it with a zero byte, leaves the area's end on that zero byte and returns
// the start of what it wrote, so that the next piece overwrites the terminator and goes on
// with the same text.
//
// The area never grows. Nothing is ever written outside it: a piece that would not fit is
// cut so that the text and its terminator end in the area's last byte. The program's own
// expressions stay far below the limit (the longest is a gadget's text of 31999 characters).

#include <cstddef>

namespace quentara {

inline constexpr std::size_t textAreaSize = 64000;

/// Takes the area from the program heap, zero-filled, with its end at its start. Start-up
/// calls it once; any use of the area before that allocates it too.
void AllocateTextArea();

char* TextAreaStart();
/// One past the area's last byte; nothing is ever written there.
char* TextAreaLimit();
/// The area's end: the place where the next piece of text is written.
char* TextAreaEnd();
/// Moves the area's end. A position outside the area is clamped to the area's first or
/// last byte, so a later write cannot leave it.
void SetTextAreaEnd(char* position);
/// Moves the area's end one byte past the text that ends there (past its terminator), so
/// that the text stays whole while an operation builds its result behind it.
void SkipTextAreaTerminator();

/// Bytes that fit at `position`, its terminator included (at least 1 for a position in the
/// area, 0 for one outside it).
std::size_t TextAreaRoom(const char* position);

/// Writes `length` bytes of `bytes` at `position` and a terminator after them, cutting the
/// piece where the area ends; leaves the area's end on the terminator and returns
/// `position`. The bytes may lie at or after `position` in the area (they are moved, not
/// copied blindly). A position outside the area is taken as the area's end.
char* WriteTextAt(char* position, const char* bytes, std::size_t length);

/// Copies the text with its terminator to the area's end and leaves the end on the copied
/// terminator; returns where the copy starts. An absent text (nullptr) only writes a
/// terminator. AppendText(nullptr) == AppendText("").
char* AppendText(const char* text);

}  // namespace quentara
