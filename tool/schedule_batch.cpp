// Many loans from a CSV file. The reading thread gathers the records into batches; with more
// than one job, worker threads schedule the batches while the reading thread writes the
// finished ones in the file's order, so the output is the same whatever the number of jobs.
// A few batches are in hand at once and each keeps its buffers from one use to the next, so
// a long file costs no more memory than a short one.

#include "tool/schedule_batch.h"

#include <algorithm>
#include <charconv>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "tool/exact_schedule.h"
#include "tool/schedule_exports.h"
#include "tool/schedule_tool.h"

namespace quentara {

namespace {

constexpr const char* columnNames[] = {"amount", "rate",    "years", "months",
                                       "date",   "payment", "id"};
static_assert(std::size(columnNames) == static_cast<std::size_t>(BatchColumn::Id) + 1,
              "a name for each BatchColumn, in its order");

// Loans in one batch: enough that each batch is a large write (some 16 x 360 rows of a
// mortgage) and that taking turns costs little beside the work, few enough that the batches
// in hand stay small.
constexpr std::size_t scheduleLoans = 16, summaryLoans = 256;

constexpr std::string_view summaryColumns =
    "monthly_payment,payments,total_paid,total_interest,last_payment,payoff_date";

int Index(BatchColumn column) {
  return static_cast<int>(column);
}

// A CSV field: as it is, or in quotes with its quotes doubled when it holds a comma, a quote
// or a line break.
void AppendCsvField(std::string_view text, std::string& out) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
    out += text;
    return;
  }
  out += '"';
  for (const char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

// The length of the UTF-8 character that starts text[at], or 0 when no valid one does.
std::size_t Utf8Length(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t i) {
    return at + i < text.size() ? static_cast<unsigned char>(text[at + i]) : 0u;
  };
  const unsigned lead = byte(0);
  const auto continues = [&](std::size_t count, unsigned low, unsigned high) {
    if (byte(1) < low || byte(1) > high) return std::size_t{0};
    for (std::size_t i = 2; i <= count; ++i) {
      if (byte(i) < 0x80 || byte(i) > 0xBF) return std::size_t{0};
    }
    return count + 1;
  };
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return continues(1, 0x80, 0xBF);
  if (lead == 0xE0) return continues(2, 0xA0, 0xBF);
  if (lead == 0xED) return continues(2, 0x80, 0x9F);  // no surrogates
  if (lead >= 0xE1 && lead <= 0xEF) return continues(2, 0x80, 0xBF);
  if (lead == 0xF0) return continues(3, 0x90, 0xBF);
  if (lead >= 0xF1 && lead <= 0xF3) return continues(3, 0x80, 0xBF);
  if (lead == 0xF4) return continues(3, 0x80, 0x8F);
  return 0;
}

// A JSON string. A byte that is not part of a UTF-8 character becomes U+FFFD, so the line
// stays valid JSON whatever the file held.
void AppendJsonString(std::string_view text, std::string& out) {
  out += '"';
  for (std::size_t at = 0; at < text.size();) {
    const char c = text[at];
    const std::size_t length = Utf8Length(text, at);
    if (length == 0) {
      out += "\\ufffd";
      ++at;
      continue;
    }
    if (const char* escape = ShortEscape(c)) {
      out += escape;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      constexpr char hex[] = "0123456789abcdef";
      out += "\\u00";
      out += hex[(c >> 4) & 15];
      out += hex[c & 15];
    } else {
      out.append(text.substr(at, length));
    }
    at += length;
  }
  out += '"';
}

// A message of the single loan's reading names its option ("--amount: ..."); in a batch the
// value comes from a column of the same name ("amount: ...").
std::string_view ColumnMessage(std::string_view message) {
  if (!message.starts_with("--")) return message;
  const std::string_view name = message.substr(2, message.find(':') - 2);
  for (const char* column : columnNames) {
    if (name == column) return message.substr(2);
  }
  return message;
}

// What every loan of the file shares; only read while the loans are scheduled.
struct LoanFile {
  const BatchOptions& options;
  const int* columns;  // by BatchColumn
  std::size_t columnCount;
};

struct Slot {
  CsvRecord record;
  std::int64_t number = 0;  // among the file's loans, 1 for the first
};

// Loans scheduled together, in the file's order, and what they came to.
struct Batch {
  std::vector<Slot> slots;
  std::size_t count = 0;
  std::string output, messages;
  std::int64_t refused = 0;
  bool done = false;  // the loans are scheduled; guarded by the run's lock
  // The loan in hand, kept for its buffers.
  ScheduleRequest request;
  ExactLoan loan;
  std::string id, idText, calculated;
  ScheduleSummary summary;
};

void Tell(Batch& batch, const Slot& slot, std::string_view warning, std::string_view why) {
  std::string& out = batch.messages;
  out += programName;
  out += ": line ";
  out += std::to_string(slot.record.line);
  out += ", id ";
  out += QuotedInMessage(batch.id);
  out += ": ";
  out += warning;
  out += why;
  out += '\n';
}

// One summary row: each figure as the schedule prints it, the payoff date as mm/dd/yyyy.
struct SummaryFigures {
  std::string_view payment;
  std::int32_t payments = 0;
  std::string_view totalPaid, totalInterest, lastPayment, payoffDate;
};

void AppendSummary(ExportFormat format, std::string_view idText, const SummaryFigures& figures,
                   std::string& out) {
  char count[16];
  const std::string_view payments(
      count,
      static_cast<std::size_t>(std::to_chars(count, count + 16, figures.payments).ptr - count));
  if (format == ExportFormat::Csv) {
    for (const std::string_view field : {idText, figures.payment, payments, figures.totalPaid,
                                         figures.totalInterest, figures.lastPayment}) {
      out += field;
      out += ',';
    }
    out += figures.payoffDate;
    out += '\n';
    return;
  }
  const std::pair<const char*, std::string_view> members[] = {
      {"{\"id\": ", idText},
      {", \"monthly_payment\": ", figures.payment},
      {", \"payments\": ", payments},
      {", \"total_paid\": ", figures.totalPaid},
      {", \"total_interest\": ", figures.totalInterest},
      {", \"last_payment\": ", figures.lastPayment.empty() ? "null" : figures.lastPayment}};
  for (const auto& [key, value] : members) {
    out += key;
    out += value;
  }
  if (figures.payoffDate.empty()) {
    out += ", \"payoff_date\": null}\n";
  } else {
    out += ", \"payoff_date\": \"";
    out += figures.payoffDate;
    out += "\"}\n";
  }
}

// The calculator's schedule of one loan, as a batch writes it: CSV rows without their header
// row, each after the id; the JSON object on one line (each line break and its indentation
// gone, a comma before one keeping a space), its first member the id.
void AppendCalculatorRows(ExportFormat format, std::string_view idText, std::string_view calculated,
                          std::string& out) {
  if (format == ExportFormat::Csv) {
    std::size_t at = calculated.find('\n') + 1;  // after the header row
    while (at < calculated.size()) {
      const std::size_t end = calculated.find('\n', at) + 1;
      out += idText;
      out += ',';
      out += calculated.substr(at, end - at);
      at = end;
    }
    return;
  }
  out += "{\"id\": ";
  out += idText;
  out += ", ";
  for (std::size_t at = 1; at < calculated.size(); ++at) {
    if (calculated[at] != '\n' || at + 1 == calculated.size()) {
      out += calculated[at];
      continue;
    }
    if (out.back() == ',') out += ' ';
    while (at + 1 < calculated.size() && calculated[at + 1] == ' ') ++at;
  }
}

// Schedules one loan of the batch into its output, or tells why not.
void ScheduleLoan(const LoanFile& file, const Slot& slot, Batch& batch) {
  const CsvRecord& record = slot.record;
  const BatchOptions& options = file.options;
  const auto field = [&](BatchColumn column) {
    const int index = file.columns[Index(column)];
    return index >= 0 && static_cast<std::size_t>(index) < record.Size()
               ? record.Field(static_cast<std::size_t>(index))
               : std::string_view();
  };
  batch.id = field(BatchColumn::Id);
  if (batch.id.empty()) batch.id = std::to_string(slot.number);
  const auto refuse = [&](std::string_view why) {
    Tell(batch, slot, "", why);
    ++batch.refused;
  };
  if (record.problem != nullptr) return refuse(record.problem);
  if (record.Size() != file.columnCount) {
    return refuse("the line has " + std::to_string(record.Size()) +
                  " fields where the header has " + std::to_string(file.columnCount));
  }

  ScheduleRequest& request = batch.request;
  request.arithmetic = options.arithmetic;
  request.format = options.summary ? ExportFormat::Csv : options.format;
  const auto number = [&](BatchColumn column, std::string& value) {
    const std::string_view text = field(column);
    value.assign(text.data(), text.size());
    if (IsWholeNumber(value)) return true;
    const std::string name = columnNames[Index(column)];
    refuse(text.empty() ? name + " is empty"
                        : name + ": " + QuotedInMessage(text) + " is not a number");
    return false;
  };
  if (!number(BatchColumn::Amount, request.amount) || !number(BatchColumn::Rate, request.rate)) {
    return;
  }
  request.years.reset();
  request.months.reset();
  const bool years = !field(BatchColumn::Years).empty();
  const bool months = !field(BatchColumn::Months).empty();
  if (years && months) return refuse("years and months are both given: give the length one way");
  if (!years && !months) {
    const bool both = file.columns[Index(BatchColumn::Years)] >= 0 &&
                      file.columns[Index(BatchColumn::Months)] >= 0;
    return refuse(both ? "years and months are empty"
                       : (file.columns[Index(BatchColumn::Years)] >= 0 ? "years is empty"
                                                                       : "months is empty"));
  }
  if (!number(years ? BatchColumn::Years : BatchColumn::Months,
              years ? request.years.emplace() : request.months.emplace())) {
    return;
  }
  request.payment.reset();
  if (!field(BatchColumn::Payment).empty() &&
      !number(BatchColumn::Payment, request.payment.emplace())) {
    return;
  }
  const std::string_view date = field(BatchColumn::Date);
  if (date.empty()) {
    request.date = options.today;
  } else if (IsDateShape(date)) {
    request.date.assign(date.data(), date.size());
  } else {
    return refuse("date: " + QuotedInMessage(date) + " is not a date as mm/dd/yyyy");
  }

  batch.idText.clear();
  if (options.format == ExportFormat::Csv) {
    AppendCsvField(batch.id, batch.idText);
  } else {
    AppendJsonString(batch.id, batch.idText);
  }

  switch (options.arithmetic) {
    case Arithmetic::Exact: {
      if (const ScheduleProblem problem = ReadExactLoan(request, request.date, batch.loan)) {
        return refuse(ColumnMessage(problem.message));
      }
      loan::LoanSummary summary;
      if (options.summary) {
        summary = loan::SummarizeLoan(batch.loan.Terms()).value;
        char payment[loan::maxCentsText], paid[loan::maxCentsText], interest[loan::maxCentsText],
            last[loan::maxCentsText], payoff[loan::maxDateText];
        const auto text = [](char* start, char* end) {
          return std::string_view(start, static_cast<std::size_t>(end - start));
        };
        AppendSummary(options.format, batch.idText,
                      {text(payment, loan::FormatCents(summary.payment, payment)), summary.payments,
                       text(paid, loan::FormatCents(summary.totalPaid, paid)),
                       text(interest, loan::FormatCents(summary.totalInterest, interest)),
                       text(last, loan::FormatCents(summary.lastPayment, last)),
                       text(payoff, loan::FormatDate(summary.payoffDate, payoff))},
                      batch.output);
      } else {
        summary = AppendExactSchedule(
            batch.loan,
            {options.format, TextEncoding::Windows1252, JsonLayout::OneLine, batch.idText},
            batch.output);
      }
      if (summary.payment == 0) {
        Tell(batch, slot, "warning: ",
             "the monthly payment rounds to 0.00, so the last payment pays the whole amount");
      }
      return;
    }
    case Arithmetic::Calculator: {
      if (const ScheduleProblem problem =
              ProduceCalculatorSchedule(request, request.date, batch.calculated, batch.summary)) {
        return refuse(ColumnMessage(problem.message));
      }
      const ScheduleSummary& summary = batch.summary;
      if (options.summary) {
        AppendSummary(options.format, batch.idText,
                      {summary.monthlyPayment, summary.payments, summary.totalPaid,
                       summary.totalInterest, summary.lastPayment, summary.payoffDate},
                      batch.output);
      } else {
        AppendCalculatorRows(options.format, batch.idText, batch.calculated, batch.output);
      }
      return;
    }
  }
}

void ScheduleLoans(const LoanFile& file, Batch& batch) {
  for (std::size_t i = 0; i < batch.count; ++i) ScheduleLoan(file, batch.slots[i], batch);
}

}  // namespace

