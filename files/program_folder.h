#pragma once
// The folder that holds the program's own executable, ending in its separator. Reports are
// written there and the text editor is started there, wherever the program was started from.

namespace quentara {

/// The folder, or "" when it could not be determined (files then go to the current folder).
const char* ProgramFolder();
/// Start-up: reads the executable's path, however long, and keeps its folder.
void DetermineProgramFolder();
/// Sets the folder directly (a path ending in '/'); for tests.
void SetProgramFolder(const char* folder);
/// Makes the program folder the process's current directory; false when that failed. With
/// no folder ("") the current directory stays as it is and the result is true.
bool EnterProgramFolder();

}  // namespace quentara
