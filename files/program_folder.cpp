// The program's own folder, where Loan.txt is written and the text editor is started. It is
// read once at start-up and kept as a text value; nothing here creates or checks folders.

#include "files/program_folder.h"

#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <vector>

#include "text/text_value.h"

namespace quentara {

namespace {

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
  // The path may be as long as the system allows, so the buffer grows until the whole of it
  // fits: readlink silently cuts a path that fills the buffer.
  std::vector<char> path(256);
  for (;;) {
    ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0) {
      AssignText(FolderText(), "");
      return;
    }
    if (static_cast<std::size_t>(length) < path.size()) {
      path.resize(static_cast<std::size_t>(length));
      break;
    }
    path.resize(path.size() * 2);
  }
  auto lastSeparator = std::find(path.rbegin(), path.rend(), '/');
  if (lastSeparator == path.rend()) {
    AssignText(FolderText(), "");
    return;
  }
  path.erase(lastSeparator.base(), path.end());  // the separator stays
  path.push_back('\0');
  AssignText(FolderText(), path.data());
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
