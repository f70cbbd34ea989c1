#pragma once
// Numbered text files, written line by line with CR LF. There is no buffer of our own:
// every line reaches the file when it is written (two writes a line), so a report that is
// cut short by the program's end keeps every line written before. Nothing is read back.

#include <cstdint>

namespace quentara {

/// An open file; 0 stands for none or failure.
using FileHandle = std::intptr_t;

/// Start-up: an empty table of 10 file slots.
void InitTextFiles();
/// The file layer's part of the program end; nothing to release.
void EndTextFiles();
/// Creates (or empties) `name` in the program folder, which becomes the current directory,
/// stores it under `number` and makes it the current file. Returns 0 when the file cannot
/// be created, for instance when `name` is a folder or another of our writers holds it; the
/// slot and the current file then hold 0. A handle already in the slot is replaced without
/// being closed. Numbers below 0 or above 65535 are refused with 0 and change nothing.
FileHandle CreateTextFile(std::int32_t number, const char* name);
/// Writes the text's bytes and then CR LF to the current file; nullptr writes an empty line.
/// Without a current file nothing happens; after the current file was closed nothing is
/// written and the line counts as lost.
void WriteLine(const char* text);
/// Closes the file under `number`; a number never created or already closed is ignored.
void CloseTextFile(std::int32_t number);
/// True when a line written since the last CreateTextFile did not reach the file whole.
bool LinesLost();
/// Slots in the table; numbers at or above it grow it to number + 10 (for tests).
std::int32_t TextFileSlotCount();

}  // namespace quentara
