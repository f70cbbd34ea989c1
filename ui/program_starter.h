#pragma once
// Starting another program: the text editor that shows the report. A start that waits for
// the program blocks the program's one thread until the started program has ended.

#include <cstdint>
#include <string>

#include "ui/ui_types.h"

namespace quentara {

inline constexpr std::uint32_t StartAndWait = 0x1;
inline constexpr std::uint32_t StartHidden = 0x2;
/// Starts `program` with the one parameter in `directory` (see StartingDirectory), the
/// program folder being this process's current directory first. A name without '/' is
/// looked for along PATH; for "notepad.exe", when there is none, the first plain text
/// editor found on PATH stands in for it. Returns the process handle, or 0 (the person is
/// then told that the program could not be started); the value 1, "nothing had to be
/// started", does not occur here. StartAndWait waits until the program has ended; meanwhile
/// this program's windows are repainted and answer the window manager's liveness check, but
/// no click, key or close request is handled: those reach the windows, in their order, once
/// the wait is over. StartHidden is ignored: an X11 program cannot in general be started
/// hidden.
PlatformHandle StartProgram(const char* program, const char* parameter, const char* directory,
                            std::uint32_t flags);
/// The working directory StartProgram gives a program, "" for none (it then inherits the
/// current directory, the program's folder). The separator is '/': a program given with a
/// path runs in its own folder when the last '/' stands after the first character and at
/// most 510 characters stand before it; a longer folder gives none rather than a folder cut
/// short. A directory argument that is not empty wins.
/// StartingDirectory("/opt/tools/app", "") == "/opt/tools/"
std::string StartingDirectory(const char* program, const char* directory);
/// How a wait for a started program learns that it has ended: from the process's own
/// descriptor, which becomes readable then, or, where the kernel has no such descriptors
/// (before Linux 5.3), by asking a few times a second.
enum class EndNotice : std::uint8_t { ProcessDescriptor, Polling };
/// The way the waits from now on take; ProcessDescriptor, the default, falls back to
/// Polling by itself. Polling alone is for tests.
void UseEndNotice(EndNotice notice);
/// Collects programs started without waiting that have ended since, so that none is left
/// as a zombie; WaitForEvent and StartProgram call it.
void CollectEndedPrograms();

}  // namespace quentara
