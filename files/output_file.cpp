// The command-line tool's outputs, whole or in parts. A regular file is replaced by renaming
// a complete new file over it: the rename is what makes the new bytes appear, all at once. The new
// file has no name while it is written (O_TMPFILE), so a tool killed halfway leaves nothing behind;
// only where the file system cannot make such a file is it written under a hidden temporary name.
// It is not forced to disk first, as Loan.txt is not either; what is promised is that no reader
// ever sees a part, not that the bytes survive a power cut.

#include "files/output_file.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>

#include "files/write_all.h"

namespace quentara {

namespace {

// The permission bits a replacement keeps. The set-user-ID, set-group-ID and sticky bits
// are dropped: the new file may have another owner than the one who set them.
constexpr mode_t keptPermissions = 0777;

std::string Reason() {
  return std::strerror(errno);
}

// Closes a descriptor that `whole` says was written completely (or not); a failure to close
// is a failure too. Call it right after the last write, while errno still tells why that
// failed.
bool Closed(int descriptor, bool whole, std::string& error) {
  if (!whole) error = Reason();
  if (close(descriptor) != 0 && whole) {
    error = Reason();
    whole = false;
  }
  return whole;
}

// The permissions a newly created file gets under the current umask.
mode_t NewFileMode() {
  mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

// The number N when `path` is the entry N of this process's own descriptor folder
// (/proc/self/fd/N, reached also as /dev/fd/N or /proc/thread-self/fd/N); -1 otherwise.
int NamedDescriptor(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  // The folder's entries have no leading zeros, and none is beyond an int.
  if (name.empty() || name.size() > 9 || (name.size() > 1 && name[0] == '0') ||
      name.find_first_not_of("0123456789") != std::string::npos) {
    return -1;
  }
  std::error_code noFolder, noSelf;
  const std::string folder = std::filesystem::canonical(
      slash == std::string::npos ? "." : path.substr(0, slash + 1), noFolder);
  const std::string self = std::filesystem::canonical("/proc/self", noSelf);
  if (noFolder || noSelf || !folder.starts_with(self + "/")) return -1;
  // "/fd", or "/task/<thread>/fd" for one thread's view of the same descriptors.
  const std::string_view rest = std::string_view(folder).substr(self.size());
  const bool own = rest == "/fd" || (rest.starts_with("/task/") && rest.ends_with("/fd") &&
                                     std::count(rest.begin(), rest.end(), '/') == 3);
  return own ? std::atoi(name.c_str()) : -1;
}

// Follows the symbolic links that start at `path`, to one of this process's open
// descriptors (`descriptor`) or else to `target`: the path of the file at the end of the
// links, whether or not a file is there (`descriptor` is then -1). False, with the reason in
// `error`, for a loop of links or a link that cannot be read.
bool FollowLinks(const std::string& path, std::string& target, int& descriptor,
                 std::string& error) {
  constexpr int mostLinks = 40;
  target = path;
  for (int links = 0; links < mostLinks; ++links) {
    descriptor = NamedDescriptor(target);
    if (descriptor >= 0) return true;
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

// An existing file is replaced only when the person may write it, as the shell's '>'
// requires: the folder's permission alone would let a read-only file be replaced, or,
// through a link, another person's file in a folder that all may write. `path` is checked
// with its links followed; `target` is where they lead.
bool MayWrite(const std::string& path, const std::string& target, std::string& error) {
  if (access(path.c_str(), W_OK) == 0) return true;
  error = errno == EACCES ? "permission denied: you may not write \"" + target + "\"" : Reason();
  return false;
}

// A hidden name beside `name` in `folder` whose last six X's are to be made unique:
// ".loan.csv.XXXXXX". A long name is shortened, never inside a UTF-8 character, so that
// the whole fits NAME_MAX.
std::string TemporaryName(const std::string& folder, const std::string& name) {
  constexpr std::size_t marks = 8;  // the leading dot and ".XXXXXX"
  std::size_t kept = std::min<std::size_t>(name.size(), NAME_MAX - marks);
  while (kept > 0 && kept < name.size() &&
         (static_cast<unsigned char>(name[kept]) & 0xC0) == 0x80) {
    --kept;
  }
  return folder + "." + name.substr(0, kept) + ".XXXXXX";
}

// Gives the unnamed file `descriptor` the name `temporary`, its X's replaced by random
// letters and digits until the name is free. False, with errno set, when it cannot.
bool LinkUnnamed(int descriptor, std::string& temporary) {
  constexpr char symbols[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  constexpr std::uint64_t symbolCount = sizeof symbols - 1;
  const std::string self = "/proc/self/fd/" + std::to_string(descriptor);
  for (int tries = 0; tries < 100; ++tries) {
    std::uint64_t noise = 0;
    if (getrandom(&noise, sizeof noise, GRND_NONBLOCK) != sizeof noise) {
      timespec now{};
      clock_gettime(CLOCK_MONOTONIC, &now);
      noise = static_cast<std::uint64_t>(now.tv_nsec) * 7919 + static_cast<std::uint64_t>(getpid());
    }
    for (std::size_t at = temporary.size() - 6; at < temporary.size(); ++at) {
      temporary[at] = symbols[noise % symbolCount];
      noise /= symbolCount;
    }
    // Without /proc, the kernel links an open file directly, where it allows that.
    if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temporary.c_str(), AT_SYMLINK_FOLLOW) == 0 ||
        (errno == ENOENT &&
         linkat(descriptor, "", AT_FDCWD, temporary.c_str(), AT_EMPTY_PATH) == 0)) {
      return true;
    }
    if (errno != EEXIST) return false;
  }
  return false;
}

// Puts the complete file `temporary` in place of `target`, or removes it.
bool Replace(const std::string& temporary, const std::string& target, bool whole,
             std::string& error) {
  if (whole && rename(temporary.c_str(), target.c_str()) != 0) {
    error = Reason();
    whole = false;
  }
  if (!whole) unlink(temporary.c_str());
  return whole;
}

// Whether making a file without a name failed only because the kernel or the file system
// cannot: older kernels and some file systems have no unnamed files.
bool Unsupported(int error) {
  return error == EOPNOTSUPP || error == EISDIR || error == EINVAL;
}

// Copies everything written to `from` so far into `to`. False, with errno set, on failure.
bool CopyFile(int from, int to) {
  char part[65536];
  for (off_t at = 0;;) {
    const ssize_t got = pread(from, part, sizeof part, at);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) return true;
    if (!WriteAll(to, std::string_view(part, static_cast<std::size_t>(got)))) return false;
    at += got;
  }
}

}  // namespace

bool WriteStandardOutput(std::string_view bytes, std::string& error) {
  if (WriteAll(STDOUT_FILENO, bytes)) return true;
  error = Reason();
  return false;
}

bool WriteWholeFile(const std::string& path, std::string_view bytes, std::string& error) {
  OutputFile out;
  if (!out.Open(path, error)) return false;
  if (!out.Write(bytes, error)) return false;  // abandoned as `out` goes
  return out.Commit(error);
}

OutputFile::~OutputFile() {
  Abandon();
}

void OutputFile::OpenStandardOutput() {
  Abandon();
  kind_ = Kind::Descriptor;
  descriptor_ = STDOUT_FILENO;
}

bool OutputFile::Open(const std::string& path, std::string& error) {
  Abandon();
  // Through symbolic links the file they lead to is replaced, not a link, also when that
  // file does not exist yet. A path into the descriptor folder, such as /dev/stdout, is
  // written through the descriptor as the shell opened it, so that '>>' keeps appending.
  int descriptor = -1;
  if (!FollowLinks(path, target_, descriptor, error)) return false;
  if (descriptor >= 0) {
    kind_ = Kind::Descriptor;
    descriptor_ = descriptor;
    return true;
  }
  struct stat status {};
  const bool exists = stat(target_.c_str(), &status) == 0;
  if (!exists && errno != ENOENT) {
    error = Reason();
    return false;
  }
  if (exists && !S_ISREG(status.st_mode)) {
    // A device or a pipe is written as it is. The open does not wait, since for a pipe that
    // nobody reads it would wait forever; the writes do, as the reader takes the bytes.
    descriptor_ = open(target_.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (descriptor_ < 0) {
      error = S_ISFIFO(status.st_mode) && errno == ENXIO ? "nobody reads the pipe" : Reason();
      return false;
    }
    kind_ = Kind::InPlace;
    const int flags = fcntl(descriptor_, F_GETFL);
    if (flags < 0 || fcntl(descriptor_, F_SETFL, flags & ~O_NONBLOCK) != 0) {
      error = Reason();
      Abandon();
      return false;
    }
    return true;
  }
  if (exists && !MayWrite(path, target_, error)) return false;

  mode_ = exists ? (status.st_mode & keptPermissions) : NewFileMode();
  const std::size_t slash = target_.rfind('/');
  folder_ = slash == std::string::npos ? "" : target_.substr(0, slash + 1);
  name_ = slash == std::string::npos ? target_ : target_.substr(slash + 1);
  owner_.reset();
  if (exists) owner_ = {status.st_uid, status.st_gid};
  // The new file is written without a name and named only once it is complete; read and
  // write, so that its bytes can still be copied to a named file if naming it fails.
  descriptor_ =
      open(folder_.empty() ? "." : folder_.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, mode_);
  bool made = descriptor_ >= 0;
  if (made) {
    kind_ = Kind::Unnamed;
  } else if (Unsupported(errno)) {
    made = OpenNamed(error);
  } else {
    error = Reason();
  }
  if (!made) {
    // The file itself may be writable: what failed is making its replacement beside it.
    if (exists) {
      const std::string folder = folder_.empty()      ? "."
                                 : folder_.size() > 1 ? folder_.substr(0, folder_.size() - 1)
                                                      : folder_;
      error = "cannot make its replacement in the folder \"" + folder + "\": " + error;
    }
    return false;
  }
  if (!Prepare(error)) {
    Abandon();
    return false;
  }
  return true;
}

bool OutputFile::OpenNamed(std::string& error) {
  temporary_ = TemporaryName(folder_, name_);
  descriptor_ = mkostemp(temporary_.data(), O_CLOEXEC);
  if (descriptor_ < 0) {
    error = Reason();
    return false;
  }
  kind_ = Kind::Named;
  return true;
}

bool OutputFile::Prepare(std::string& error) {
  // The replacement of an existing file keeps its owner and group, as writing into it would;
  // only root may give a file away, so for anyone else this keeps what they already own.
  if (owner_ && fchown(descriptor_, owner_->first, owner_->second) != 0) {
    // Not allowed: the file stays the writer's own, which the permission check let through.
  }
  if (fchmod(descriptor_, mode_) == 0) return true;
  error = Reason();
  return false;
}

bool OutputFile::Write(std::string_view bytes, std::string& error) {
  if (kind_ == Kind::Closed) {
    errno = EBADF;
  } else if (WriteAll(descriptor_, bytes)) {
    return true;
  }
  error = Reason();
  return false;
}

bool OutputFile::Commit(std::string& error) {
  const int descriptor = descriptor_;
  const Kind kind = kind_;
  switch (kind) {
    case Kind::Closed:
      errno = EBADF;
      error = Reason();
      return false;
    case Kind::Descriptor:
      kind_ = Kind::Closed;
      return true;
    case Kind::InPlace:
      kind_ = Kind::Closed;
      return Closed(descriptor, true, error);
    case Kind::Unnamed:
      temporary_ = TemporaryName(folder_, name_);
      if (!LinkUnnamed(descriptor, temporary_)) {
        // Neither /proc nor a direct link, or a file system without links: the bytes go to
        // a named file after all.
        if (errno != ENOENT && errno != EPERM) {
          error = Reason();
          Abandon();
          return false;
        }
        if (!OpenNamed(error)) {
          close(descriptor);
          kind_ = Kind::Closed;
          return false;
        }
        bool copied = Prepare(error);
        if (copied && !CopyFile(descriptor, descriptor_)) {
          error = Reason();
          copied = false;
        }
        close(descriptor);
        if (!copied) {
          Abandon();
          return false;
        }
        return Commit(error);
      }
      break;
    case Kind::Named:
      break;
  }
  kind_ = Kind::Closed;
  const bool whole = Closed(descriptor, true, error);
  return Replace(temporary_, target_, whole, error);
}

void OutputFile::Abandon() {
  switch (kind_) {
    case Kind::Closed:
    case Kind::Descriptor:
      break;
    case Kind::InPlace:
    case Kind::Unnamed:
      close(descriptor_);
      break;
    case Kind::Named:
      close(descriptor_);
      unlink(temporary_.c_str());
      break;
  }
  kind_ = Kind::Closed;
  descriptor_ = -1;
}

}  // namespace quentara
