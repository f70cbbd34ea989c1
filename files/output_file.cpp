// Whole outputs of the command-line tool. A regular file is replaced by renaming a complete
// temporary file over it: the rename is what makes the new bytes appear, all at once. The
// temporary file is not forced to disk first, as Loan.txt is not either; what is promised
// is that no reader ever sees a part, not that the bytes survive a power cut.

#include "files/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace quentara {

namespace {

// Writes every byte, going on after partial writes and interruptions; false on an error
// (errno tells which) or when the system takes no more bytes.
bool WriteAll(int descriptor, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t written = write(descriptor, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (written == 0) {
      errno = ENOSPC;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

std::string Reason() {
  return std::strerror(errno);
}

// The permissions a newly created file gets under the current umask.
mode_t NewFileMode() {
  mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

bool WriteInPlace(const std::string& path, std::string_view bytes, std::string& error) {
  int descriptor = open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
  if (descriptor < 0) {
    error = Reason();
    return false;
  }
  bool whole = WriteAll(descriptor, bytes);
  if (!whole) error = Reason();
  if (close(descriptor) != 0 && whole) {
    error = Reason();
    whole = false;
  }
  return whole;
}

// The path that symbolic links starting at `path` lead to, whether or not a file is there.
// False, with the reason in `error`, for a loop of links or a link that cannot be read.
bool FollowLinks(const std::string& path, std::string& target, std::string& error) {
  constexpr int mostLinks = 40;
  target = path;
  for (int links = 0; links < mostLinks; ++links) {
    struct stat status {};
    if (lstat(target.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return true;
    std::string next(static_cast<std::size_t>(status.st_size) + 1, '\0');
    const ssize_t length = readlink(target.c_str(), next.data(), next.size());
    if (length < 0 || static_cast<std::size_t>(length) >= next.size()) {
      error = length < 0 ? Reason() : "the link changed while it was read";
      return false;
    }
    next.resize(static_cast<std::size_t>(length));
    const std::size_t slash = target.rfind('/');
    // A relative link is read from the folder the link is in.
    if (!next.empty() && next.front() != '/' && slash != std::string::npos) {
      next = target.substr(0, slash + 1) + next;
    }
    target = next;
  }
  errno = ELOOP;
  error = Reason();
  return false;
}

}  // namespace

bool WriteStandardOutput(std::string_view bytes, std::string& error) {
  if (WriteAll(STDOUT_FILENO, bytes)) return true;
  error = Reason();
  return false;
}

bool WriteWholeFile(const std::string& path, std::string_view bytes, std::string& error) {
  // A device or a pipe, also one reached through links such as /dev/stdout, is written as
  // it is.
  struct stat status {};
  if (stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) {
    return WriteInPlace(path, bytes, error);
  }
  // Through symbolic links the file they lead to is replaced, not a link, also when that
  // file does not exist yet.
  std::string target;
  if (!FollowLinks(path, target, error)) return false;
  const bool exists = stat(target.c_str(), &status) == 0;
  if (exists && !S_ISREG(status.st_mode)) return WriteInPlace(target, bytes, error);

  const std::size_t slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
  std::string temporary = folder + "." + name + ".XXXXXX";
  int descriptor = mkostemp(temporary.data(), O_CLOEXEC);
  if (descriptor < 0) {
    error = Reason();
    return false;
  }
  const mode_t mode = exists ? (status.st_mode & 07777) : NewFileMode();
  bool whole = fchmod(descriptor, mode) == 0 && WriteAll(descriptor, bytes);
  if (!whole) error = Reason();
  if (close(descriptor) != 0 && whole) {
    error = Reason();
    whole = false;
  }
  if (whole && rename(temporary.c_str(), target.c_str()) != 0) {
    error = Reason();
    whole = false;
  }
  if (!whole) unlink(temporary.c_str());
  return whole;
}

}  // namespace quentara
