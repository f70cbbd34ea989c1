#include "calc/schedule_report.h"

#include <memory_resource>
#include <vector>

#include "calc/due_dates.h"
#include "calc/messages.h"
#include "calc/program_end.h"
#include "files/text_file.h"
#include "text/number_format.h"
#include "text/program_heap.h"
#include "text/string_ops.h"
#include "text/text_area.h"

namespace quentara {

namespace {

std::pmr::vector<RowRecord>* scheduleTable = nullptr;

constexpr const char* totalsHeading =
    "                                                                 "
    "|-----------  Totals ------------|";
constexpr const char* columnHeading =
    "  Due Date     Balance  Rate    Payment    Interest   Principal      Paid      Interest"
    "   Principal";
// Line 4 of the year block: 99 bytes 0xAF, a line along the top of the character cell in
// the Windows-1252 code page the report is meant to be read in.
constexpr int underlineLength = 99;

// The lines of Loan.txt, each straight to the current file.
class ReportFileLines final : public ReportLines {
 public:
  void Line(const char* text) override { WriteLine(text); }
};

// Assigns FormatFixed(value, 2) to the text.
void AssignFigure(Text& text, float value) {
  AssignExpression(text, FormatFixed(value, 2));
}

}  // namespace

void CreateScheduleTable() {
  if (scheduleTable != nullptr) return;
  void* place = programHeap.allocate(sizeof(std::pmr::vector<RowRecord>),
                                     alignof(std::pmr::vector<RowRecord>));
  scheduleTable = new (place) std::pmr::vector<RowRecord>(scheduleTableSize, &programHeap);
}

RowRecord& ScheduleRecord(std::int32_t rowIndex) {
  CreateScheduleTable();
  // A record only stages a row until its line is written, so a loan longer than the table
  // (which the calculator refuses anyway) reuses records instead of running past the end.
  std::int32_t index = Modulo(rowIndex, scheduleTableSize);
  if (index < 0) index += scheduleTableSize;
  return (*scheduleTable)[static_cast<std::size_t>(index)];
}

void FillRowRecord(RowRecord& record, const char* dueDate, const ScheduleState& state) {
  AssignText(record.dueDate, dueDate);
  AssignFigure(record.balance, state.balance);
  AssignFigure(record.rate, state.annualRate);
  AssignFigure(record.payment, state.payment);
  AssignFigure(record.interest, state.interest);
  AssignFigure(record.principal, state.principal);
  AssignFigure(record.totalPaid, state.totalPaid);
  AssignFigure(record.totalInterest, state.totalInterest);
  AssignFigure(record.totalPrincipal, state.totalPrincipal);
}

void ReportLines::BeginYear(std::int32_t yearNumber) {
  Line("");
  Line(totalsHeading);
  Line(columnHeading);
  char underline[underlineLength + 1];
  for (int i = 0; i < underlineLength; ++i) underline[i] = static_cast<char>(0xAF);
  underline[underlineLength] = '\0';
  Line(underline);

  char* start = AppendText("Year:");
  FormatInteger(yearNumber);
  Line(start);
  SetTextAreaEnd(start);
}

void ReportLines::AddRow(const RowRecord& record, const ScheduleState&) {
  const Text* fields[9] = {&record.dueDate,   &record.balance,       &record.rate,
                           &record.payment,   &record.interest,      &record.principal,
                           &record.totalPaid, &record.totalInterest, &record.totalPrincipal};
  char* start = TextAreaEnd();
  for (int i = 0; i < 9; ++i) RightAlign(fields[i]->Get(), rowFieldWidths[i]);
  Line(start);
  SetTextAreaEnd(start);
}

void TakeFirstDueDate(const char* typed, Text& dueDate) {
  AssignExpression(dueDate, TrimSpaces(typed));
  // Only the day piece is checked here; the whole date is judged when the first row's
  // date is stepped, after that row has been written.
  AssignExpression(firstPaymentDay, Substring(dueDate.View(), 4, 2));
  if (ParseInteger(firstPaymentDay.View()) > 31) {
    ShowMessage("", "Your date string is not valid, Please re-start program.", 0);
    EndProgram();
  }
}

ScheduleState LoanFromFieldTexts(const char* amount, const char* rate, const char* length) {
  ScheduleState state;
  state.balance = ParseFloat(amount);
  state.annualRate = ParseFloat(rate);
  state.loanYears = ParseFloat(length);
  state.loanAmount = ParseFloat(amount);
  ComputePayment(state);
  return state;
}

void WriteScheduleRows(ScheduleState& state, const char* firstDueDate, ScheduleSink& sink) {
  Text dueDate;
  CopyTextIn(dueDate, firstDueDate);
  state.totalPaid = 0;
  state.totalInterest = 0;
  state.totalPrincipal = 0;
  state.rowIndex = 0;
  std::int32_t yearNumber = 0;
  while (ScheduleRowBegins(state)) {
    ComputeScheduleRow(state);
    RowRecord& record = ScheduleRecord(state.rowIndex);
    FillRowRecord(record, dueDate.Get(), state);
    if (Modulo(state.rowIndex, 12) == 0) {
      ++yearNumber;
      sink.BeginYear(yearNumber);
    }
    sink.AddRow(record, state);
    AssignExpression(dueDate, StepDueDate(dueDate.Get(), 1));
    AdvanceScheduleRow(state);
  }
}

ScheduleFileResult WriteScheduleFile(ScheduleState& state, const char* firstDueDate) {
  // Each row is one line of the file, and nothing else bounds the loan's length: a typed
  // length of a million years would fill the disk. Longer loans are refused before the
  // earlier report is touched; the month count cannot tell, since it wraps for lengths
  // beyond the 32-bit range.
  if (LoanIsTooLong(state.loanYears)) {
    ShowMessage("Error", loanTooLongMessage);
    return ScheduleFileResult::Refused;
  }
  if (CreateTextFile(0, "Loan.txt") == 0) {
    ShowMessage("Error", "Unable to create a file, be sure LOAN.TXT is not in use");
    EndProgram();
  }
  ReportFileLines lines;
  WriteScheduleRows(state, firstDueDate, lines);
  CloseTextFile(0);
  // A full disk would otherwise leave a cut report that looks complete.
  if (LinesLost())
    ShowMessage("Error", "Unable to write the whole schedule, LOAN.TXT is incomplete");
  return ScheduleFileResult::Written;
}

}  // namespace quentara
