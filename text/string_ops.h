#pragma once
// Cutting, trimming and right-aligning texts. Each writes its result at a given position
// of the temporary text area (normally the area's end) under the area's result rule; the
// argument may lie in the area at that very position, and each copies in the direction
// that reads every character before overwriting it. Absent texts (nullptr) count as empty.

#include <cstdint>

#include "text/text_area.h"

namespace quentara {

/// At most `length` characters of `text` from the 1-based position `start` (a start of 1
/// or below begins at the first). Substring("03/15/2004", 4, 2) == "15".
char* Substring(const char* text, std::int32_t start, std::int32_t length,
                char* resultAt = TextAreaEnd());
/// The text without leading and trailing spaces (code 32 only).
/// TrimSpaces("  a  b ") == "a  b".
char* TrimSpaces(const char* text, char* resultAt = TextAreaEnd());
/// Exactly `width` characters: spaces on the left, or the text's first `width` characters
/// when it is longer; empty for a width of 0 or below. RightAlign("12.50", 10) ==
/// "     12.50"; RightAlign("12345678.90", 10) == "12345678.9".
char* RightAlign(const char* text, std::int32_t width, char* resultAt = TextAreaEnd());

}  // namespace quentara