ScheduleBatch::ScheduleBatch(int input, BatchOptions options)
    : reader_(input), options_(std::move(options)) {}

ScheduleProblem ScheduleBatch::ReadHeader() {
  CsvRecord header;
  const std::string& name = options_.name;
  if (!reader_.Next(header)) {
    if (!reader_.Error().empty()) {
      return {exitUsage, "cannot read " + name + ": " + reader_.Error()};
    }
    return {exitUsage, name + " has no header row"};
  }
  const std::string of = "the header row of " + name;
  if (header.problem != nullptr) return {exitUsage, of + " is malformed: " + header.problem};
  columnCount_ = header.Size();
  std::string unknown;
  std::size_t unknownCount = 0;
  for (std::size_t i = 0; i < header.Size(); ++i) {
    std::string_view text = header.Field(i);
    // A spreadsheet may begin its file with a byte order mark.
    if (i == 0 && text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    const auto* kind = std::find(std::begin(columnNames), std::end(columnNames), text);
    if (kind == std::end(columnNames)) {
      if (unknownCount++ > 0) unknown += ", ";
      unknown += QuotedInMessage(text);
      continue;
    }
    int& column = columns_[kind - std::begin(columnNames)];
    if (column >= 0) return {exitUsage, of + " names the column " + *kind + " twice"};
    column = static_cast<int>(i);
  }
  if (unknownCount > 0) {
    return {exitUsage,
            of + (unknownCount == 1 ? " has an unknown column " : " has unknown columns ") +
                unknown + " (the columns are amount, rate, years or months, date, payment and id)"};
  }
  for (const BatchColumn column : {BatchColumn::Amount, BatchColumn::Rate}) {
    if (columns_[Index(column)] < 0) {
      return {exitUsage, of + " has no column " + columnNames[Index(column)]};
    }
  }
  if (columns_[Index(BatchColumn::Years)] < 0 && columns_[Index(BatchColumn::Months)] < 0) {
    return {exitUsage, of + " has neither a column years nor a column months"};
  }
  if (options_.arithmetic == Arithmetic::Calculator && columns_[Index(BatchColumn::Months)] >= 0) {
    return {exitUsage, "the column months of " + name +
                           " cannot be used with --calculator: the Quentara window takes the "
                           "length in years"};
  }
  return {};
}

int ScheduleBatch::Run(const Write& write, const Tell& tell) {
  const LoanFile file{options_, columns_, columnCount_};
  const std::size_t perBatch = options_.summary ? summaryLoans : scheduleLoans;
  bool writing = true;
  if (options_.format == ExportFormat::Csv) {
    std::string head = "id,";
    head += options_.summary ? summaryColumns : scheduleCsvColumns;
    head += '\n';
    writing = write(head);
  }

  // Workers take batches from the queue; the reading thread hands each finished batch on, in
  // the file's order. At most `most` batches are in hand: the reader waits for the oldest
  // before it reads more.
  const std::size_t jobs = static_cast<std::size_t>(std::max(1, options_.jobs));
  const std::size_t most = jobs == 1 ? 1 : 2 * jobs + 1;
  std::vector<std::unique_ptr<Batch>> batches;
  std::deque<Batch*> inHand, queue;
  std::mutex lock;
  std::condition_variable queued, finished;
  bool closing = false;
  std::vector<std::thread> workers;
  for (std::size_t i = 0; jobs > 1 && i < jobs; ++i) {
    workers.emplace_back([&] {
      for (;;) {
        Batch* batch = nullptr;
        {
          std::unique_lock held(lock);
          queued.wait(held, [&] { return closing || !queue.empty(); });
          if (queue.empty()) return;
          batch = queue.front();
          queue.pop_front();
        }
        ScheduleLoans(file, *batch);
        {
          const std::lock_guard held(lock);
          batch->done = true;
        }
        finished.notify_all();
      }
    });
  }
  const auto handOn = [&](Batch& batch) {
    {
      std::unique_lock held(lock);
      finished.wait(held, [&] { return batch.done; });
    }
    if (!batch.messages.empty()) tell(batch.messages);
    refused_ += batch.refused;
    if (writing && !batch.output.empty()) writing = write(batch.output);
  };

  Batch* spare = nullptr;
  for (bool more = writing; more;) {
    Batch* batch = spare;
    spare = nullptr;
    if (batch == nullptr && batches.size() < most) {
      batch = batches.emplace_back(std::make_unique<Batch>()).get();
      batch->slots.resize(perBatch);
    } else if (batch == nullptr) {
      batch = inHand.front();
      inHand.pop_front();
      handOn(*batch);
      if (!writing) break;
    }
    batch->count = 0;
    batch->output.clear();
    batch->messages.clear();
    batch->refused = 0;
    batch->done = false;
    while (batch->count < perBatch) {
      Slot& slot = batch->slots[batch->count];
      if (!reader_.Next(slot.record)) {
        more = false;
        break;
      }
      slot.number = ++loans_;
      ++batch->count;
    }
    if (batch->count == 0) break;
    if (jobs == 1) {
      ScheduleLoans(file, *batch);
      batch->done = true;
      handOn(*batch);
      spare = batch;
      more = more && writing;
      continue;
    }
    {
      const std::lock_guard held(lock);
      queue.push_back(batch);
    }
    inHand.push_back(batch);
    queued.notify_one();
  }
  for (; !inHand.empty(); inHand.pop_front()) handOn(*inHand.front());
  {
    const std::lock_guard held(lock);
    closing = true;
  }
  queued.notify_all();
  for (std::thread& worker : workers) worker.join();

  if (!reader_.Error().empty()) {
    tell(std::string(programName) + ": cannot read " + options_.name + ": " + reader_.Error() +
         "\n");
    return exitUsage;
  }
  return !writing || refused_ > 0 ? exitRefused : exitWritten;
}

}  // namespace quentara
