// Feeds quentara-schedule's command-line reader with arbitrary arguments (the input split
// at zero bytes) and computes whatever it accepts, in exact cents or with the calculator's
// figures, without writing anything. What must hold: a refused command line says why; an
// accepted one holds whole numbers, one length and a date of the form mm/dd/yyyy; the
// schedule is either refused or its values are not allowed, with one message line and no
// output, or it is produced; an exact schedule's CSV rows end at a balance of 0.00.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "tool/schedule_tool.h"

namespace {

using namespace quentara;

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
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
  if (request.help) return 0;
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
