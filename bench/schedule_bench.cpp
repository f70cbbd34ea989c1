// What writing the longest schedule costs: computing and writing all 602 rows of a loan of
// 601 months through the report writer, beside writing the very same bytes with bare write
// calls (two a line, as the report writer does), so that the figure shows what the
// arithmetic and the text handling add to the system calls; and beside quentara-schedule,
// which computes the same report and writes it in one go, to a file and to /dev/null. The
// tool's report text into a string, in exact cents beside the calculator's figures, shows
// what the exact arithmetic costs.
// Files are written both ways a person meets: replacing the report of the last run, and
// as a new file (the one left by the last run removed, outside the measured time). On ext4
// the two differ: replacing a file whose data is not yet on disk makes the file system
// start writing the new data back at once.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "calc/due_dates.h"
#include "calc/schedule_report.h"
#include "files/output_file.h"
#include "files/program_folder.h"
#include "files/text_file.h"
#include "text/string_ops.h"
#include "tool/schedule_tool.h"

namespace {

namespace fs = std::filesystem;
using namespace quentara;

// The benchmarks' own folder in /tmp, removed when they are done.
struct BenchFolder {
  BenchFolder()
      : path(fs::temp_directory_path() / ("quentara-bench-" + std::to_string(::getpid()))) {
    fs::create_directories(path);
  }
  ~BenchFolder() {
    std::error_code ignored;
    fs::remove_all(path, ignored);
  }
  BenchFolder(const BenchFolder&) = delete;
  BenchFolder& operator=(const BenchFolder&) = delete;
  fs::path path;
};

const fs::path& Folder() {
  static const BenchFolder folder;
  static const bool ready = [] {
    SetProgramFolder((folder.path.string() + "/").c_str());
    InitTextFiles();
    CreateScheduleTable();
    return true;
  }();
  (void)ready;
  return folder.path;
}

ScheduleState LongestLoan() {
  ScheduleState state;
  state.balance = state.loanAmount = 100000.0f;
  state.annualRate = 3.0f;
  state.loanYears = 601.0f / 12.0f;
  return state;
}

// Whether a file benchmark replaces the last run's file or writes a new one.
enum class Target { Replaced, New };

// Before a run that writes a new file: the last run's file goes, unmeasured.
void RemoveUnmeasured(benchmark::State& run, Target target, const fs::path& path) {
  if (target == Target::Replaced) return;
  run.PauseTiming();
  fs::remove(path);
  run.ResumeTiming();
}

void WriteLongestSchedule(benchmark::State& run, Target target) {
  Folder();
  DueDateState dueDates;
  AssignText(dueDates.firstPaymentDay, "31");
  for (auto _ : run) {
    RemoveUnmeasured(run, target, Folder() / "Loan.txt");
    ScheduleState state = LongestLoan();
    ComputePayment(state);
    ScheduleFile report;
    ScheduleRows rows(state, dueDates, "01/31/2004");
    if (!report.Create() || !rows.Run(report).IsClear() || !report.Close()) {
      run.SkipWithError("the schedule was not written");
      break;
    }
    benchmark::DoNotOptimize(state.balance);
  }
  run.counters["rows"] = 602;
}
BENCHMARK_CAPTURE(WriteLongestSchedule, Replacing, Target::Replaced)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(WriteLongestSchedule, New, Target::New)->Unit(benchmark::kMicrosecond);

void BareWritesOfTheSameLines(benchmark::State& run) {
  Folder();
  // The lines of the report, as written by the benchmark above.
  std::ifstream in(Folder() / "Loan.txt", std::ios::binary);
  std::string report(std::istreambuf_iterator<char>(in), {});
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < report.size();) {
    std::size_t end = report.find("\r\n", start);
    lines.push_back(report.substr(start, end - start));
    start = end + 2;
  }
  const fs::path path = Folder() / "Bare.txt";
  for (auto _ : run) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    for (const std::string& line : lines) {
      if (!line.empty()) benchmark::DoNotOptimize(::write(fd, line.data(), line.size()));
      benchmark::DoNotOptimize(::write(fd, "\r\n", 2));
    }
    ::close(fd);
  }
  run.counters["lines"] = static_cast<double>(lines.size());
}
BENCHMARK(BareWritesOfTheSameLines)->Unit(benchmark::kMicrosecond);

// quentara-schedule's work for the same loan: the report text, gathered, then written whole.
void ToolWritesTheLongestSchedule(benchmark::State& run, const std::string& path, Target target) {
  // Moved in, not assigned from literals, which GCC 12 misreads under -Wrestrict.
  ScheduleRequest request;
  request.amount = std::string("100000");
  request.rate = std::string("3");
  request.years = std::string("50.083333");
  request.date = std::string("01/31/2004");
  std::string output, messages, error;
  for (auto _ : run) {
    RemoveUnmeasured(run, target, path);
    output.clear();
    if (ProduceSchedule(request, output, messages) != exitWritten ||
        !WriteWholeFile(path, output, error)) {
      run.SkipWithError("the schedule was not written");
      break;
    }
  }
  run.counters["rows"] =
      static_cast<double>(std::count(output.begin(), output.end(), '\n') - 51 * 5);
}

void ToolToFile(benchmark::State& run, Target target) {
  ToolWritesTheLongestSchedule(run, (Folder() / "schedule.txt").string(), target);
}
BENCHMARK_CAPTURE(ToolToFile, Replacing, Target::Replaced)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ToolToFile, New, Target::New)->Unit(benchmark::kMicrosecond);

void ToolToDevNull(benchmark::State& run) {
  ToolWritesTheLongestSchedule(run, "/dev/null", Target::Replaced);
}
BENCHMARK(ToolToDevNull)->Unit(benchmark::kMicrosecond);

// quentara-schedule's schedule of 100000.00 at 3 % over 601 months into a string, nothing
// written: the whole per-loan path, from the option texts to the bytes.
void ToolScheduleToString(benchmark::State& run, Arithmetic arithmetic, ExportFormat format) {
  ScheduleRequest request;
  request.amount = std::string("100000");
  request.rate = std::string("3");
  request.years = std::string("50.083333");
  request.date = std::string("01/31/2004");
  request.arithmetic = arithmetic;
  request.format = format;
  std::string output, messages;
  std::int64_t rows = 0;
  for (auto _ : run) {
    output.clear();
    if (ProduceSchedule(request, output, messages) != exitWritten) {
      run.SkipWithError("the schedule was not written");
      break;
    }
    benchmark::DoNotOptimize(output.data());
    rows += arithmetic == Arithmetic::Exact ? 601 : 602;
  }
  run.counters["rows"] = benchmark::Counter(static_cast<double>(rows), benchmark::Counter::kIsRate);
}
BENCHMARK_CAPTURE(ToolScheduleToString, ExactText, Arithmetic::Exact, ExportFormat::Text)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ToolScheduleToString, CalculatorText, Arithmetic::Calculator, ExportFormat::Text)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ToolScheduleToString, ExactCsv, Arithmetic::Exact, ExportFormat::Csv)
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
