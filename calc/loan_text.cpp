// Figures and dates of a loan as text, and the sentences that say why a loan was refused.
// The formatting writes into the caller's buffer, so a report of many rows allocates nothing
// for its figures.

#include <algorithm>
#include <cstdint>
#include <string>

#include "quentara/loan.h"

namespace quentara::loan {

namespace {

// "00" to "99", so that the digits are written two at a time.
constexpr char digitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Writes `value` right-aligned so that it ends just before `end`, with at least `digits`
// digits; returns where it starts.
char* WriteDigitsBackwards(std::uint64_t value, int digits, char* end) {
  char* at = end;
  while (value >= 100) {
    const auto pair = static_cast<std::size_t>(value % 100) * 2;
    value /= 100;
    *--at = digitPairs[pair + 1];
    *--at = digitPairs[pair];
  }
  if (value >= 10) {
    const auto pair = static_cast<std::size_t>(value) * 2;
    *--at = digitPairs[pair + 1];
    *--at = digitPairs[pair];
  } else {
    *--at = static_cast<char>('0' + value);
  }
  while (end - at < digits) *--at = '0';
  return at;
}

// The number of decimal digits of `value`, 1 for 0.
int DigitCount(std::uint64_t value) {
  for (int digits = 1;; digits += 4, value /= 10000) {
    if (value < 10) return digits;
    if (value < 100) return digits + 1;
    if (value < 1000) return digits + 2;
    if (value < 10000) return digits + 3;
  }
}

std::uint64_t Magnitude(std::int64_t value) {
  // Unsigned negation, defined for the most negative value too.
  return value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
}

std::string MoneyText(Cents cents) {
  char text[maxCentsText];
  return std::string(text, FormatCents(cents, text));
}

std::string DateText(Date date) {
  char text[maxDateText];
  return std::string(text, FormatDate(date, text));
}

const char* MonthName(std::int32_t month) {
  constexpr const char* names[] = {"January",   "February", "March",    "April",
                                   "May",       "June",     "July",     "August",
                                   "September", "October",  "November", "December"};
  return month >= 1 && month <= 12 ? names[month - 1] : "that month";
}

// How a sentence names the value in question.
std::string FieldName(const LoanProblem& problem) {
  switch (problem.field) {
    case LoanField::None:
      return "the loan";
    case LoanField::Amount:
      return "the amount";
    case LoanField::Rate:
      return "the rate";
    case LoanField::Years:
      return "the length in years";
    case LoanField::Months:
      return "the number of months";
    case LoanField::FirstDueDate:
      return "the first due date";
    case LoanField::Payment:
      return "the payment";
    case LoanField::Extra:
      return problem.date.year != 0 ? "the extra payment on " + DateText(problem.date)
                                    : std::string("an extra payment");
  }
  return "the loan";
}

// How a sentence names a date in question: the first due date with the date itself.
std::string DateName(const LoanProblem& problem) {
  if (problem.field == LoanField::FirstDueDate) {
    return FieldName(problem) + " " + DateText(problem.date);
  }
  return FieldName(problem);
}

std::string RangeText(const LoanProblem& problem) {
  const std::string name = FieldName(problem);
  switch (problem.field) {
    case LoanField::Amount:
      return name + " must be from 0.01 to " + MoneyText(maxAmount);
    case LoanField::Rate:
      return name + " must be from 0 to " + std::to_string(maxRatePercent) + " percent";
    case LoanField::Years:
      return name + " must come to 1 to " + std::to_string(maxMonths) +
             " months (years x 12, to the nearest month)";
    case LoanField::Months:
      return name + " must be from 1 to " + std::to_string(maxMonths);
    case LoanField::Payment:
    case LoanField::Extra:
      return name + " must be from 0.01 to " + MoneyText(maxPayment);
    case LoanField::None:
    case LoanField::FirstDueDate:
      break;
  }
  return name + " is out of range";
}

}  // namespace

char* FormatCents(Cents cents, char* out) {
  // Written straight into `out`, its length known first: a schedule formats millions of
  // figures, and a copy of each from a scratch buffer cost as much as the digits.
  const std::uint64_t magnitude = Magnitude(cents);
  if (cents < 0) *out++ = '-';
  const std::uint64_t whole = magnitude / 100;
  char* const point = out + DigitCount(whole);
  WriteDigitsBackwards(whole, 1, point);
  *point = '.';
  WriteDigitsBackwards(magnitude % 100, 2, point + 3);
  return point + 3;
}

char* FormatDate(Date date, char* out) {
  // A month or day that no date has is kept to two digits.
  WriteDigitsBackwards(static_cast<std::uint64_t>(std::clamp(date.month, 0, 99)), 2, out + 2);
  out[2] = '/';
  WriteDigitsBackwards(static_cast<std::uint64_t>(std::clamp(date.day, 0, 99)), 2, out + 5);
  out[5] = '/';
  char* at = out + 6;
  if (date.year < 0) *at++ = '-';
  const std::uint64_t year = Magnitude(date.year);
  char* const end = at + std::max(4, DigitCount(year));
  WriteDigitsBackwards(year, 4, end);
  return end;
}

std::string DescribeLoanProblem(const LoanProblem& problem) {
  switch (problem.error) {
    case LoanError::None:
      return {};
    case LoanError::NotANumber:
      return FieldName(problem) +
             " is not a number (digits with an optional sign, decimal point and exponent)";
    case LoanError::Negative:
      return FieldName(problem) + " cannot be negative";
    case LoanError::FractionOfCent:
      return FieldName(problem) + " must be whole cents (at most 2 decimal places)";
    case LoanError::TooManyDecimals:
      return FieldName(problem) + " may have at most " + std::to_string(maxRateDecimals) +
             " decimal places";
    case LoanError::NotWhole:
      return FieldName(problem) + " must be a whole number";
    case LoanError::OutOfRange:
      return RangeText(problem);
    case LoanError::ThirtyDayMonth:
      return DateName(problem) + " is not a day of the calendar: " + MonthName(problem.date.month) +
             " has 30 days";
    case LoanError::InvalidDate:
      if (problem.field == LoanField::FirstDueDate) {
        return DateName(problem) + " must be a day of the calendar from " +
               std::to_string(firstDueYear) + " to " + std::to_string(lastDueYear);
      }
      return DateName(problem) + " is not a day of the calendar";
    case LoanError::PaymentTooSmall:
      return FieldName(problem) + " must be more than the first month's interest of " +
             MoneyText(problem.interest) + ", or the loan would never shrink";
    case LoanError::NotADueDate: {
      std::string text = FieldName(problem) + " is not on a due date of this loan: ";
      if (problem.before.year == 0)
        return text + "the first due date is " + DateText(problem.after);
      if (problem.after.year == 0) return text + "the last due date is " + DateText(problem.before);
      return text + "the nearest due dates are " + DateText(problem.before) + " and " +
             DateText(problem.after);
    }
    case LoanError::ExtrasOutOfOrder:
      return FieldName(problem) +
             " comes after a later one or on the same date: extra payments go in date order, "
             "one a date";
  }
  return {};
}

}  // namespace quentara::loan
