#pragma once
// Date values: the current date, composing a date from calendar fields, and writing a date
// through a mask such as "%mm/%dd/%yyyy". A date value counts the seconds from 1970-01-01
// 00:00:00 of calendar fields taken as they are, with no time zone or summer time, so the
// same fields give the same value on every machine.

#include <cstdint>
#include <ctime>

#include "text/text_area.h"

namespace quentara {

/// Wide enough for every date up to the end of year 9999, the last with a four-digit year.
using DateValue = std::int64_t;
/// What composing impossible or out-of-range fields gives.
inline constexpr DateValue noDate = -1;

/// Where CurrentDate reads the time: the seconds since 1970-01-01 00:00:00 UTC, as
/// std::time gives them. Tests put a fixed clock in its place; nullptr puts the system's
/// clock back.
using ClockFunction = std::time_t (*)();
void SetClock(ClockFunction clock);

/// The local wall-clock date and time, to the second; noDate outside 1970 to 9999.
DateValue CurrentDate();
/// ComposeDate(2004, 3, 7, 9, 5, 2) == 1078650302; ComposeDate(2003, 2, 29, 0, 0, 0) == noDate.
DateValue ComposeDate(std::int32_t year, std::int32_t month, std::int32_t day, std::int32_t hour,
                      std::int32_t minute, std::int32_t second);
/// Writes the mask with its tokens (case ignored) replaced: %yyyy %yy %mm %dd %hh %ii %ss.
/// FormatDateMask("%mm/%dd/%yyyy", ComposeDate(2004, 3, 7, 0, 0, 0)) == "03/07/2004".
/// A date before 1970 (noDate) or after 9999 has no fields: every token writes zeros ("0000"
/// for %yyyy).
char* FormatDateMask(const char* mask, DateValue date, char* resultAt = TextAreaEnd());

}  // namespace quentara
