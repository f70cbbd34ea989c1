#pragma once
// quentara-schedule: the calculator's schedule from the command line, as the report text,
// CSV or JSON, optionally with a payment of the person's choosing. The command line is read
// strictly (a number only when the whole argument is one) and every loan the calculator
// could not schedule is refused up front with the calculator's own words. The schedule comes
// from the same row loop and the same report lines as Loan.txt; the output is gathered and
// written in one go. Standard C++ only.

#include <optional>
#include <span>
#include <string>

namespace quentara {

enum class ExportFormat { Text, Csv, Json };
enum class TextEncoding { Windows1252, Utf8 };

/// What the command line asks for; numbers and the date are kept as given.
struct ScheduleRequest {
  std::string amount, rate, years;
  std::string date;  ///< mm/dd/yyyy; empty for today
  std::optional<std::string> payment;
  ExportFormat format = ExportFormat::Text;
  TextEncoding encoding = TextEncoding::Windows1252;
  std::string output = "-";  ///< "-" for standard output
  bool summary = false;
  bool help = false;
};

/// Exit codes: the schedule was written; the loan was refused or the output could not be
/// written; the command line was wrong.
inline constexpr int exitWritten = 0;
inline constexpr int exitRefused = 1;
inline constexpr int exitUsage = 2;

/// The text --help prints.
extern const char* const scheduleToolHelp;

/// Reads the arguments after the program name. False on a usage error, with its message
/// (without the program's name) in `error`: ParseScheduleArguments({"--amount", "5,000"})
/// gives `--amount: "5,000" is not a number`.
bool ParseScheduleArguments(std::span<const char* const> arguments, ScheduleRequest& request,
                            std::string& error);

/// Whether the whole text is a number: a sign, digits with at most one decimal point, an
/// optional exponent; nothing before or after. IsWholeNumber("1.5e2") == true,
/// IsWholeNumber("5,000") == false.
bool IsWholeNumber(const std::string& text);

/// Computes what the request asks for, without writing anything: `output` gets the bytes of
/// the schedule, `messages` what goes to standard error (the summary, or why the loan is
/// refused, each line prefixed with the program's name where it is an error). Returns
/// exitWritten or exitRefused. An empty date is today's, in the local time zone.
int ProduceSchedule(const ScheduleRequest& request, std::string& output, std::string& messages);

/// The whole program: parses, produces and writes, and returns the exit code.
int RunScheduleTool(int argc, const char* const* argv);

}  // namespace quentara
