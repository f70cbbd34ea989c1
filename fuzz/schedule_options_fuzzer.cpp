// Feeds quentara-schedule's command-line reader with arbitrary arguments (the input split
// at zero bytes) and computes whatever it accepts, without writing anything. What must
// hold: a refused command line says why; an accepted one holds whole numbers and a date of
// the form mm/dd/yyyy; the schedule is either refused with a message or produced.

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
  for (const std::string* number : {&request.amount, &request.rate, &request.years}) {
    if (!IsWholeNumber(*number)) std::abort();
  }
  if (request.payment && !IsWholeNumber(*request.payment)) std::abort();
  if (request.output.empty()) std::abort();

  std::string output, messages;
  const int code = ProduceSchedule(request, output, messages);
  if (code == exitRefused) {
    if (!output.empty() || messages.rfind("quentara-schedule: ", 0) != 0) std::abort();
  } else if (code == exitWritten) {
    if (request.summary && messages.rfind("monthly payment: ", 0) != 0) std::abort();
    switch (request.format) {
      case ExportFormat::Text:
        if (!output.empty() && !EndsWith(output, "\r\n")) std::abort();
        break;
      case ExportFormat::Csv:
        if (output.rfind("due_date,balance,", 0) != 0 || !EndsWith(output, "\n")) std::abort();
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
