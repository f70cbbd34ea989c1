#pragma once
// Many loans at once (quentara-schedule --batch): a CSV file of loans, one a line, read as a
// stream and scheduled on several threads, their rows or summaries written in the file's
// order as one CSV table or as JSON Lines. A line that is not a loan is told on standard
// error and the other loans go on. Memory stays the same however many loans the file holds:
// a few batches of loans are in hand at once, each with buffers that are reused.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "tool/csv_records.h"
#include "tool/schedule_request.h"

namespace quentara {

/// How the loans of a batch are scheduled and written.
struct BatchOptions {
  Arithmetic arithmetic = Arithmetic::Exact;
  ExportFormat format = ExportFormat::Csv;  ///< Csv or Json
  bool summary = false;                     ///< one row per loan instead of its schedule
  int jobs = 1;                             ///< threads that schedule
  std::string today;                        ///< the date of a loan without one, mm/dd/yyyy
  std::string name = "standard input";      ///< the file, as messages name it
};

/// The columns of a batch file, in the order of their names in messages.
enum class BatchColumn { Amount, Rate, Years, Months, Date, Payment, Id };

/// One file of loans. Its header row is read first, so that a wrong file is refused before
/// anything is written; then Run schedules its loans.
///
/// The id of a loan is its `id` field or, where that is empty or there is no such column, its
/// number among the file's loans (1 for the first line after the header; empty lines are no
/// loans). Each loan's problem is told as "quentara-schedule: line 8, id "7": ..." with the
/// line of the file on which its record starts.
class ScheduleBatch {
 public:
  /// Reads from `input`, which it does not close.
  ScheduleBatch(int input, BatchOptions options);

  /// Reads the header row: one name per column, amount, rate and years or months required,
  /// date, payment and id optional, in any order. A file that cannot be read, has no header
  /// row, or whose names are not those (an unknown, missing or repeated column, months with
  /// the calculator's figures) is a problem with exitUsage.
  ScheduleProblem ReadHeader();

  /// Takes the output's bytes in order; false stops the run.
  using Write = std::function<bool(std::string_view bytes)>;
  /// Takes what goes to standard error, whole lines, in the file's order.
  using Tell = std::function<void(std::string_view lines)>;

  /// Schedules every loan after a header that ReadHeader accepted, writing the CSV header row
  /// first (for CSV). Returns exitWritten when every loan was written; exitRefused when a
  /// line was refused or `write` said stop; exitUsage when the file could not be read to its
  /// end (told through `tell`). The bytes are the same for every number of jobs.
  int Run(const Write& write, const Tell& tell);

  /// The loans read so far and those of them refused.
  std::int64_t Loans() const { return loans_; }
  std::int64_t Refused() const { return refused_; }

 private:
  CsvReader reader_;
  BatchOptions options_;
  int columns_[7] = {-1, -1, -1, -1, -1, -1, -1};  // by BatchColumn; -1 for none
  std::size_t columnCount_ = 0;
  std::int64_t loans_ = 0, refused_ = 0;
};

/// quentara-schedule --batch: reads request.batch, writes to request.output and returns the
/// exit code, the messages on standard error.
int RunScheduleBatch(const ScheduleRequest& request);

}  // namespace quentara
