// Steps the schedule's due dates month by month and judges the first one, returning what a
// date came to for the caller to show.

#include "calc/due_dates.h"

#include "calc/message_texts.h"
#include "dates/calendar.h"
#include "text/number_format.h"
#include "text/string_ops.h"

namespace quentara {

namespace {

std::int32_t WrappingAdd(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

// The month, day and year of a due date, each read from its place in the text.
struct DatePieces {
  std::int32_t month, day, year;
};

DatePieces PiecesOf(const char* date) {
  char* start = Substring(date, 1, 2);
  const std::int32_t month = ParseInteger(start);
  SetTextAreaEnd(start);
  start = Substring(date, 4, 2);
  const std::int32_t day = ParseInteger(start);
  SetTextAreaEnd(start);
  start = Substring(date, 7, 4);
  const std::int32_t year = ParseInteger(start);
  SetTextAreaEnd(start);
  return {month, day, year};
}

bool DateCannotBeValid(const DatePieces& date) {
  // A month or day of 0 is let through on purpose: it steps to a real date. So is a day
  // above 28 in February of a leap year.
  bool invalid = date.day > 31;
  if (date.year < 1800 || date.year > 2200) invalid = true;
  if (date.month == 2 && date.day > 28 && !IsLeapYear(date.year)) invalid = true;
  if (date.month > 12) invalid = true;
  return invalid;
}

// Only February's length depends on the year, and it is never 30.
bool IsThirtyDayMonth(std::int32_t month) {
  return DaysInMonth(0, month) == 30;
}

}  // namespace

DateOutcome TakeFirstDueDate(DueDateState& dueDates, const char* typed, Text& dueDate) {
  AssignExpression(dueDate, TrimSpaces(typed));
  // Only the day piece is judged here; the whole date later.
  AssignExpression(dueDates.firstPaymentDay, Substring(dueDate.View(), 4, 2));
  DateOutcome outcome;
  outcome.fatal = ParseInteger(dueDates.firstPaymentDay.View()) > 31;
  return outcome;
}

DateOutcome CheckFirstDueDate(DueDateState& dueDates, const char* firstDueDate) {
  Text copy;  // the pieces are read in the text area, where the date may lie
  CopyTextIn(copy, firstDueDate);
  const DatePieces date = PiecesOf(copy.Get());
  if (const char* message = ThirtyDayMessage(date.month, date.day)) return {message, true};
  if (DateCannotBeValid(date)) return {nullptr, true};
  dueDates.dateValidated = true;
  return {};
}

StepResult StepDueDate(DueDateState& dueDates, const char* dateText, std::int32_t monthsToAdd,
                       char* resultAt) {
  // The date may lie in the text area where the result goes: work on a copy of it.
  Text date;
  CopyTextIn(date, dateText);
  SetTextAreaEnd(resultAt);
  resultAt = TextAreaEnd();

  Text dayText, yearText;
  AssignExpression(dayText, Substring(date.Get(), 4, 2));
  AssignExpression(yearText, Substring(date.Get(), 7, 4));

  if (monthsToAdd < 1 || monthsToAdd > 12) {
    return {WriteTextAt(resultAt, "", 0), {monthCountMessage, false}};
  }
  const DatePieces pieces = PiecesOf(date.Get());
  if (const char* message = ThirtyDayMessage(pieces.month, pieces.day)) {
    return {WriteTextAt(resultAt, "", 0), {message, false}};
  }
  if (!dueDates.dateValidated && DateCannotBeValid(pieces)) {
    return {WriteTextAt(resultAt, "", 0), {nullptr, true}};
  }

  std::int32_t newMonth = WrappingAdd(pieces.month, monthsToAdd);
  if (newMonth > 12) {
    newMonth -= 12;
    AssignExpression(yearText, FormatInteger(WrappingAdd(pieces.year, 1)));
  }
  const std::int32_t year = ParseInteger(yearText.Get());

  Text newDay;
  if (newMonth == 2) {
    if (pieces.day > 28) {
      AssignText(newDay, IsLeapYear(year) ? "29" : "28");
    } else {
      AssignText(newDay, dayText.Get());
    }
  } else if (ParseInteger(dueDates.firstPaymentDay.Get()) == 31 && IsThirtyDayMonth(newMonth)) {
    AssignText(newDay, "30");
  } else {
    AssignText(newDay, dueDates.firstPaymentDay.Get());
  }

  SetTextAreaEnd(resultAt);
  if (newMonth < 10) AppendText("0");
  FormatInteger(newMonth);
  AppendText("/");
  AppendText(newDay.Get());
  AppendText("/");
  AppendText(yearText.Get());
  dueDates.dateValidated = true;
  return {resultAt, {}};
}

}  // namespace quentara
