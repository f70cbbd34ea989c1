#include "calc/due_dates.h"

#include "calc/messages.h"
#include "calc/program_end.h"
#include "text/number_format.h"
#include "text/string_ops.h"

namespace quentara {

bool dateValidated = false;
Text firstPaymentDay;

namespace {

constexpr const char* notValidMessage = "Your date string is not valid, Please re-start program.";

std::int32_t WrappingAdd(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

}  // namespace

const char* ThirtyDayMessage(std::int32_t month, std::int32_t day) {
  if (day != 31) return nullptr;
  switch (month) {
    case 4:
      return "There are only 30 days in April.";
    case 6:
      return "There are only 30 days in June.";
    case 9:
      return "There are only 30 days in September.";
    case 11:
      return "There are only 30 days in November.";
    default:
      return nullptr;
  }
}

namespace {

bool DateCannotBeValid(std::int32_t month, std::int32_t day, std::int32_t year) {
  // A month or day of 0 is let through on purpose: it steps to a real date.
  bool invalid = day > 31;
  if (year < 1800 || year > 2200) invalid = true;
  if (month == 2 && day > 28 && !IsLeapYear(year)) invalid = true;
  if (month > 12) invalid = true;
  return invalid;
}

bool IsThirtyDayMonth(std::int32_t month) {
  return month == 4 || month == 6 || month == 9 || month == 11;
}

}  // namespace

bool IsLeapYear(std::int32_t year) {
  if (Modulo(year, 400) == 0) return true;
  if (Modulo(year, 100) == 0) return false;
  return Modulo(year, 4) == 0;
}

char* StepDueDate(const char* dateText, std::int32_t monthsToAdd, char* resultAt) {
  // The date may lie in the text area where the result goes: work on a copy of it.
  Text date;
  CopyTextIn(date, dateText);
  SetTextAreaEnd(resultAt);
  resultAt = TextAreaEnd();

  Text monthText, dayText, yearText;
  AssignExpression(monthText, Substring(date.Get(), 1, 2));
  AssignExpression(dayText, Substring(date.Get(), 4, 2));
  AssignExpression(yearText, Substring(date.Get(), 7, 4));

  if (monthsToAdd < 1 || monthsToAdd > 12) {
    ShowMessage("", "The Month needs to be a\nnumber between 1 And 12.");
    return WriteTextAt(resultAt, "", 0);
  }
  const std::int32_t month = ParseInteger(monthText.Get());
  const std::int32_t day = ParseInteger(dayText.Get());
  if (const char* message = ThirtyDayMessage(month, day)) {
    ShowMessage("", message);
    return WriteTextAt(resultAt, "", 0);
  }
  if (!dateValidated && DateCannotBeValid(month, day, ParseInteger(yearText.Get()))) {
    ShowMessage("", notValidMessage);
    EndProgram();
  }

  std::int32_t newMonth = WrappingAdd(month, monthsToAdd);
  if (newMonth > 12) {
    newMonth -= 12;
    AssignExpression(yearText, FormatInteger(WrappingAdd(ParseInteger(yearText.Get()), 1)));
  }
  const std::int32_t year = ParseInteger(yearText.Get());

  Text newDay;
  if (newMonth == 2) {
    if (day > 28) {
      AssignText(newDay, IsLeapYear(year) ? "29" : "28");
    } else {
      AssignText(newDay, dayText.Get());
    }
  } else if (ParseInteger(firstPaymentDay.Get()) == 31 && IsThirtyDayMonth(newMonth)) {
    AssignText(newDay, "30");
  } else {
    AssignText(newDay, firstPaymentDay.Get());
  }

  SetTextAreaEnd(resultAt);
  if (newMonth < 10) AppendText("0");
  FormatInteger(newMonth);
  AppendText("/");
  AppendText(newDay.Get());
  AppendText("/");
  AppendText(yearText.Get());
  dateValidated = true;
  return resultAt;
}

}  // namespace quentara
