#pragma once
// Writing the command-line tool's output: to standard output, or in place of a file so that
// the file holds either its old bytes or all the new ones, never a part; in one go, or as a
// stream of parts that appears only once it is complete. Every failure is reported, a full
// disk included; nothing here buffers or retries beyond what a complete write needs.

#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace quentara {

/// Writes all the bytes to standard output. False, with the reason in `error` (such as "No
/// space left on device"), when they did not all get there.
bool WriteStandardOutput(std::string_view bytes, std::string& error);

/// Makes `path` hold exactly `bytes`. A regular file (or a path that does not exist yet) is
/// written as a new file in the same folder, without a name until it is complete (where the
/// file system allows; elsewhere under a hidden temporary name), and then renamed over it,
/// so a failure, even a kill, leaves the old file as it was and no partial file behind. A symbolic
/// link keeps pointing where it did, and the file it names is the one replaced, keeping its
/// permission bits but never set-user-ID, set-group-ID or sticky. An existing file is replaced only
/// when the person may write it; otherwise `error` is "permission denied: you may not write
/// "<file>"". A name of an open descriptor
/// (/dev/stdout, /dev/fd/3, /proc/self/fd/3) is written through that descriptor, so an
/// appending redirection keeps appending. Anything else that exists, such as /dev/null or a
/// pipe, is written in place and never replaced; a pipe that nobody reads gives "nobody
/// reads the pipe" at once. False, with the reason in `error`, on any failure.
bool WriteWholeFile(const std::string& path, std::string_view bytes, std::string& error);

/// An output written in parts and put in place only when it is complete. Each kind of path
/// is handled as WriteWholeFile handles it: a regular file's new bytes go to a new file in
/// the same folder (without a name where the file system allows), which replaces the file at
/// Commit; a descriptor's name, a device or a pipe is written as the parts come. Abandon (or
/// destroying an output not committed) leaves a replaced file as it was and no new file behind.
///
///   OutputFile out;
///   if (!out.Open("loan.csv", error)) ...;
///   for (...) if (!out.Write(part, error)) { out.Abandon(); ... }
///   if (!out.Commit(error)) ...;
class OutputFile {
 public:
  OutputFile() = default;
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  /// Gets `path` ready to be written, as WriteWholeFile would write it. False, with the reason
  /// in `error`, for a path that cannot be written (nothing is changed then).
  bool Open(const std::string& path, std::string& error);
  /// Writes to standard output as the parts come.
  void OpenStandardOutput();
  /// Adds bytes. False, with the reason in `error`, when they did not all get there.
  bool Write(std::string_view bytes, std::string& error);
  /// Puts the complete output in place. False, with the reason in `error`, when it cannot;
  /// the file is then left as it was.
  bool Commit(std::string& error);
  /// Gives the output up: a file being replaced keeps its old bytes.
  void Abandon();

 private:
  bool OpenNamed(std::string& error);
  bool Prepare(std::string& error);

  enum class Kind {
    Closed,
    Descriptor,  // one this process had open already, such as standard output
    InPlace,     // a device or a pipe, opened here
    Unnamed,     // a new file without a name yet
    Named,       // a new file under a hidden temporary name
  };

  Kind kind_ = Kind::Closed;
  int descriptor_ = -1;
  std::string target_;  // the file the new one replaces
  std::string folder_, name_;
  std::string temporary_;  // the name of a Named file
  mode_t mode_ = 0;
  std::optional<std::pair<uid_t, gid_t>> owner_;  // of the file being replaced
};

}  // namespace quentara
