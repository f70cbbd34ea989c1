#pragma once
// One loan's schedule as it is asked for: the values as the person typed them, which
// arithmetic computes it and the form it is written in. A request is only texts and choices;
// whether the values make a loan is decided when the loan is read from it, so that the
// command line and any other source of requests share that reading.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quentara {

enum class ExportFormat { Text, Csv, Json };
enum class TextEncoding { Windows1252, Utf8 };
/// Exact cents as lenders compute them, or the figures the Quentara window writes (single
/// precision, its limits and its messages).
enum class Arithmetic { Exact, Calculator };
/// How a JSON object is laid out: over several indented lines, or on one line (JSON Lines).
enum class JsonLayout { Indented, OneLine };

/// What one schedule is asked for; numbers and dates are kept as given.
struct ScheduleRequest {
  std::string amount, rate;
  std::optional<std::string> years, months;  ///< exactly one of them
  std::string date;                          ///< mm/dd/yyyy; empty for today
  std::optional<std::string> payment;
  std::vector<std::string> extras;  ///< MM/DD/YYYY=AMOUNT each, in the order given
  Arithmetic arithmetic = Arithmetic::Exact;
  ExportFormat format = ExportFormat::Text;
  TextEncoding encoding = TextEncoding::Windows1252;
  std::string output = "-";  ///< "-" for standard output
  bool summary = false;
  bool help = false;
  /// A CSV file of loans to schedule instead of the one above ("-" for standard input).
  std::optional<std::string> batch;
  int jobs = 0;  ///< threads for a batch; 0 for one a core
};

/// The two-character escape of a quote, a backslash, a line break or a tab, the same in a
/// message and in JSON; nullptr for any other byte.
const char* ShortEscape(char c);
/// A value as a message shows it, so that the message stays on one line: in quotes, with
/// quotes, backslashes and control characters escaped.
/// QuotedInMessage("A \"1\"\n") == "\"A \\\"1\\\"\\n\"".
std::string QuotedInMessage(std::string_view text);

/// The program's name, which begins each of its messages.
inline constexpr const char* programName = "quentara-schedule";

/// Exit codes: the schedule was written; the loan was refused or the output could not be
/// written; the command line (or a value on it) was wrong.
inline constexpr int exitWritten = 0;
inline constexpr int exitRefused = 1;
inline constexpr int exitUsage = 2;

/// Why a schedule is not written: exitUsage for a value that is not allowed, exitRefused for
/// a loan that cannot be scheduled; the message is one line without the program's name.
/// exitCode exitWritten when there is no problem.
struct ScheduleProblem {
  int exitCode = exitWritten;
  std::string message;
  explicit operator bool() const { return exitCode != exitWritten; }
};

/// mm/dd/yyyy: two digits, a slash, two digits, a slash, four digits. IsDateShape("1/5/2004")
/// == false.
bool IsDateShape(std::string_view text);

/// What is wrong with the request's choice of values as a whole (both --years and --months,
/// neither, or an option the chosen arithmetic does not have); no problem otherwise. The
/// values themselves are not read.
ScheduleProblem RequestShapeProblem(const ScheduleRequest& request);

}  // namespace quentara
