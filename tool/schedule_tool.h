#pragma once
// quentara-schedule: a loan's schedule from the command line, as the report text, CSV or
// JSON, exact to the cent by default or, with --calculator, with the figures the Quentara
// window writes to Loan.txt. The command line is read strictly (a number only when the whole
// argument is one); each loan then goes through the same path as any other request: read
// and checked, then its rows gathered into one buffer, which is written in one go.
// Standard C++ only.

#include <span>
#include <string>

#include "tool/schedule_exports.h"
#include "tool/schedule_request.h"

namespace quentara {

/// The text --help prints.
extern const char* const scheduleToolHelp;

/// Reads the arguments after the program name. False on a usage error, with its message
/// (without the program's name) in `error`: ParseScheduleArguments({"--amount", "5,000"})
/// gives `--amount: "5,000" is not a number`. The values themselves are judged later, when
/// the loan is read from the request.
bool ParseScheduleArguments(std::span<const char* const> arguments, ScheduleRequest& request,
                            std::string& error);

/// Whether the whole text is a number: a sign, digits with at most one decimal point, an
/// optional exponent; nothing before or after. IsWholeNumber("1.5e2") == true,
/// IsWholeNumber("5,000") == false.
bool IsWholeNumber(const std::string& text);

/// Computes what the request asks for, without writing anything: `output` gets the bytes of
/// the schedule, `messages` what goes to standard error (the summary and warnings, or why
/// the loan is not scheduled, each line of the program's own prefixed with its name).
/// Returns exitWritten, exitRefused or exitUsage (a value that is not allowed); `output` is
/// left empty unless the schedule was written. An empty date is today's, in the local time
/// zone.
int ProduceSchedule(const ScheduleRequest& request, std::string& output, std::string& messages);

/// One loan with the calculator's figures: `output` gets its schedule in the request's
/// format and `summary` what it comes to, or the problem says why the calculator does not
/// schedule it (then `output` is untouched). `date` is the first due date as mm/dd/yyyy.
/// Calls from several threads take turns (CalculatorTurn).
ScheduleProblem ProduceCalculatorSchedule(const ScheduleRequest& request, const std::string& date,
                                          std::string& output, ScheduleSummary& summary);

/// The whole program: parses, produces and writes, and returns the exit code.
int RunScheduleTool(int argc, const char* const* argv);

}  // namespace quentara
