#pragma once
// The spine of the calculator: start-up in its fixed order, the one event loop that turns
// gadget events into the four commands, and the hand-over to the program end. It holds no
// logic of its own beyond the dispatch.

#include <cstdint>

namespace quentara {

/// Prepares every layer, builds and shows the main form and runs the event loop until the
/// person quits or closes the main form. Never returns: every way out ends the process with
/// exit code 0 through EndProgram. The command line is handed to the window system only.
[[noreturn]] int RunProgram(int argc, char** argv);

/// The print button's command: a note about the font to use, then the text editor with
/// the report, waiting until the editor has ended. Returns 0.
std::int32_t OpenReportInEditor();

}  // namespace quentara
