#pragma once
// The one loop that puts bytes into an open file, shared by the report files and the
// command-line tool's output. It neither opens nor closes anything.

#include <string_view>

namespace quentara {

/// Writes every byte to `descriptor`, going on after partial writes and interruptions. False
/// when they did not all get there; errno then tells why (ENOSPC when the system took no
/// more bytes without naming an error).
bool WriteAll(int descriptor, std::string_view bytes);

}  // namespace quentara
