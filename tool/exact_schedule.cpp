// The exact-cents schedule of one loan: its request read and checked, then its rows written
// as report text, CSV or JSON into the caller's buffer.

#include "tool/exact_schedule.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>

#include "calc/message_texts.h"
#include "calc/schedule_report.h"
#include "tool/schedule_exports.h"

namespace quentara {

namespace {

using loan::Cents;
using loan::LoanError;
using loan::LoanField;
using loan::LoanProblem;

// The option that gives a value; empty for the first due date, whose problems are told in
// the calculator's own words.
const char* OptionOf(LoanField field) {
  switch (field) {
    case LoanField::Amount:
      return "--amount";
    case LoanField::Rate:
      return "--rate";
    case LoanField::Years:
      return "--years";
    case LoanField::Months:
      return "--months";
    case LoanField::Payment:
      return "--payment";
    case LoanField::Extra:
      return "--extra";
    case LoanField::FirstDueDate:
    case LoanField::None:
      break;
  }
  return "";
}

ScheduleProblem ProblemOf(const LoanProblem& problem) {
  int exitCode = exitUsage;
  switch (problem.error) {
    case LoanError::None:
      return {};
    case LoanError::ThirtyDayMonth:
    case LoanError::InvalidDate:
    case LoanError::PaymentTooSmall:
      // A first due date or payment that the loan cannot have; an extra's date that is no
      // day of the calendar is a wrong value like any other.
      if (problem.field != LoanField::Extra) exitCode = exitRefused;
      break;
    case LoanError::NotANumber:
    case LoanError::Negative:
    case LoanError::FractionOfCent:
    case LoanError::TooManyDecimals:
    case LoanError::NotWhole:
    case LoanError::OutOfRange:
    case LoanError::NotADueDate:
    case LoanError::ExtrasOutOfOrder:
      break;
  }
  // A first due date the loan cannot have is told in the window program's own words.
  if (problem.field == LoanField::FirstDueDate &&
      (problem.error == LoanError::ThirtyDayMonth || problem.error == LoanError::InvalidDate)) {
    const char* words = problem.error == LoanError::ThirtyDayMonth
                            ? ThirtyDayMessage(problem.date.month, 31)
                            : dateNotValidMessage;
    return {exitCode, words};
  }
  std::string message = OptionOf(problem.field);
  if (!message.empty()) message += ": ";
  return {exitCode, message + loan::DescribeLoanProblem(problem)};
}

template <class Value, class Field>
LoanProblem Take(const loan::Result<Value>& result, Field& field) {
  field = result.value;
  return result.problem;
}

// mm/dd/yyyy, already of that shape.
loan::Date DateOf(std::string_view text) {
  const auto number = [&](std::size_t at, std::size_t length) {
    std::int32_t value = 0;
    for (std::size_t i = at; i < at + length; ++i) value = value * 10 + (text[i] - '0');
    return value;
  };
  return {number(6, 4), number(0, 2), number(3, 2)};
}

// The decimal a number text stands for, written plainly with at least `decimals` decimals:
// PlainDecimal("1.5e2", 0) == "150", PlainDecimal(".5", 2) == "0.50",
// PlainDecimal("6.3750", 2) == "6.375". Only for texts the loan's parsing accepted: their
// value is 0 or lies between 10^-15 and 10^4, so the text written is at most a few
// characters longer than the one read.
std::string PlainDecimal(std::string_view text, int decimals) {
  std::size_t at = !text.empty() && (text[0] == '+' || text[0] == '-') ? 1 : 0;
  std::string digits;
  std::int64_t wholeDigits = 0;
  bool point = false;
  for (; at < text.size() && text[at] != 'e' && text[at] != 'E'; ++at) {
    if (text[at] == '.') {
      point = true;
    } else {
      digits += text[at];
      if (!point) ++wholeDigits;
    }
  }
  std::int64_t exponent = 0;
  bool negativeExponent = false;
  for (++at; at < text.size(); ++at) {
    if (text[at] == '-') negativeExponent = true;
    if (text[at] >= '0' && text[at] <= '9') {
      exponent = std::min<std::int64_t>(exponent * 10 + (text[at] - '0'), 1'000'000'000'000'000);
    }
  }
  if (negativeExponent) exponent = -exponent;
  // The power of ten of the first digit, then of the first and last digit that is not 0.
  const std::int64_t firstPower = wholeDigits - 1 + exponent;
  const std::size_t top = digits.find_first_not_of('0');
  const std::size_t low = digits.find_last_not_of('0');
  const auto digitAt = [&](std::int64_t power) {
    const std::int64_t index = firstPower - power;
    if (top == std::string::npos || index < static_cast<std::int64_t>(top) ||
        index > static_cast<std::int64_t>(low)) {
      return '0';
    }
    return digits[static_cast<std::size_t>(index)];
  };
  std::int64_t highest = 0, lowest = -decimals;
  if (top != std::string::npos) {
    highest = std::max<std::int64_t>(firstPower - static_cast<std::int64_t>(top), 0);
    lowest = std::min<std::int64_t>(firstPower - static_cast<std::int64_t>(low), lowest);
  }
  std::string plain;
  for (std::int64_t power = highest; power >= lowest; --power) {
    if (power == -1) plain += '.';
    plain += digitAt(power);
  }
  return plain;
}

// A line is put together here before it is appended: the longest is a JSON row of ten
// figures of at most 21 characters, a rate of at most 20 and the keys, some 330 characters.
constexpr std::size_t lineCapacity = 512;

// Where a column stands in the report's row line.
enum class ColumnPlace { First, Later };

class Line {
 public:
  void Add(std::string_view text) {
    std::memcpy(end_, text.data(), text.size());
    end_ += text.size();
  }
  void Add(char c) { *end_++ = c; }
  void Add(Cents cents) { end_ = loan::FormatCents(cents, end_); }
  void Add(loan::Date date) { end_ = loan::FormatDate(date, end_); }
  void Add(std::int32_t number) { end_ = std::to_chars(end_, text_ + lineCapacity, number).ptr; }
  // The text right-aligned in a column of `width`. It keeps at least one space before it,
  // except in the line's first column, so that no figure runs into the one before; a text
  // that does not fit fills the column with '#', so that no figure is ever shown cut.
  void Column(std::string_view text, std::int32_t width, ColumnPlace place) {
    const auto size = static_cast<std::size_t>(width);
    if (text.size() > (place == ColumnPlace::First ? size : size - 1)) {
      std::memset(end_, '#', size);
    } else {
      std::memset(end_, ' ', size - text.size());
      std::memcpy(end_ + size - text.size(), text.data(), text.size());
    }
    end_ += size;
  }
  void Column(Cents cents, std::int32_t width) {
    char figure[loan::maxCentsText];
    Column(std::string_view(figure,
                            static_cast<std::size_t>(loan::FormatCents(cents, figure) - figure)),
           width, ColumnPlace::Later);
  }
  void AppendTo(std::string& out) {
    out.append(text_, static_cast<std::size_t>(end_ - text_));
    end_ = text_;
  }

 private:
  char text_[lineCapacity];
  char* end_ = text_;
};

// The year block's lines up to "Year:", as the report writes them: taken once from the
// report's own lines, so that both arithmetics head their years alike.
std::string YearBlockStart(TextEncoding encoding) {
  const std::unique_lock turn = CalculatorTurn();
  std::string block;
  TextExport lines(block, encoding == TextEncoding::Utf8);
  lines.BeginYear(1);
  return block.substr(0, block.size() - 3);  // without "1\r\n"
}

const std::string& YearBlock(TextEncoding encoding) {
  static const std::array<std::string, 2> blocks = {YearBlockStart(TextEncoding::Windows1252),
                                                    YearBlockStart(TextEncoding::Utf8)};
  return blocks[encoding == TextEncoding::Utf8 ? 1 : 0];
}

// The line breaks of a JSON object in each layout.
struct JsonBreaks {
  const char* open;      // after the object's opening brace
  const char* member;    // between two members
  const char* firstRow;  // after the opening bracket of the rows
  const char* row;       // between two rows
  const char* lastRow;   // before the closing bracket of the rows
  const char* close;     // before the object's closing brace
};
constexpr JsonBreaks indented{"\n  ", ",\n  ", "\n    ", ",\n    ", "\n  ", "\n"};
constexpr JsonBreaks oneLine{"", ", ", "", ", ", "", ""};

class RowWriter {
 public:
  RowWriter(const ExactLoan& loan, const ExactOutput& how, std::string& out)
      : loan_(loan),
        how_(how),
        out_(out),
        breaks_(how.json == JsonLayout::OneLine ? oneLine : indented),
        withExtras_(!loan.extras.empty()) {}

  void Begin(Cents payment, Cents computedPayment) {
    // One allocation for the whole schedule: a text row line is 100 bytes, its share of the
    // year blocks some 27; a CSV row about 110, a JSON row about 270.
    const std::size_t perRow =
        (how_.format == ExportFormat::Json ? 300 : 130) + how_.batchId.size();
    out_.reserve(out_.size() + static_cast<std::size_t>(loan_.terms.months) * perRow + 1024);
    switch (how_.format) {
      case ExportFormat::Text:
        break;
      case ExportFormat::Csv:
        if (!how_.batchId.empty()) break;
        out_ += scheduleCsvColumns;
        out_ += withExtras_ ? ",extra\n" : "\n";
        break;
      case ExportFormat::Json:
        JsonHead(payment, computedPayment);
        break;
    }
  }

  void Row(const loan::ScheduleRow& row) {
    switch (how_.format) {
      case ExportFormat::Text:
        TextRow(row);
        break;
      case ExportFormat::Csv:
        CsvRow(row);
        break;
      case ExportFormat::Json:
        JsonRow(row);
        break;
    }
  }

  void End(const loan::LoanSummary& summary) {
    if (how_.format != ExportFormat::Json) return;
    out_ += breaks_.lastRow;
    out_ += ']';
    out_ += breaks_.member;
    out_ += "\"summary\": {\"payments\": ";
    out_ += std::to_string(summary.payments);
    Member("total_paid", summary.totalPaid);
    Member("total_interest", summary.totalInterest);
    Member("total_principal", summary.totalPrincipal);
    Member("last_payment", summary.lastPayment);
    if (loan_.terms.ownPayment != 0 || withExtras_) {
      out_ += ", \"payments_saved\": ";
      out_ += std::to_string(summary.computedPayments - summary.payments);
      Member("interest_saved", summary.computedInterest - summary.totalInterest);
    }
    if (withExtras_) {
      out_ += ", \"unused_extras\": ";
      out_ += std::to_string(summary.unusedExtras);
    }
    out_ += '}';
    out_ += breaks_.close;
    out_ += "}\n";
  }

 private:
  void Member(const char* key, Cents value) {
    line_.Add(", \"");
    line_.Add(key);
    line_.Add("\": ");
    line_.Add(value);
    line_.AppendTo(out_);
  }

  void JsonHead(Cents payment, Cents computedPayment) {
    out_ += '{';
    out_ += breaks_.open;
    if (!how_.batchId.empty()) {
      out_ += "\"id\": ";
      out_ += how_.batchId;
      out_ += breaks_.member;
    }
    out_ += "\"arithmetic\": \"exact\"";
    out_ += breaks_.member;
    out_ += "\"inputs\": {\"date\": \"" + loan_.date + "\"";
    Member("amount", loan_.terms.amount);
    out_ += ", \"rate\": " + loan_.rate;
    if (!loan_.years.empty()) out_ += ", \"years\": " + loan_.years;
    out_ += ", \"months\": " + std::to_string(loan_.terms.months);
    if (loan_.terms.ownPayment != 0) Member("payment", loan_.terms.ownPayment);
    if (withExtras_) {
      out_ += ", \"extras\": [";
      for (const loan::ExtraPayment& extra : loan_.extras) {
        if (&extra != &loan_.extras.front()) out_ += ", ";
        line_.Add("{\"date\": \"");
        line_.Add(extra.date);
        line_.Add("\", \"amount\": ");
        line_.Add(extra.amount);
        line_.Add('}');
        line_.AppendTo(out_);
      }
      out_ += ']';
    }
    out_ += '}';
    out_ += breaks_.member;
    out_ += "\"monthly_payment\": ";
    line_.Add(payment);
    line_.AppendTo(out_);
    if (loan_.terms.ownPayment != 0) {
      out_ += breaks_.member;
      out_ += "\"computed_payment\": ";
      line_.Add(computedPayment);
      line_.AppendTo(out_);
    }
    out_ += breaks_.member;
    out_ += "\"rows\": [";
    out_ += breaks_.firstRow;
  }

  void TextRow(const loan::ScheduleRow& row) {
    if ((row.number - 1) % 12 == 0) {
      out_ += YearBlock(how_.encoding);
      line_.Add((row.number - 1) / 12 + 1);
      line_.Add("\r\n");
      line_.AppendTo(out_);
    }
    char date[loan::maxDateText];
    line_.Column(std::string_view(
                     date, static_cast<std::size_t>(loan::FormatDate(row.dueDate, date) - date)),
                 rowFieldWidths[0], ColumnPlace::First);
    line_.Column(row.balance, rowFieldWidths[1]);
    line_.Column(loan_.rate, rowFieldWidths[2], ColumnPlace::Later);
    line_.Column(row.payment, rowFieldWidths[3]);
    line_.Column(row.interest, rowFieldWidths[4]);
    line_.Column(row.principal, rowFieldWidths[5]);
    line_.Column(row.totalPaid, rowFieldWidths[6]);
    line_.Column(row.totalInterest, rowFieldWidths[7]);
    line_.Column(row.totalPrincipal, rowFieldWidths[8]);
    line_.Add("\r\n");
    line_.AppendTo(out_);
  }

  void CsvRow(const loan::ScheduleRow& row) {
    // An id may be longer than a line holds: it goes straight to the output.
    if (!how_.batchId.empty()) {
      out_ += how_.batchId;
      out_ += ',';
    }
    line_.Add(row.dueDate);
    line_.Add(',');
    line_.Add(row.balance);
    line_.Add(',');
    line_.Add(loan_.rate);
    for (Cents figure : {row.payment, row.interest, row.principal, row.totalPaid, row.totalInterest,
                         row.totalPrincipal}) {
      line_.Add(',');
      line_.Add(figure);
    }
    if (withExtras_) {
      line_.Add(',');
      line_.Add(row.extra);
    }
    line_.Add('\n');
    line_.AppendTo(out_);
  }

  void JsonRow(const loan::ScheduleRow& row) {
    if (row.number > 1) line_.Add(breaks_.row);
    line_.Add("{\"due_date\": \"");
    line_.Add(row.dueDate);
    line_.Add("\", \"balance\": ");
    line_.Add(row.balance);
    line_.Add(", \"rate\": ");
    line_.Add(loan_.rate);
    const std::pair<const char*, Cents> figures[] = {
        {", \"payment\": ", row.payment},
        {", \"interest\": ", row.interest},
        {", \"principal\": ", row.principal},
        {", \"total_paid\": ", row.totalPaid},
        {", \"total_interest\": ", row.totalInterest},
        {", \"total_principal\": ", row.totalPrincipal},
    };
    for (const auto& [key, figure] : figures) {
      line_.Add(key);
      line_.Add(figure);
    }
    if (withExtras_) {
      line_.Add(", \"extra\": ");
      line_.Add(row.extra);
    }
    line_.Add('}');
    line_.AppendTo(out_);
  }

  const ExactLoan& loan_;
  const ExactOutput& how_;
  std::string& out_;
  const JsonBreaks& breaks_;
  const bool withExtras_;
  Line line_;
};

}  // namespace

loan::LoanTerms ExactLoan::Terms() const {
  loan::LoanTerms withExtras = terms;
  withExtras.extras = extras;
  return withExtras;
}

ScheduleProblem ReadExactLoan(const ScheduleRequest& request, std::string_view date,
                              ExactLoan& loan) {
  if (ScheduleProblem shape = RequestShapeProblem(request)) return shape;
  loan.terms = {};
  loan.extras.clear();
  loan.years.clear();
  LoanProblem problem = Take(loan::ParseAmount(request.amount), loan.terms.amount);
  if (problem.error == LoanError::None) {
    problem = Take(loan::ParseRate(request.rate), loan.terms.rate);
  }
  if (problem.error == LoanError::None) {
    problem = request.years
                  ? Take(loan::ParseYears(*request.years), loan.terms.months)
                  : Take(loan::ParseMonths(request.months.value_or("")), loan.terms.months);
  }
  if (problem.error == LoanError::None && request.payment) {
    problem = Take(loan::ParsePayment(*request.payment), loan.terms.ownPayment);
  }
  if (problem.error != LoanError::None) return ProblemOf(problem);
  if (!IsDateShape(date)) {
    return {exitUsage, "--date: " + QuotedInMessage(date) + " is not a date as mm/dd/yyyy"};
  }
  loan.date = date;
  loan.terms.firstDueDate = DateOf(date);
  loan.rate = PlainDecimal(request.rate, 2);
  if (request.years) loan.years = PlainDecimal(*request.years, 0);

  for (const std::string& text : request.extras) {
    const std::string_view extraDate = std::string_view(text).substr(0, 10);
    if (text.size() < 12 || text[10] != '=' || !IsDateShape(extraDate)) {
      return {exitUsage, "--extra: " + QuotedInMessage(text) + " is not a date and an amount as " +
                             "mm/dd/yyyy=amount"};
    }
    loan::ExtraPayment& extra = loan.extras.emplace_back();
    extra.date = DateOf(extraDate);
    problem = Take(loan::ParseExtra(std::string_view(text).substr(11)), extra.amount);
    if (problem.error != LoanError::None) {
      problem.date = extra.date;
      return ProblemOf(problem);
    }
  }
  // The engine takes the extras in date order, one a date.
  std::sort(loan.extras.begin(), loan.extras.end(),
            [](const auto& a, const auto& b) { return a.date < b.date; });
  for (std::size_t i = 1; i < loan.extras.size(); ++i) {
    if (loan.extras[i - 1].date == loan.extras[i].date) {
      char text[loan::maxDateText];
      const std::string day(text, loan::FormatDate(loan.extras[i].date, text));
      return {exitUsage, "--extra: two extra payments on " + day +
                             ": give one extra payment a date (their sum)"};
    }
  }
  return ProblemOf(loan::ScheduleWalker(loan.Terms()).Start());
}

loan::LoanSummary AppendExactSchedule(const ExactLoan& loan, const ExactOutput& how,
                                      std::string& out) {
  const loan::LoanTerms terms = loan.Terms();
  loan::ScheduleWalker walker(terms);
  if (walker.Start().error != LoanError::None) return {};  // ReadExactLoan checked it
  // The JSON names the computed payment before the rows; ComputePayment leaves out the own
  // payment.
  const Cents computedPayment =
      terms.ownPayment != 0 ? loan::ComputePayment(terms).value : walker.RegularPayment();

  RowWriter writer(loan, how, out);
  writer.Begin(walker.RegularPayment(), computedPayment);
  loan::ScheduleRow row;
  while (walker.Next(row)) writer.Row(row);
  const loan::LoanSummary summary = loan::SummarizeWalk(terms, walker, row);
  writer.End(summary);
  return summary;
}

}  // namespace quentara
