#pragma once
// The due date of each schedule row, as text mm/dd/yyyy taken apart by position: the day
// of the first payment is kept month by month, cut to 30 in the 30-day months and to 28 or
// 29 in February. Until the first date has been stepped once in this run of the program,
// the date given is checked, and a date that cannot be valid ends the program.

#include <cstdint>

#include "text/text_area.h"
#include "text/text_value.h"

namespace quentara {

/// Set by the first step that produces a date; never cleared.
extern bool dateValidated;
/// The day piece (characters 4 and 5) of the first due date of the current computation.
extern Text firstPaymentDay;

/// The due date `monthsToAdd` months after `dateText`, written at `resultAt` (result rule
/// of the text area). After a message about the month count or a 31st in a 30-day month
/// the result is the empty text. StepDueDate("01/31/2004", 1) == "02/29/2004" when the
/// first payment day is "31".
char* StepDueDate(const char* dateText, std::int32_t monthsToAdd, char* resultAt = TextAreaEnd());

/// The message for a 31st in a month of 30 days, or nullptr:
/// ThirtyDayMessage(4, 31) == "There are only 30 days in April.".
const char* ThirtyDayMessage(std::int32_t month, std::int32_t day);

/// Whether the year is a leap year of the Gregorian calendar.
bool IsLeapYear(std::int32_t year);

}  // namespace quentara
