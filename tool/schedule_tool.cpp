// quentara-schedule's work: reads the command line, computes the schedule in exact cents or
// through the calculator's engine and writes it, or says why it cannot.

#include "tool/schedule_tool.h"

#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string_view>
#include <thread>

#include "calc/due_dates.h"
#include "calc/message_texts.h"
#include "calc/schedule_arithmetic.h"
#include "calc/schedule_report.h"
#include "dates/calendar.h"
#include "dates/dates.h"
#include "files/output_file.h"
#include "text/number_format.h"
#include "text/text_area.h"
#include "tool/exact_schedule.h"
#include "tool/schedule_batch.h"
#include "tool/schedule_exports.h"

namespace quentara {

const char* const scheduleToolHelp =
    "Usage: quentara-schedule --amount AMOUNT --rate PERCENT\n"
    "                         (--years YEARS | --months N) [OPTION]...\n"
    "  or:  quentara-schedule --batch FILE [--format csv|json] [--summary]\n"
    "                         [--calculator] [--jobs N] [-o FILE]\n"
    "Write the amortization schedule of an annuity loan, exact to the cent, in the\n"
    "layout of the report the Quentara calculator writes to Loan.txt, or as CSV or\n"
    "JSON; or the schedules of many loans from a CSV file.\n"
    "\n"
    "  --amount AMOUNT      the loan amount in whole cents (5000 or 5000.00),\n"
    "                       0.01 to 10000000000000.00\n"
    "  --rate PERCENT       the yearly rate in percent as typed (6.375 is 6.375 %),\n"
    "                       0 to 1000, at most 15 decimals\n"
    "  --years YEARS        the length in years: years x 12 to the nearest month,\n"
    "                       a half to the even month (2.5 is 30 months)\n"
    "  --months N           the length in months instead; 1 to 1200 months\n"
    "  --date MM/DD/YYYY    the due date of the first payment (default: today)\n"
    "  --payment PAYMENT    pay this every month instead of the computed payment\n"
    "  --extra MM/DD/YYYY=AMOUNT\n"
    "                       also pay AMOUNT off the principal with the payment due\n"
    "                       on that date, a due date of the loan; may be repeated\n"
    "  --calculator         the figures the Quentara window writes: its single\n"
    "                       precision, limits and messages (no --months, --extra)\n"
    "  --format FORMAT      text (the default), csv or json\n"
    "  --encoding ENCODING  windows-1252 (the default) or utf-8: how the text\n"
    "                       report writes the line under its headings\n"
    "  -o, --output FILE    write to FILE instead of standard output (- is\n"
    "                       standard output); FILE is replaced only once the\n"
    "                       schedule is complete\n"
    "  --summary            also print the payment, the number of payments, the\n"
    "                       totals and the last payment to standard error; with\n"
    "                       --batch, write one such row a loan instead of its rows\n"
    "  --batch FILE         schedule each loan of the CSV file FILE (- is standard\n"
    "                       input); see Many loans below\n"
    "  --jobs N             schedule a batch on N threads (default: one a core);\n"
    "                       the output is the same for every N\n"
    "  -h, --help           print this help and exit\n"
    "\n"
    "Exact cents: with r = rate / 1200, the payment is A r / (1 - (1 + r)^-n)\n"
    "rounded half up to the cent (A / n at rate 0). Each month's interest is\n"
    "balance x r rounded half up; the principal is the payment less the interest.\n"
    "The last row, row n or the first whose payment reaches balance + interest,\n"
    "pays balance + interest, so the loan ends at exactly 0.00. An extra goes all\n"
    "to the principal (cut to what is owed) and the payment stays, so the loan ends\n"
    "earlier. Due dates keep the first one's day, cut to the month's length. A\n"
    "figure too wide for its column of the text report fills it with '#'.\n"
    "\n"
    "Numbers are plain: digits with an optional sign, decimal point and exponent,\n"
    "no thousands separators. Each option's value may also follow an equals sign\n"
    "(--amount=5000).\n"
    "\n"
    "Many loans: the file has a header row naming its columns, in any order:\n"
    "amount, rate, years or months (one of the two on each line), and optionally\n"
    "date, payment and id. Each further line is a loan (RFC 4180 quoting, LF or\n"
    "CR LF); an empty date is today, an empty payment the computed one. The output\n"
    "is one CSV table whose first column is the id (the default), or with --format\n"
    "json one JSON object a line, in the file's order. A loan's id is its id field,\n"
    "else its number in the file (1 for the first line after the header). A bad\n"
    "line is told on standard error with its line in the file, its id and why; the\n"
    "other loans are written, and -o FILE is replaced once all of them are.\n"
    "\n"
    "Exit status: 0 when the schedule was written, 1 when the loan cannot be\n"
    "scheduled or the output cannot be written (with --batch: a line was refused),\n"
    "2 when the command line or a value on it is wrong, or the batch file cannot be\n"
    "read or its header row is wrong (then nothing is written).\n"
    "\n"
    "Examples:\n"
    "  quentara-schedule --amount 5000 --rate 4 --years 1 --date 01/31/2004\n"
    "  quentara-schedule --amount 250000 --rate 6.5 --years 30 --format csv -o loan.csv\n"
    "  quentara-schedule --amount 250000 --rate 6.5 --months 360 --date 02/01/2027 \\\n"
    "      --extra 02/01/2030=10000 --summary\n"
    "  quentara-schedule --amount 5000 --rate 4 --years 1 --calculator\n"
    "  quentara-schedule --batch loans.csv --summary -o summary.csv\n";

namespace {

enum class Option {
  Amount,
  Rate,
  Years,
  Months,
  Date,
  Payment,
  Extra,
  Calculator,
  Format,
  Encoding,
  Output,
  Summary,
  Batch,
  Jobs,
};

struct OptionName {
  const char* name;
  Option option;
};

// More threads than this would only wait for one another.
constexpr int maxJobs = 1024;

constexpr OptionName optionNames[] = {
    {"--amount", Option::Amount},   {"--rate", Option::Rate},
    {"--years", Option::Years},     {"--months", Option::Months},
    {"--date", Option::Date},       {"--payment", Option::Payment},
    {"--extra", Option::Extra},     {"--calculator", Option::Calculator},
    {"--format", Option::Format},   {"--encoding", Option::Encoding},
    {"-o", Option::Output},         {"--output", Option::Output},
    {"--summary", Option::Summary}, {"--batch", Option::Batch},
    {"--jobs", Option::Jobs},
};

// Options that take no value.
bool IsSwitch(Option option) {
  return option == Option::Summary || option == Option::Calculator;
}

// Why the calculator would not schedule from this first date (of the shape mm/dd/yyyy), in
// its own words, or nullptr; `dueDate` gets the date as the calculator takes it. The tool
// takes only real calendar dates: a month or day of 0 and a 30th of February, which the
// calculator steps to real dates, are refused as well.
const char* FirstDateProblem(DueDateState& dueDates, const std::string& date, Text& dueDate) {
  DateOutcome outcome = TakeFirstDueDate(dueDates, date.c_str(), dueDate);
  if (outcome.IsClear()) outcome = CheckFirstDueDate(dueDates, dueDate.View());
  if (outcome.message != nullptr) return outcome.message;
  if (outcome.fatal) return dateNotValidMessage;
  const int month = (date[0] - '0') * 10 + (date[1] - '0');
  const int day = (date[3] - '0') * 10 + (date[4] - '0');
  const int year = std::atoi(date.substr(6).c_str());
  return IsCalendarDate(year, month, day) ? nullptr : dateNotValidMessage;
}

// What a due date's step said, in the calculator's words; nullptr when it said nothing.
const char* DateMessage(const DateOutcome& outcome) {
  if (outcome.message != nullptr) return outcome.message;
  return outcome.fatal ? dateNotValidMessage : nullptr;
}

// Today's date, as the calculator's form presets it.
std::string TodaysDate() {
  const std::unique_lock turn = CalculatorTurn();
  char* text = FormatDateMask("%mm/%dd/%yyyy", CurrentDate());
  std::string date = text;
  SetTextAreaEnd(text);
  return date;
}

// FormatFixed(value, 2) as a string; the temporary area is left as it was.
std::string Figure(float value) {
  char* text = FormatFixed(value, 2);
  std::string figure = text;
  SetTextAreaEnd(text);
  return figure;
}

std::string Money(loan::Cents cents) {
  char text[loan::maxCentsText];
  return std::string(text, loan::FormatCents(cents, text));
}

// The difference of two figures as printed, so that the savings add up to the cent with
// what the summary shows.
std::string FigureDifference(const std::string& from, const std::string& take) {
  double a = 0, b = 0;
  std::from_chars(from.data(), from.data() + from.size(), a);
  std::from_chars(take.data(), take.data() + take.size(), b);
  char text[512];  // a double has at most 309 integer digits
  std::to_chars_result written =
      std::to_chars(text, text + sizeof text, a - b, std::chars_format::fixed, 2);
  return std::string(text, written.ptr);
}

// Hands every row on, noting whether all of its figures are finite numbers.
class FiniteRows final : public ScheduleSink {
 public:
  explicit FiniteRows(ScheduleSink& next) : next_(next) {}
  void BeginYear(std::int32_t yearNumber) override { next_.BeginYear(yearNumber); }
  void AddRow(const RowRecord& record, const ScheduleState& state) override {
    for (float figure : {state.balance, state.payment, state.interest, state.principal,
                         state.totalPaid, state.totalInterest, state.totalPrincipal}) {
      if (!std::isfinite(figure)) allFinite = false;
    }
    lastDueDate = record.dueDate.View();
    next_.AddRow(record, state);
  }
  bool allFinite = true;
  std::string lastDueDate;

