// Runs the calculator's whole computation, from the four texts of the form's input fields
// to Loan.txt in a folder of its own, and checks what every report must be: at most 602
// rows, each row line 98 bytes and CR LF, a year block before rows 1, 13, 25, ... and
// nothing else; no report at all when the loan is refused or the program would end; and
// the same outcome when the same texts are computed again. Input: one byte of flags (bit
// 0: the second computation comes in the same run of the program, after the first;
// otherwise in a fresh run), then the date, amount, rate and length texts separated by zero
// bytes, each cut at 31999 characters as the form reads it. Where the window program would
// end (a fatal date, a report that cannot be created), the computation is counted as ended
// and the fuzzer goes on.

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

const fs::path& Report() {
  static const fs::path report = [] {
    // In memory where the system offers it: every computation writes its report anew.
    const char* base = fs::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
    std::string pattern = std::string(base) + "/quentara-fuzz.XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    SetProgramFolder((pattern + "/").c_str());
    InitTextFiles();
    CreateScheduleTable();
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

// One computation as the payment field runs it, the messages left unshown.
Outcome Compute(const Fields& fields) {
  fs::remove(Report());
  Outcome outcome;
  DueDateState dueDates;
  Text dueDate;
  if (TakeFirstDueDate(dueDates, fields.date.c_str(), dueDate).fatal) {
    outcome.ended = true;
    return outcome;
  }
  ScheduleState state =
      LoanFromFieldTexts(fields.amount.c_str(), fields.rate.c_str(), fields.length.c_str());
  SetTextAreaEnd(FormatFixed(state.monthlyPayment, 2));  // the payment field's text
  const ScheduleCheck check = CheckSchedule(state, dueDates, dueDate.View());
  outcome.refused = check.refusal != nullptr;
  outcome.ended = check.firstDate.fatal;
  ScheduleFile file;
  if (!check.Passed()) {
    // Nothing is written.
  } else if (!file.Create()) {
    outcome.ended = true;
  } else {
    // The first date was judged, so the later ones have nothing to say.
    ScheduleRows rows(state, dueDates, dueDate.View());
    if (!rows.Run(file).IsClear()) std::abort();
    file.Close();
  }
  if (TextAreaEnd() != TextAreaStart()) std::abort();
  if (fs::exists(Report())) {
    std::ifstream in(Report(), std::ios::binary);
    outcome.report = std::string(std::istreambuf_iterator<char>(in), {});
  }
  if ((outcome.refused || outcome.ended) && outcome.report) std::abort();
  // A loan that is scheduled has a row, so its report is never empty.
  if (!outcome.ended && !outcome.refused && (!outcome.report || outcome.report->empty())) {
    std::abort();
  }
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

  const Outcome first = Compute(fields);
  if (first.report) CheckLayout(*first.report);
  // The program has ended after a fatal date: there is no second computation in that run.
  if (sameRun && first.ended) return 0;
  // Every computation judges its first date anew, so a second one in the same run and one
  // in a fresh run both give what the first gave.
  if (Compute(fields) != first) std::abort();
  return 0;
}
