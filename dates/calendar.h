#pragma once
// The Gregorian calendar's own facts: leap years and the length of each month. Plain
// constant functions with no other dependency, so the schedule engines, the date values and
// the due-date rules all ask the same place.

#include <cstdint>

namespace quentara {

/// A year divisible by 400 is a leap year; otherwise one divisible by 100 is not; otherwise
/// one divisible by 4 is. IsLeapYear(2000) && !IsLeapYear(2100) && IsLeapYear(2004).
constexpr bool IsLeapYear(std::int32_t year) {
  if (year % 400 == 0) return true;
  if (year % 100 == 0) return false;
  return year % 4 == 0;
}

/// The days of the month (1 to 12) in that year: DaysInMonth(2004, 2) == 29. 0 for a month
/// outside 1 to 12.
constexpr std::int32_t DaysInMonth(std::int32_t year, std::int32_t month) {
  switch (month) {
    case 2:
      return IsLeapYear(year) ? 29 : 28;
    case 4:
    case 6:
    case 9:
    case 11:
      return 30;
    case 1:
    case 3:
    case 5:
    case 7:
    case 8:
    case 10:
    case 12:
      return 31;
    default:
      return 0;
  }
}

/// Whether the fields name a day of the calendar: IsCalendarDate(2005, 2, 29) == false.
constexpr bool IsCalendarDate(std::int32_t year, std::int32_t month, std::int32_t day) {
  return day >= 1 && day <= DaysInMonth(year, month);
}

}  // namespace quentara
