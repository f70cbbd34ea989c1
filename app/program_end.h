#pragma once
// The one way out of the program: after Quit, after the main window is closed, when the
// main form cannot be built, and after a fatal message. The exit code is always 0.

namespace quentara {

/// Ends the file layer, closes every window and releases the window layer, releases the
/// program heap and exits with 0.
[[noreturn]] void EndProgram();

}  // namespace quentara
