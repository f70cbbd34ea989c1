#pragma once
// The one way out of the program: after Quit, after the main window is closed, when the
// main form cannot be built, and after a fatal message. The exit code is always 0.

namespace quentara {

/// Start-up hands over the window layer's end: every open window closed, then the rest of
/// the layer released, the application object last.
void SetWindowCloser(void (*endWindows)());
/// For tests and the fuzzer: a step taken first when the program ends, before anything is
/// released. One that leaves by throwing lets its caller catch the end and go on; one that
/// returns lets the end go on as usual. Without one (the default) the program ends at once.
void SetProgramEndCatcher(void (*catcher)());
/// Ends the file layer, closes every window and releases the window layer, releases the
/// program heap and exits with 0.
[[noreturn]] void EndProgram();

}  // namespace quentara
