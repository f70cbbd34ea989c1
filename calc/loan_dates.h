#pragma once
// The due dates of a loan's rows and the check of its first due date, shared by the exact
// engine and the calculator's row walker, so that both libraries' schedules fall due on the
// same days. Internal to the loan library.

#include <algorithm>
#include <cstdint>

#include "dates/calendar.h"
#include "quentara/loan.h"

namespace quentara::loan {

/// The due day in a month: the first due date's day, cut to the month's length.
inline std::int32_t DueDay(std::int32_t firstDay, std::int32_t year, std::int32_t month) {
  return std::min(firstDay, DaysInMonth(year, month));
}

/// The due date of a row (1 for the first). DueDateOfRow({2004, 1, 31}, 2) is 02/29/2004.
inline Date DueDateOfRow(Date first, std::int32_t row) {
  const std::int32_t monthIndex = first.month - 1 + row - 1;
  Date date;
  date.year = first.year + monthIndex / 12;
  date.month = monthIndex % 12 + 1;
  date.day = DueDay(first.day, date.year, date.month);
  return date;
}

/// A first due date on the 31st of a month of 30 days is ThirtyDayMonth; one that is no day
/// of the calendar, or whose year is outside firstDueYear to lastDueYear, InvalidDate.
LoanProblem CheckFirstDueDate(Date date);

}  // namespace quentara::loan
