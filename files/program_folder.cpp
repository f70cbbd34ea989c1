// The program's own folder, where Loan.txt is written and the text editor is started. It is
// read once at start-up and kept as a text value; nothing here creates or checks folders.

#include "files/program_folder.h"

#include <unistd.h>

#include <cstring>

#include "text/text_value.h"

namespace quentara {

namespace {

// The executable's path is read through a buffer of this size; a path that needs all of it
// (or more) may have been cut and so cannot be trusted.
constexpr std::size_t pathBufferSize = 500;

// Never destroyed: the folder must stay readable while other objects are torn down at exit,
// and its block belongs to the program heap, which is released as a whole.
Text& FolderText() {
  static Text& folder = *new Text;
  return folder;
}

}  // namespace

const char* ProgramFolder() {
  return FolderText().View();
}

void DetermineProgramFolder() {
  char path[pathBufferSize];
  ssize_t length = readlink("/proc/self/exe", path, sizeof path);
  // readlink does not end the path with a zero byte and silently cuts a long one; a path of
  // 499 bytes is the longest that fits with its terminator.
  if (length <= 0 || static_cast<std::size_t>(length) >= sizeof path) {
    AssignText(FolderText(), "");
    return;
  }
  path[length] = '\0';
  char* lastSeparator = std::strrchr(path, '/');
  if (lastSeparator == nullptr) {
    AssignText(FolderText(), "");
    return;
  }
  lastSeparator[1] = '\0';  // the separator stays
  AssignText(FolderText(), path);
}

void SetProgramFolder(const char* folder) {
  AssignText(FolderText(), folder != nullptr ? folder : "");
}

bool EnterProgramFolder() {
  const char* folder = ProgramFolder();
  // An unknown folder leaves the current directory as it is: files then go there.
  if (*folder == '\0') return true;
  return chdir(folder) == 0;
}

}  // namespace quentara
