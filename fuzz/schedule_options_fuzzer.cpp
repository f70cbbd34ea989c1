// Feeds quentara-schedule's command-line reader with arbitrary arguments (the input split
// at zero bytes) and computes whatever it accepts, in exact cents or with the calculator's
// figures, without writing anything. What must hold: a refused command line says why; an
// accepted one holds whole numbers, one length and a date of the form mm/dd/yyyy; the
// schedule is either refused or its values are not allowed, with one message line and no
// output, or it is produced; an exact schedule's CSV rows end at a balance of 0.00.
//
// An input that starts with byte 0x01 is a batch instead: its next byte chooses the options
// (bit 0 --summary, bit 1 JSON, bit 2 --calculator) and the rest is the file of loans, read
// from a file in memory on one thread and on two. What must hold: a refused header gives one
// message line and no output; otherwise both runs give the same bytes and messages, every
// message is a line about a line of the file, and the output is the CSV header row and rows
// that begin with an id, or one JSON object a line.

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "tool/schedule_batch.h"
#include "tool/schedule_tool.h"

namespace {

using namespace quentara;

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

struct BatchRun {
  int code = 0;
  std::string output, messages;
};

BatchRun RunBatch(int file, const BatchOptions& options) {
  BatchRun run;
  if (lseek(file, 0, SEEK_SET) != 0) std::abort();
  ScheduleBatch batch(file, options);
  if (const ScheduleProblem problem = batch.ReadHeader()) {
    run.code = problem.exitCode;
    run.messages = problem.message + "\n";
    return run;
  }
  run.code = batch.Run(
      [&](std::string_view bytes) {
        run.output += bytes;
        return true;
      },
      [&](std::string_view lines) { run.messages += lines; });
  return run;
}

void FuzzBatch(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return;
  BatchOptions options;
  options.summary = (data[1] & 1) != 0;
  options.format = (data[1] & 2) != 0 ? ExportFormat::Json : ExportFormat::Csv;
  options.arithmetic = (data[1] & 4) != 0 ? Arithmetic::Calculator : Arithmetic::Exact;
  options.today = "01/31/2004";
  const int file = memfd_create("loans", MFD_CLOEXEC);
  if (file < 0) std::abort();
  const auto* bytes = reinterpret_cast<const char*>(data + 2);
  for (std::size_t at = 0; at < size - 2;) {
    const ssize_t written = write(file, bytes + at, size - 2 - at);
    if (written <= 0) std::abort();
    at += static_cast<std::size_t>(written);
  }
  options.jobs = 1;
  const BatchRun one = RunBatch(file, options);
  options.jobs = 2;
  const BatchRun two = RunBatch(file, options);
  close(file);
  if (one.code != two.code || one.output != two.output || one.messages != two.messages) {
    std::abort();
  }
  if (one.code == exitUsage) {
    if (!one.output.empty() || one.messages.find('\n') + 1 != one.messages.size()) std::abort();
    return;
  }
  const std::string told = std::string(programName) + ": line ";
  for (std::size_t at = 0; at < one.messages.size(); at = one.messages.find('\n', at) + 1) {
    if (one.messages.compare(at, told.size(), told) != 0) std::abort();
  }
  const std::string_view output = one.output;
  std::size_t at = 0;
  if (options.format == ExportFormat::Csv) {
    if (!output.starts_with(options.summary ? "id,monthly_payment," : "id,due_date,")) {
      std::abort();
    }
    at = output.find('\n') + 1;
  }
  // Each JSON line is an object that begins with its id; an id never holds a raw line break
  // there. CSV rows are checked only for their end, since a quoted id may hold line breaks.
  for (; at < output.size(); at = output.find('\n', at) + 1) {
    if (options.format == ExportFormat::Json &&
        (output.compare(at, 8, "{\"id\": \"") != 0 ||
         output.compare(output.find('\n', at) - 1, 1, "}") != 0)) {
      std::abort();
    }
  }
  if (!output.empty() && !output.ends_with('\n')) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 0 && data[0] == 1) {
    FuzzBatch(data, size);
    return 0;
  }
  std::vector<std::string> texts(1);
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      texts.emplace_back();
    } else {
      texts.back() += static_cast<char>(data[i]);
    }
  }
  std::vector<const char*> arguments;
  for (const std::string& text : texts) arguments.push_back(text.c_str());

  ScheduleRequest request;
  std::string error;
  if (!ParseScheduleArguments(arguments, request, error)) {
    if (error.empty()) std::abort();
    return 0;
  }
  if (request.help || request.batch) return 0;
  if (request.years.has_value() == request.months.has_value()) std::abort();
  for (const auto& number : {std::optional(request.amount), std::optional(request.rate),
                             request.years, request.months, request.payment}) {
    if (number && !IsWholeNumber(*number)) std::abort();
  }
  if (request.output.empty()) std::abort();

  std::string output, messages;
  const int code = ProduceSchedule(request, output, messages);
  if (code == exitRefused || code == exitUsage) {
    if (!output.empty() || messages.rfind("quentara-schedule: ", 0) != 0 ||
        messages.find('\n') + 1 != messages.size()) {
      std::abort();
    }
  } else if (code == exitWritten) {
    if (request.summary && messages.find("monthly payment: ") == std::string::npos) std::abort();
    const bool exact = request.arithmetic == Arithmetic::Exact;
    switch (request.format) {
      case ExportFormat::Text:
        if (!output.empty() && !EndsWith(output, "\r\n")) std::abort();
        break;
      case ExportFormat::Csv:
        if (output.rfind("due_date,balance,", 0) != 0 || !EndsWith(output, "\n")) std::abort();
        // The last row's balance, its second field.
        if (exact && output.compare(output.rfind('\n', output.size() - 2) + 11, 6, ",0.00,") != 0) {
          std::abort();
        }
        break;
      case ExportFormat::Json:
        if (output.rfind("{\n", 0) != 0 || !EndsWith(output, "}\n}\n")) std::abort();
        break;
    }
  } else {
    std::abort();
  }
  return 0;
}
