#pragma once
// The report file Loan.txt: the amortization schedule as fixed-width text, a block of
// headings with the year number before every twelfth row, and one 98-character line per
// monthly payment. Each line goes straight to the file as it is written. The row loop and
// the text of its lines serve the command-line tool too, which gathers them instead.

#include <cstdint>

#include "calc/schedule_arithmetic.h"
#include "text/text_value.h"

namespace quentara {

/// The nine texts of one report row, in the order of the row line.
struct RowRecord {
  Text dueDate, balance, rate, payment, interest, principal, totalPaid, totalInterest,
      totalPrincipal;
};

/// Records in the schedule table (indexes 0 to 601).
inline constexpr std::int32_t scheduleTableSize = 602;
/// Widths of the nine columns of a row line (98 characters in all).
inline constexpr std::int32_t rowFieldWidths[9] = {10, 12, 6, 10, 12, 12, 12, 12, 12};
/// What refuses a loan of more than 601 monthly payments.
inline constexpr const char* loanTooLongMessage =
    "The loan is too long: at most 601 monthly payments (50 years and 1 month) can be "
    "scheduled.";

/// Where the row loop hands the schedule over, row by row, as it computes it.
class ScheduleSink {
 public:
  virtual ~ScheduleSink() = default;
  /// Before the rows with index 0, 12, 24, ...: years 1, 2, 3, ...
  virtual void BeginYear(std::int32_t yearNumber) = 0;
  /// The row just computed: the record holds its nine texts, the state its figures.
  virtual void AddRow(const RowRecord& record, const ScheduleState& state) = 0;
};

/// The report's text: the five heading lines of each year and one row line per row, each
/// handed to Line without its line end. Loan.txt and the command-line tool both take their
/// text from here; only where the lines go differs.
class ReportLines : public ScheduleSink {
 public:
  void BeginYear(std::int32_t yearNumber) override;
  void AddRow(const RowRecord& record, const ScheduleState& state) override;
  /// One line; the text is valid only during the call.
  virtual void Line(const char* text) = 0;
};

/// Start-up: the schedule table of 602 empty records, in the program heap.
void CreateScheduleTable();
/// The record that stages the row with this index; always inside the table, however many
/// rows a schedule has.
RowRecord& ScheduleRecord(std::int32_t rowIndex);

/// Fills the record with the due date and the eight figures of the row just computed.
void FillRowRecord(RowRecord& record, const char* dueDate, const ScheduleState& state);
/// The first due date as typed into the form: trimmed of spaces into `dueDate`, its day
/// piece (characters 4 and 5) kept as firstPaymentDay. A day piece above 31 ends the
/// program after its message; the whole date is judged later, when it is first stepped.
void TakeFirstDueDate(const char* typed, Text& dueDate);
/// The loan the form's texts give, its payment phase run: the amount is read twice, as the
/// opening balance and as the loan amount; each text is read as far as it holds a number.
ScheduleState LoanFromFieldTexts(const char* amount, const char* rate, const char* length);

/// Runs the row loop from the state that the payment phase left and the first due date,
/// handing every row to the sink; each row's due date is stepped one month from the one
/// before. Stepping the date may end the program.
void WriteScheduleRows(ScheduleState& state, const char* firstDueDate, ScheduleSink& sink);

enum class ScheduleFileResult {
  Written,  ///< Loan.txt holds the schedule (or as much of it as reached the disk)
  Refused,  ///< the loan is too long; nothing was written
};

/// Creates Loan.txt in the program folder, writes the schedule and closes it. A loan of
/// more than 601 months is refused with a message and leaves any earlier report untouched;
/// a report that cannot be created ends the program after its message; lines that did not
/// reach the disk are reported after the file is closed.
ScheduleFileResult WriteScheduleFile(ScheduleState& state, const char* firstDueDate);

}  // namespace quentara
