#pragma once
// Folders for tests that write files: a fresh temporary folder, and one that stands in for
// the program's own folder (where Loan.txt goes and the editor starts). Each guard removes
// its folder, with everything in it, when it goes.

#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

#include "files/program_folder.h"

namespace quentara::testing {

/// The bytes of a file, "" when it cannot be read.
inline std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

/// A fresh, empty folder under /tmp for the guard's life.
class TemporaryFolder {
 public:
  TemporaryFolder() : TemporaryFolder(nullptr) {}
  ~TemporaryFolder() {
    std::error_code ignored;
    if (owner_) std::filesystem::remove_all(path_, ignored);
  }
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  /// The folder, without a separator at the end.
  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path operator/(const std::filesystem::path& name) const { return path_ / name; }
  /// The bytes of a file in the folder, "" when it cannot be read.
  std::string Read(const std::filesystem::path& name) const { return ReadBytes(path_ / name); }

 protected:
  /// With `madeElsewhere`, that folder, which another process made and removes.
  explicit TemporaryFolder(const char* madeElsewhere)
      : path_(madeElsewhere != nullptr ? madeElsewhere : Make()),
        owner_(madeElsewhere == nullptr) {}

 private:
  static std::filesystem::path Make() {
    char pattern[] = "/tmp/quentara-test.XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
      std::perror("mkdtemp");
      std::abort();
    }
    return pattern;
  }

  std::filesystem::path path_;
  bool owner_;
};

/// A temporary folder as the program's folder (ProgramFolder() names it, with its
/// separator). When the guard goes, the current directory is again the one it found and
/// no program folder is set. A death test runs its test again in a child process: the
/// child's guard takes the parent's folder, found through the environment, and leaves its
/// removal to the parent, which can then look at what the child wrote. One guard at a time.
class ProgramFolderGuard : public TemporaryFolder {
 public:
  ProgramFolderGuard() : TemporaryFolder(std::getenv(variable)), parent_(!IsChild()) {
    if (parent_) setenv(variable, Path().c_str(), 1);
    Use();
  }
  ~ProgramFolderGuard() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
    SetProgramFolder("");
    if (parent_) unsetenv(variable);
  }

  /// Makes it the program's folder again (the program's start-up sets the real one).
  void Use() const { SetProgramFolder((Path().string() + "/").c_str()); }

 private:
  static constexpr const char* variable = "QUENTARA_TEST_PROGRAM_FOLDER";
  static bool IsChild() { return std::getenv(variable) != nullptr; }

  const bool parent_;
  const std::filesystem::path previous_ = std::filesystem::current_path();
};

}  // namespace quentara::testing
