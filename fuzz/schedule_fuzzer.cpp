// Runs the calculator's whole computation, from the four texts of the form's input fields
// to Loan.txt in a folder of its own, and checks what every report must be: at most 602
// rows, each row line 98 bytes and CR LF, a year block before rows 1, 13, 25, ... and
// nothing else, and the same bytes when the same texts are computed again. Input: one
// byte of flags (bit 0: the second computation comes in the same run of the program, after
// the first date was checked; otherwise in a fresh run), then the date, amount, rate and
// length texts separated by zero bytes, each cut at 31999 characters as the form reads it.
// The end of the program (a fatal date) is caught, so that the fuzzer goes on.

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

#include "calc/due_dates.h"
#include "calc/messages.h"
#include "calc/program_end.h"
#include "calc/schedule_arithmetic.h"
#include "calc/schedule_report.h"
#include "files/program_folder.h"
#include "files/text_file.h"
#include "text/number_format.h"
#include "text/text_area.h"

namespace {

using namespace quentara;
namespace fs = std::filesystem;

constexpr std::size_t fieldLimit = 31999;

struct ProgramEnded {};

void ThrowProgramEnded() {
  throw ProgramEnded{};
}

std::int32_t IgnoreMessage(const char*, const char*, std::uint32_t) {
  return 1;
}

const fs::path& Report() {
  static const fs::path report = [] {
    // In memory where the system offers it: every computation writes its report anew.
    const char* base = fs::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
    std::string pattern = std::string(base) + "/quentara-fuzz.XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    SetProgramFolder((pattern + "/").c_str());
    InitTextFiles();
    CreateScheduleTable();
    SetMessageBoxFunction(IgnoreMessage);
    SetProgramEndCatcher(ThrowProgramEnded);
    std::atexit([] { fs::remove_all(fs::path(ProgramFolder())); });
    return fs::path(pattern) / "Loan.txt";
  }();
  return report;
}

// Writing the report makes its folder the current directory, but the fuzzer names its corpus
// and crash files relative to the directory it was started in: that one is entered again
// after every input.
class KeepWorkingDirectory {
 public:
  KeepWorkingDirectory() : folder_(open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (folder_ < 0) std::abort();
  }
  ~KeepWorkingDirectory() {
    if (fchdir(folder_) != 0) std::abort();
    close(folder_);
  }
  KeepWorkingDirectory(const KeepWorkingDirectory&) = delete;
  KeepWorkingDirectory& operator=(const KeepWorkingDirectory&) = delete;

 private:
  int folder_;
};

struct Fields {
  std::string date, amount, rate, length;
};

struct Outcome {
  bool ended = false;
  bool refused = false;
  std::optional<std::string> report;
  bool operator==(const Outcome&) const = default;
};

Outcome Compute(const Fields& fields) {
  fs::remove(Report());
  Outcome outcome;
  try {
    Text dueDate;
    TakeFirstDueDate(fields.date.c_str(), dueDate);
    ScheduleState state =
        LoanFromFieldTexts(fields.amount.c_str(), fields.rate.c_str(), fields.length.c_str());
    SetTextAreaEnd(FormatFixed(state.monthlyPayment, 2));  // the payment field's text
    outcome.refused = WriteScheduleFile(state, dueDate.View()) == ScheduleFileResult::Refused;
    if (outcome.refused != LoanIsTooLong(state.loanYears)) std::abort();
    if (TextAreaEnd() != TextAreaStart()) std::abort();
  } catch (const ProgramEnded&) {
    // The process's end would close the report; the next computation must find it closed.
    outcome.ended = true;
    CloseTextFile(0);
    SetTextAreaEnd(TextAreaStart());
  }
  if (fs::exists(Report())) {
    std::ifstream in(Report(), std::ios::binary);
    outcome.report = std::string(std::istreambuf_iterator<char>(in), {});
  }
  if (outcome.refused && outcome.report) std::abort();
  if (!outcome.ended && !outcome.refused && !outcome.report) std::abort();
  return outcome;
}

std::string YearBlock(std::int32_t year) {
  return "\r\n" + std::string(65, ' ') + "|-----------  Totals ------------|\r\n" +
         "  Due Date     Balance  Rate    Payment    Interest   Principal      Paid      "
         "Interest   Principal\r\n" +
         std::string(99, '\xAF') + "\r\nYear:" + std::to_string(year) + "\r\n";
}

// Walks the report by its fixed sizes (a due date may itself hold CR or LF): a year block
// before every twelfth row, each row 98 bytes and CR LF, and nothing left over.
void CheckLayout(std::string_view report) {
  std::size_t at = 0;
  std::int32_t rows = 0;
  while (at < report.size()) {
    if (rows % 12 == 0) {
      const std::string block = YearBlock(rows / 12 + 1);
      if (report.compare(at, block.size(), block) != 0) std::abort();
      at += block.size();
    }
    if (report.size() - at < 100 || report.compare(at + 98, 2, "\r\n") != 0) std::abort();
    at += 100;
    if (++rows > scheduleTableSize) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const bool sameRun = (data[0] & 1) != 0;
  std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  Fields fields;
  for (std::string* field : {&fields.date, &fields.amount, &fields.rate, &fields.length}) {
    const std::size_t end = rest.find('\0');
    *field = std::string(rest.substr(0, std::min(std::min(end, rest.size()), fieldLimit)));
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
  }
  const KeepWorkingDirectory keep;
  Report();

  dateValidated = false;  // a fresh run of the program
  const Outcome first = Compute(fields);
  if (first.report) CheckLayout(*first.report);
  // The program has ended after a fatal date: there is no second computation in that run.
  if (sameRun && first.ended) return 0;
  if (!sameRun) dateValidated = false;
  if (Compute(fields) != first) std::abort();
  return 0;
}
