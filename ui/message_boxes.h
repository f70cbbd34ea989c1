#pragma once
// Modal message boxes: the notices and errors the program shows the person. A box blocks
// the program's one thread until it is closed.

#include <cstdint>

namespace quentara {

/// A modal box with one OK button (flags 0), owned by the program's active window when
/// there is one; "\n" starts a new line. Returns 1 for OK, 0 when no box could be shown.
std::int32_t ShowMessageBox(const char* title, const char* text, std::uint32_t flags);

}  // namespace quentara
