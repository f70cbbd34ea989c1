#pragma once
// Message boxes and starting other programs: the two services that reach outside the
// program's own windows. Both block the program's one thread until they are done.

#include <cstdint>

#include "ui/ui_types.h"

namespace quentara {

/// A modal box with one OK button (flags 0), owned by the program's active window when
/// there is one; "\n" starts a new line. Returns 1 for OK, 0 when no box could be shown.
std::int32_t ShowMessageBox(const char* title, const char* text, std::uint32_t flags);

inline constexpr std::uint32_t StartAndWait = 0x1;
inline constexpr std::uint32_t StartHidden = 0x2;
/// Starts `program` with the one parameter in `directory` (or the program's own folder, see
/// the rules in the implementation), the program folder being this process's current
/// directory first. Returns the process handle, 1 when nothing had to be started, or 0
/// (the person is then told that the program could not be started).
PlatformHandle StartProgram(const char* program, const char* parameter, const char* directory,
                            std::uint32_t flags);

}  // namespace quentara
