#pragma once
// The report file Loan.txt: the amortization schedule as fixed-width text, a block of
// headings with the year number before every twelfth row, and one 98-character line per
// monthly payment. Each line goes straight to the file as it is written.

#include <cstdint>

#include "app/schedule_arithmetic.h"
#include "text/text_value.h"

namespace quentara {

/// The nine texts of one report row, in the order of the row line.
struct RowRecord {
  Text dueDate, balance, rate, payment, interest, principal, totalPaid, totalInterest,
      totalPrincipal;
};

/// Records in the schedule table (indexes 0 to 601).
inline constexpr std::int32_t scheduleTableSize = 602;
/// The longest loan the calculator schedules: 601 monthly payments (50 years).
inline constexpr std::int32_t maxScheduledMonths = 601;
/// Widths of the nine columns of a row line (98 characters in all).
inline constexpr std::int32_t rowFieldWidths[9] = {10, 12, 6, 10, 12, 12, 12, 12, 12};

/// Start-up: the schedule table of 602 empty records, in the program heap.
void CreateScheduleTable();
/// The record that stages the row with this index; always inside the table, however many
/// rows a schedule has.
RowRecord& ScheduleRecord(std::int32_t rowIndex);

/// Fills the record with the due date and the eight figures of the row just computed.
void FillRowRecord(RowRecord& record, const char* dueDate, const ScheduleState& state);
/// The five heading lines written before rows 1, 13, 25, ... ("Year:1", "Year:2", ...).
void WriteYearBlock(std::int32_t yearNumber);
/// The nine texts right-aligned to their column widths, joined, written as one line.
void WriteRowLine(const RowRecord& record);

/// Writes every row of the schedule into the current file, from the state that the
/// payment phase left and the first due date as typed; each row's due date is stepped one
/// month from the one before. Stepping the date may end the program.
void WriteScheduleRows(ScheduleState& state, const char* firstDueDate);

/// Creates Loan.txt in the program folder, writes the schedule and closes it. A loan of
/// more than 601 months is refused with a message and leaves any earlier report untouched;
/// a report that cannot be created ends the program after its message; lines that did not
/// reach the disk are reported after the file is closed.
void WriteScheduleFile(ScheduleState& state, const char* firstDueDate);

}  // namespace quentara