 private:
  ScheduleSink& next_;
};

// A schedule run only for what it comes to.
class NoRows final : public ScheduleSink {
 public:
  void BeginYear(std::int32_t) override {}
  void AddRow(const RowRecord&, const ScheduleState&) override {}
};

int Refuse(std::string& messages, const std::string& why, int exitCode = exitRefused) {
  messages += std::string(programName) + ": " + why + "\n";
  return exitCode;
}

bool SetNumber(const std::string& value, std::string& field, std::string& error) {
  field = value;
  if (IsWholeNumber(value)) return true;
  error = ": " + QuotedInMessage(value) + " is not a number";
  return false;
}

template <class Choice>
struct ChoiceName {
  const char* name;
  Choice choice;
};
constexpr ChoiceName<ExportFormat> formatNames[] = {
    {"text", ExportFormat::Text}, {"csv", ExportFormat::Csv}, {"json", ExportFormat::Json}};
constexpr ChoiceName<TextEncoding> encodingNames[] = {{"windows-1252", TextEncoding::Windows1252},
                                                      {"utf-8", TextEncoding::Utf8}};

// Takes the choice the value names; otherwise the message lists the names there are.
template <class Choice, std::size_t count>
bool SetChoice(const std::string& value, const ChoiceName<Choice> (&names)[count], Choice& field,
               std::string& error) {
  std::string known;
  for (const ChoiceName<Choice>& entry : names) {
    if (value == entry.name) {
      field = entry.choice;
      return true;
    }
    if (!known.empty()) known += ", ";
    known += entry.name;
  }
  error = ": " + QuotedInMessage(value) + " is not one of " + known;
  return false;
}

// Applies one option's value; false with the message's tail in `error`.
bool Apply(Option option, const std::string& value, ScheduleRequest& request, std::string& error) {
  switch (option) {
    case Option::Amount:
      return SetNumber(value, request.amount, error);
    case Option::Rate:
      return SetNumber(value, request.rate, error);
    case Option::Years:
      return SetNumber(value, request.years.emplace(), error);
    case Option::Months:
      return SetNumber(value, request.months.emplace(), error);
    case Option::Payment:
      return SetNumber(value, request.payment.emplace(), error);
    case Option::Extra:
      // Its date and amount are judged with the loan, which knows its due dates.
      request.extras.push_back(value);
      return true;
    case Option::Date:
      request.date = value;
      if (IsDateShape(value)) return true;
      error = ": " + QuotedInMessage(value) + " is not a date as mm/dd/yyyy";
      return false;
    case Option::Format:
      return SetChoice(value, formatNames, request.format, error);
    case Option::Encoding:
      return SetChoice(value, encodingNames, request.encoding, error);
    case Option::Output:
      request.output = value;
      if (!value.empty()) return true;
      error = ": the file name is empty";
      return false;
    case Option::Calculator:
      request.arithmetic = Arithmetic::Calculator;
      return true;
    case Option::Summary:
      request.summary = true;
      return true;
    case Option::Batch:
      request.batch = value;
      if (!value.empty()) return true;
      error = ": the file name is empty";
      return false;
    case Option::Jobs: {
      const std::from_chars_result read =
          std::from_chars(value.data(), value.data() + value.size(), request.jobs);
      if (read.ec == std::errc() && read.ptr == value.data() + value.size() && request.jobs >= 1 &&
          request.jobs <= maxJobs && value.front() != '+') {
        return true;
      }
      error = ": " + QuotedInMessage(value) + " is not a number of threads from 1 to " +
              std::to_string(maxJobs);
      return false;
    }
  }
  return false;
}

// The first name of an option, for messages.
const char* NameOf(Option option) {
  for (const OptionName& entry : optionNames) {
    if (entry.option == option) return entry.name;
  }
  return "";
}

// The options a batch takes from its file instead of the command line.
constexpr Option loanOptions[] = {Option::Amount, Option::Rate,    Option::Years, Option::Months,
                                  Option::Date,   Option::Payment, Option::Extra};

// What is wrong with the command line of a batch; empty when nothing is. A batch is written
// as CSV unless --format says otherwise.
std::string BatchProblem(const std::set<Option>& seen, ScheduleRequest& request) {
  for (const Option option : loanOptions) {
    if (seen.contains(option)) {
      return std::string(NameOf(option)) +
             " cannot be used with --batch: each line of the file gives its loan";
    }
  }
  if (!seen.contains(Option::Format)) request.format = ExportFormat::Csv;
  if (request.format == ExportFormat::Text) {
    return "--format text cannot be used with --batch: give csv or json";
  }
  return {};
}

// The number of cores this process may run on.
int CoreCount() {
  cpu_set_t cores;
  if (sched_getaffinity(0, sizeof cores, &cores) == 0) return std::max(1, CPU_COUNT(&cores));
  return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

// The calculator holds every figure in single precision: beyond about 3.4e38 a figure is
// infinite, and the report would show "inf" or "nan".
constexpr const char* beyondSinglePrecision =
    "beyond the largest number the calculator's single precision holds (about 3.4e38)";

// A loan the calculator refuses, with its reason.
ScheduleProblem Refused(std::string why) {
  return {exitRefused, std::move(why)};
}

}  // namespace

ScheduleProblem ProduceCalculatorSchedule(const ScheduleRequest& request, const std::string& date,
                                          std::string& output, ScheduleSummary& summary) {
  // Held until every text of the calculator's below is gone.
  const std::unique_lock turn = CalculatorTurn();
  // Each run is a fresh start of the calculator: its first date is checked once more.
  DueDateState dueDates;
  Text dueDate;
  if (const char* problem = FirstDateProblem(dueDates, date, dueDate)) return Refused(problem);
  const std::string years = request.years.value_or("");
  const ScheduleState loan =
      LoanFromFieldTexts(request.amount.c_str(), request.rate.c_str(), years.c_str());
  if (const char* refusal = LoanRefusalMessage(loan)) return Refused(refusal);
  if (!std::isfinite(loan.loanAmount)) {
    return Refused("--amount: " + request.amount + " is " + beyondSinglePrecision);
  }
  if (!std::isfinite(loan.annualRate)) {
    return Refused("--rate: " + request.rate + " is " + beyondSinglePrecision);
  }
  if (!std::isfinite(loan.growthFactor)) {
    return Refused("the loan's growth over its months, (1 + rate / 1200) ^ months, goes " +
                   std::string(beyondSinglePrecision));
  }
  if (!std::isfinite(loan.monthlyPayment)) {
    return Refused("the monthly payment comes to " + Figure(loan.monthlyPayment) + ", " +
                   beyondSinglePrecision);
  }

  ScheduleState state = loan;
  std::optional<float> given;
  if (request.payment) {
    given = ParseFloat(request.payment->c_str());
    if (!std::isfinite(*given)) {
      return Refused("--payment: " + *request.payment + " is " + beyondSinglePrecision);
    }
    ScheduleState firstRow = loan;
    firstRow.payment = *given;
    if (ScheduleRowBegins(firstRow)) {
      ComputeScheduleRow(firstRow);
      if (!(*given > firstRow.interest)) {
        return Refused("--payment: " + *request.payment +
                       " does not pay more than the first month's interest of " +
                       Figure(firstRow.interest) + ", so the loan would never shrink");
      }
    }
    state.payment = *given;
  }

  std::string body;
  body.reserve(80000);
  TextExport text(body, request.encoding == TextEncoding::Utf8);
  std::optional<CsvExport> csvExport;
  std::optional<JsonExport> jsonExport;
  ScheduleSink* sink = &text;
  switch (request.format) {
    case ExportFormat::Text:
      break;
    case ExportFormat::Csv:
      sink = &csvExport.emplace(body);
      break;
    case ExportFormat::Json:
      sink = &jsonExport.emplace(body);
      break;
  }
  FiniteRows checked(*sink);
  // The first date was judged above, so no step of a due date has anything to say.
  ScheduleRows rows(state, dueDates, dueDate.View());
  if (const char* said = DateMessage(rows.Run(checked))) return Refused(said);
  if (!checked.allFinite) {
    return Refused("the figures of this schedule go " + std::string(beyondSinglePrecision));
  }

  summary = {};
  summary.monthlyPayment = Figure(given.value_or(loan.monthlyPayment));
  summary.payments = state.rowIndex;
  summary.totalPaid = Figure(state.totalPaid);
  summary.totalInterest = Figure(state.totalInterest);
  summary.totalPrincipal = Figure(state.totalPrincipal);
  // The payment of the last row, final or not; none when there was no row.
  if (state.rowIndex > 0) {
    summary.lastPayment = Figure(state.payment);
    summary.payoffDate = checked.lastDueDate;
  }
  if (state.balance > endOfLoanThreshold) summary.balanceLeft = Figure(state.balance);
  if (given) {
    ScheduleState computed = loan;
    NoRows none;
    ScheduleRows computedRows(computed, dueDates, dueDate.View());
    if (const char* said = DateMessage(computedRows.Run(none))) return Refused(said);
    ScheduleSavings& saved = summary.saved.emplace();
    saved.computedPayment = Figure(loan.monthlyPayment);
    saved.payments = computed.rowIndex - state.rowIndex;
    saved.interest = FigureDifference(Figure(computed.totalInterest), summary.totalInterest);
  }
  if (jsonExport) {
    ScheduleInputs inputs{date, loan.loanAmount, loan.annualRate, loan.loanYears, given};
    jsonExport->Finish(inputs, summary);
  }
  output = std::move(body);
  return {};
}

namespace {

// The schedule in exact cents.
int ProduceExactSchedule(const ScheduleRequest& request, const std::string& date,
                         std::string& output, std::string& messages) {
  ExactLoan loan;
  if (const ScheduleProblem problem = ReadExactLoan(request, date, loan)) {
    return Refuse(messages, problem.message, problem.exitCode);
  }
  std::string body;
  const loan::LoanSummary figures =
      AppendExactSchedule(loan, {request.format, request.encoding, JsonLayout::Indented, {}}, body);

  const std::string warning = std::string(programName) + ": warning: ";
  if (figures.payment == 0) {
    messages += warning + "the monthly payment rounds to 0.00, so the last payment pays the " +
                "whole amount\n";
  }
  if (figures.unusedExtras > 0) {
    char payoff[loan::maxDateText];
    const bool one = figures.unusedExtras == 1;
    messages += warning + std::to_string(figures.unusedExtras) +
                (one ? " extra payment falls" : " extra payments fall") +
                " after the loan is paid off on " +
                std::string(payoff, loan::FormatDate(figures.payoffDate, payoff)) +
                (one ? " and is not applied\n" : " and are not applied\n");
  }
  if (request.summary) {
    ScheduleSummary summary;
    summary.monthlyPayment = Money(figures.payment);
    summary.payments = figures.payments;
    summary.totalPaid = Money(figures.totalPaid);
    summary.totalInterest = Money(figures.totalInterest);
    summary.totalPrincipal = Money(figures.totalPrincipal);
    summary.lastPayment = Money(figures.lastPayment);
    if (request.payment || !loan.extras.empty()) {
      ScheduleSavings& saved = summary.saved.emplace();
      if (request.payment) saved.computedPayment = Money(figures.computedPayment);
      saved.payments = figures.computedPayments - figures.payments;
      saved.interest = Money(figures.computedInterest - figures.totalInterest);
    }
    messages += SummaryText(summary);
  }
  output = std::move(body);
  return exitWritten;
}

}  // namespace

bool IsWholeNumber(const std::string& text) {
  const std::size_t length = NumberLength(text);
  return length != 0 && length == text.size();
}

bool ParseScheduleArguments(std::span<const char* const> arguments, ScheduleRequest& request,
                            std::string& error) {
  std::set<Option> seen;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string argument = arguments[i] != nullptr ? arguments[i] : "";
    if (argument == "-h" || argument == "--help") {
      request.help = true;
      continue;
    }
    std::string name = argument;
    std::optional<std::string> value;
    if (const std::size_t equals = argument.find('=');
        argument.starts_with("--") && equals != std::string::npos) {
      name = argument.substr(0, equals);
      value = argument.substr(equals + 1);
    }
    const OptionName* known = nullptr;
    for (const OptionName& option : optionNames) {
      if (name == option.name) known = &option;
    }
    if (known == nullptr) {
      error = argument.starts_with("-") && argument != "-"
                  ? "unknown option " + QuotedInMessage(name)
                  : "unexpected argument " + QuotedInMessage(argument);
      return false;
    }
    if (IsSwitch(known->option)) {
      if (value) {
        error = name + " takes no value";
        return false;
      }
    } else if (!value) {
      if (i + 1 == arguments.size()) {
        error = name + " needs a value";
        return false;
      }
      value = arguments[++i] != nullptr ? arguments[i] : "";
    }
    // Extra payments are one option each.
    if (!seen.insert(known->option).second && known->option != Option::Extra) {
      error = name + " is given more than once";
      return false;
    }
    if (!Apply(known->option, value.value_or(""), request, error)) {
      error = name + error;
      return false;
    }
  }
  if (request.help) return true;
  if (request.batch) {
    error = BatchProblem(seen, request);
    return error.empty();
  }
  if (seen.contains(Option::Jobs)) {
    error = "--jobs works only with --batch";
    return false;
  }
  for (const auto& [option, name] :
       {std::pair{Option::Amount, "--amount"}, std::pair{Option::Rate, "--rate"}}) {
    if (!seen.contains(option)) {
      error = std::string(name) + " is missing";
      return false;
    }
  }
  if (const ScheduleProblem problem = RequestShapeProblem(request)) {
    error = problem.message;
    return false;
  }
  return true;
}

int ProduceSchedule(const ScheduleRequest& request, std::string& output, std::string& messages) {
  const std::string date = request.date.empty() ? TodaysDate() : request.date;
  if (!IsDateShape(date)) {
    return Refuse(messages, "--date: " + QuotedInMessage(date) + " is not a date as mm/dd/yyyy",
                  exitUsage);
  }
  if (const ScheduleProblem problem = RequestShapeProblem(request)) {
    return Refuse(messages, problem.message, problem.exitCode);
  }
  switch (request.arithmetic) {
    case Arithmetic::Exact:
      return ProduceExactSchedule(request, date, output, messages);
    case Arithmetic::Calculator: {
      ScheduleSummary summary;
      if (const ScheduleProblem problem =
              ProduceCalculatorSchedule(request, date, output, summary)) {
        return Refuse(messages, problem.message, problem.exitCode);
      }
      if (request.summary) messages += SummaryText(summary);
      return exitWritten;
    }
  }
  return exitUsage;
}

namespace {

// quentara-schedule --batch: the header is read before the output is touched, so a wrong
// file leaves it as it was; the output is put in place once every loan has been written,
// also when some lines were refused (the exit status says so).
int RunBatch(const ScheduleRequest& request) {
  const std::string& path = *request.batch;
  const bool fromStandardInput = path == "-";
  const int input = fromStandardInput ? STDIN_FILENO : open(path.c_str(), O_RDONLY | O_CLOEXEC);
  const std::string reason = std::strerror(errno);
  const std::string name = fromStandardInput ? "standard input" : QuotedInMessage(path);
  std::string messages;
  if (input < 0) {
    const int code = Refuse(messages, "cannot read " + name + ": " + reason, exitUsage);
    std::fputs(messages.c_str(), stderr);
    return code;
  }
  BatchOptions options;
  options.arithmetic = request.arithmetic;
  options.format = request.format;
  options.summary = request.summary;
  options.jobs = request.jobs > 0 ? request.jobs : CoreCount();
  options.today = TodaysDate();
  options.name = name;
  ScheduleBatch batch(input, std::move(options));
  int code = exitWritten;
  if (const ScheduleProblem problem = batch.ReadHeader()) {
    code = Refuse(messages, problem.message, problem.exitCode);
  } else {
    const bool toStandardOutput = request.output == "-";
    const std::string where =
        toStandardOutput ? "standard output" : QuotedInMessage(request.output);
    OutputFile out;
    std::string error;
    if (toStandardOutput) {
      out.OpenStandardOutput();
    } else if (!out.Open(request.output, error)) {
      code = Refuse(messages, "cannot write to " + where + ": " + error);
    }
    if (code == exitWritten) {
      code = batch.Run(
          [&](std::string_view bytes) { return out.Write(bytes, error); },
          [](std::string_view lines) { std::fwrite(lines.data(), 1, lines.size(), stderr); });
      // The output is put in place unless its file was not read to the end or a write failed.
      if (!error.empty() || code == exitUsage) {
        out.Abandon();
      } else if (!out.Commit(error)) {
        code = exitRefused;
      }
      if (!error.empty()) code = Refuse(messages, "cannot write to " + where + ": " + error);
    }
  }
  if (!fromStandardInput) close(input);
  std::fputs(messages.c_str(), stderr);
  return code;
}

}  // namespace

int RunScheduleTool(int argc, const char* const* argv) {
  ScheduleRequest request;
  std::string error;
  std::span<const char* const> arguments(argv + 1, argc > 1 ? argc - 1 : 0);
  if (!ParseScheduleArguments(arguments, request, error)) {
    std::fprintf(stderr, "%s: %s\nTry '%s --help' for more information.\n", programName,
                 error.c_str(), programName);
    return exitUsage;
  }
  if (request.batch && !request.help) return RunBatch(request);
  std::string output, messages;
  int code = exitWritten;
  if (request.help) {
    output = scheduleToolHelp;
  } else {
    code = ProduceSchedule(request, output, messages);
  }
  if (code == exitWritten) {
    // Help always goes to standard output.
    const bool toStandardOutput = request.help || request.output == "-";
    const bool written = toStandardOutput ? WriteStandardOutput(output, error)
                                          : WriteWholeFile(request.output, output, error);
    if (!written) {
      const std::string where =
          toStandardOutput ? "standard output" : QuotedInMessage(request.output);
      messages = std::string(programName) + ": cannot write to " + where + ": " + error + "\n";
      code = exitRefused;
    }
  }
  std::fputs(messages.c_str(), stderr);
  return code;
}

}  // namespace quentara
