#pragma once
// The one way out of the program: after Quit, after the main window is closed, when the
// main form cannot be built, and after a fatal message. The exit code is always 0.

namespace quentara {

/// Start-up hands over the step that closes every open window.
void SetWindowCloser(void (*closeAllWindows)());
/// For tests and the fuzzer: a step taken first when the program ends, before anything is
/// released. One that leaves by throwing lets its caller catch the end and go on; one that
/// returns lets the end go on as usual. nullptr, the default, ends the program at once.
void SetProgramEndCatcher(void (*catcher)());
/// Ends the file layer, closes every window, releases the program heap and exits with 0.
[[noreturn]] void EndProgram();

}  // namespace quentara
