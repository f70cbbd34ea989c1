// What a request's choice of values must be, before any value is read, and how a message
// shows a value.

#include "tool/schedule_request.h"

namespace quentara {

bool IsDateShape(std::string_view text) {
  if (text.size() != 10 || text[2] != '/' || text[5] != '/') return false;
  for (std::size_t i : {0, 1, 3, 4, 6, 7, 8, 9}) {
    if (text[i] < '0' || text[i] > '9') return false;
  }
  return true;
}

ScheduleProblem RequestShapeProblem(const ScheduleRequest& request) {
  if (request.years && request.months) {
    return {exitUsage, "--years and --months cannot be combined: give the length one way"};
  }
  if (!request.years && !request.months) return {exitUsage, "--years or --months is missing"};
  if (request.arithmetic == Arithmetic::Calculator) {
    if (request.months) {
      return {exitUsage,
              "--months cannot be used with --calculator: the Quentara window takes the length "
              "in years"};
    }
    if (!request.extras.empty()) {
      return {exitUsage,
              "--extra cannot be used with --calculator: the Quentara window has no extra "
              "payments"};
    }
  }
  return {};
}

// The two-character escape of a quote, a backslash, a line break or a tab, the same in a
// message and in JSON; nullptr for any other byte.
const char* ShortEscape(char c) {
  switch (c) {
    case '"':
      return "\\\"";
    case '\\':
      return "\\\\";
    case '\n':
      return "\\n";
    case '\r':
      return "\\r";
    case '\t':
      return "\\t";
    default:
      return nullptr;
  }
}

std::string QuotedInMessage(std::string_view text) {
  std::string quoted = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (const char* escape = ShortEscape(c)) {
      quoted += escape;
    } else if (byte < 0x20 || byte == 0x7F) {
      constexpr char hex[] = "0123456789abcdef";
      quoted += "\\x";
      quoted += hex[byte >> 4];
      quoted += hex[byte & 15];
    } else {
      quoted += c;
    }
  }
  return quoted += '"';
}

}  // namespace quentara
