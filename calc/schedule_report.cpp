// The lines of the schedule report and the row loop that produces them, into Loan.txt or
// into any other sink.

#include "calc/schedule_report.h"

#include <memory_resource>
#include <vector>

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

ScheduleState LoanFromFieldTexts(const char* amount, const char* rate, const char* length) {
  ScheduleState state;
  state.balance = ParseFloat(amount);
  state.annualRate = ParseFloat(rate);
  state.loanYears = ParseFloat(length);
  state.loanAmount = ParseFloat(amount);
  ComputePayment(state);
  return state;
}

ScheduleCheck CheckSchedule(const ScheduleState& loan, DueDateState& dueDates,
                            const char* firstDueDate) {
  ScheduleCheck check;
  check.refusal = LoanRefusalMessage(loan);
  if (check.refusal == nullptr) check.firstDate = CheckFirstDueDate(dueDates, firstDueDate);
  return check;
}

ScheduleRows::ScheduleRows(ScheduleState& state, DueDateState& dueDates, const char* firstDueDate)
    : state_(state), dueDates_(dueDates) {
  CopyTextIn(dueDate_, firstDueDate);
  state_.totalPaid = 0;
  state_.totalInterest = 0;
  state_.totalPrincipal = 0;
  state_.rowIndex = 0;
}

DateOutcome ScheduleRows::Run(ScheduleSink& sink) {
  while (ScheduleRowBegins(state_)) {
    ComputeScheduleRow(state_);
    RowRecord& record = ScheduleRecord(state_.rowIndex);
    FillRowRecord(record, dueDate_.Get(), state_);
    if (Modulo(state_.rowIndex, 12) == 0) {
      ++yearNumber_;
      sink.BeginYear(yearNumber_);
    }
    sink.AddRow(record, state_);
    const StepResult next = StepDueDate(dueDates_, dueDate_.Get(), 1);
    AssignExpression(dueDate_, next.date);
    AdvanceScheduleRow(state_);
    if (!next.outcome.IsClear()) return next.outcome;
  }
  return {};
}

bool ScheduleFile::Create() {
  return CreateTextFile(0, "Loan.txt") != 0;
}

void ScheduleFile::Line(const char* text) {
  WriteLine(text);
}

bool ScheduleFile::Close() {
  CloseTextFile(0);
  // A full disk would otherwise leave a cut report that looks complete.
  return !LinesLost();
}

}  // namespace quentara
