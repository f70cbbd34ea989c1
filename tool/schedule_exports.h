#pragma once
// The three forms in which the command-line tool gives a schedule, each gathered into a
// string as the row loop hands the rows over: the report text itself, CSV and JSON. The
// figures are the calculator's report's: each row's nine texts, two decimals, no padding in
// CSV and JSON. The summary serves the exact arithmetic too.

#include <mutex>
#include <optional>
#include <string>

#include "calc/schedule_report.h"

namespace quentara {

/// The calculator's code builds its texts in one area that the whole program shares, so it
/// is not for two threads at once: whoever runs it (a schedule with the calculator's figures,
/// the report's lines) holds this lock meanwhile, from before its first text to after its
/// last one is gone.
[[nodiscard]] std::unique_lock<std::mutex> CalculatorTurn();

/// The report's bytes, exactly as Loan.txt holds them (CR LF after every line). With
/// `utf8` the line under the headings, bytes 0xAF, is written as U+00AF instead.
class TextExport final : public ReportLines {
 public:
  TextExport(std::string& out, bool utf8);
  void Line(const char* text) override;

 private:
  std::string& out_;
  bool utf8_;
};

/// A header row, then one row of the nine figures per payment; LF line ends.
/// The first row of the worked example: 01/31/2004,4590.92,4.00,425.75,16.67,409.08,...
class CsvExport final : public ScheduleSink {
 public:
  explicit CsvExport(std::string& out);
  void BeginYear(std::int32_t) override {}
  void AddRow(const RowRecord& record, const ScheduleState& state) override;

 private:
  std::string& out_;
};

/// What paying a payment of one's own or extra payments saves against the computed
/// schedule (negative when it costs more).
struct ScheduleSavings {
  std::string computedPayment;  ///< empty when the payment is the computed one
  std::int32_t payments = 0;
  std::string interest;
};

/// What a schedule came to: the figures of its summary, each as the report would print it.
struct ScheduleSummary {
  std::string monthlyPayment;  ///< the payment of every month: the computed or the given one
  std::int32_t payments = 0;
  std::string totalPaid, totalInterest, totalPrincipal;
  std::string lastPayment;                 ///< empty when there is no row
  std::string payoffDate;                  ///< the last row's due date; empty when no row
  std::optional<std::string> balanceLeft;  ///< when more than 0.01 is still owed
  std::optional<ScheduleSavings> saved;    ///< with a payment of one's own
};

/// The summary for standard error, one "name: value" line each.
std::string SummaryText(const ScheduleSummary& summary);

/// The inputs as the command line gave them, for the JSON object.
struct ScheduleInputs {
  std::string date;
  float amount = 0, rate = 0, years = 0;
  std::optional<float> payment;
};

/// One JSON object of the calculator's figures ("arithmetic": "calculator"): the inputs, the
/// monthly payment, the rows and the summary. Rows are gathered as they come; Finish closes
/// the object.
class JsonExport final : public ScheduleSink {
 public:
  explicit JsonExport(std::string& out);
  void BeginYear(std::int32_t) override {}
  void AddRow(const RowRecord& record, const ScheduleState& state) override;
  /// Completes the object around the rows gathered so far.
  void Finish(const ScheduleInputs& inputs, const ScheduleSummary& summary);

 private:
  std::string& out_;
  std::string rows_;
};

}  // namespace quentara
