#pragma once
// Writing a finished output in one go, for the command-line tool: to standard output, or
// in place of a file so that the file holds either its old bytes or all the new ones, never
// a part. Every failure is reported, a full disk included; nothing here buffers or retries
// beyond what a complete write needs.

#include <string>
#include <string_view>

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

}  // namespace quentara
