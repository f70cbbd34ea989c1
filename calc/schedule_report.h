#pragma once
// The report file Loan.txt: the amortization schedule as fixed-width text, a block of
// headings with the year number before every twelfth row, and one 98-character line per
// monthly payment. Each line goes straight to the file as it is written. The row loop and
// the text of its lines serve the command-line tool too, which gathers them instead. What
// goes wrong is returned; the caller tells the person and decides whether to go on.

#include <cstdint>

#include "calc/due_dates.h"
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
/// The loan the form's texts give, its payment phase run: the amount is read twice, as the
/// opening balance and as the loan amount; each text is read as far as it holds a number.
ScheduleState LoanFromFieldTexts(const char* amount, const char* rate, const char* length);

/// What stops a computation before Loan.txt is touched, in the order it is told. A refused
/// loan (LoanRefusalMessage, titled "Error") ends the computation there and its first due
/// date is not judged; otherwise the first due date is judged (CheckFirstDueDate) in every
/// computation of a run, not only in the first.
struct ScheduleCheck {
  const char* refusal = nullptr;
  DateOutcome firstDate;
  /// Nothing stops the computation: the report can be written.
  bool Passed() const { return refusal == nullptr && firstDate.IsClear(); }
};

/// Judges the loan the payment phase left and its first due date; a date that serves marks
/// the due dates validated for the rows. The text area is left as it was.
ScheduleCheck CheckSchedule(const ScheduleState& loan, DueDateState& dueDates,
                            const char* firstDueDate);

/// The row loop of one computation, from the state that the payment phase left and the
/// first due date: every row is handed to the sink, and each row's due date is stepped one
/// month from the one before.
class ScheduleRows {
 public:
  /// Starts before the first row, with the totals and the row index at 0. The state and the
  /// due dates are worked on in place.
  ScheduleRows(ScheduleState& state, DueDateState& dueDates, const char* firstDueDate);
  /// Runs rows until the schedule is complete (a clear outcome) or stepping a due date has
  /// something to say, which is returned. After an outcome that is not fatal, the next call
  /// goes on with the next row, whose due date is then the empty text.
  DateOutcome Run(ScheduleSink& sink);

 private:
  ScheduleState& state_;
  DueDateState& dueDates_;
  Text dueDate_;
  std::int32_t yearNumber_ = 0;
};

/// Loan.txt in the program folder, under file number 0; its lines go straight to the disk.
class ScheduleFile final : public ReportLines {
 public:
  /// Creates the file anew (an earlier report is replaced). False when it cannot be
  /// created; nothing is written then.
  bool Create();
  void Line(const char* text) override;
  /// Closes the file. False when a line written since Create did not reach the disk.
  bool Close();
};

}  // namespace quentara
