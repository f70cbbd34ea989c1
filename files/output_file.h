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
/// written as a temporary file in the same folder and renamed over it once complete, so a
/// failure leaves the old file as it was and no partial file behind; a symbolic link keeps
/// pointing where it did, and the file it names is the one replaced, keeping its
/// permissions. Anything else that exists, such as /dev/null or a pipe, is written
/// directly and never replaced. False, with the reason in `error`, on any failure.
bool WriteWholeFile(const std::string& path, std::string_view bytes, std::string& error);

}  // namespace quentara
