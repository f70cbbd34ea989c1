// What the exact-cents engine costs: the payment and all 601 rows of 100000.00 at 3 % over
// 601 months; the same loan at a rate of 15 decimals, whose interest needs 128-bit
// division; and payments whose cent is settled exactly: one a hair from a half cent, and
// the largest loan.

#include <benchmark/benchmark.h>
#include <quentara/loan.h>

#include <cstdint>

namespace {

using namespace quentara::loan;

LoanTerms Loan(Cents amount, Rate rate, std::int32_t months) {
  LoanTerms terms;
  terms.amount = amount;
  terms.rate = rate;
  terms.months = months;
  terms.firstDueDate = {2004, 1, 31};
  return terms;
}

void WalkWholeSchedule(benchmark::State& run, LoanTerms terms) {
  std::int64_t rows = 0;
  for (auto _ : run) {
    ScheduleWalker walker(terms);
    if (walker.Start().error != LoanError::None) {
      run.SkipWithError("the loan was refused");
      break;
    }
    ScheduleRow row;
    while (walker.Next(row)) benchmark::DoNotOptimize(row);
    rows += row.number;
  }
  run.counters["rows"] = benchmark::Counter(static_cast<double>(rows), benchmark::Counter::kIsRate);
}
BENCHMARK_CAPTURE(WalkWholeSchedule, Longest, Loan(10000000, {3, 0}, 601))
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(WalkWholeSchedule, LongestFifteenDecimals,
                  Loan(10000000, {3123456789012345, 15}, 601))
    ->Unit(benchmark::kMicrosecond);

void SettlePayment(benchmark::State& run, LoanTerms terms) {
  for (auto _ : run) benchmark::DoNotOptimize(ComputePayment(terms).value);
}
BENCHMARK_CAPTURE(SettlePayment, NearHalf, Loan(12080599156343, {3, 0}, 601))
    ->Unit(benchmark::kMicrosecond);
// The largest loan, whose cents a floating-point estimate cannot tell apart, at a rate of 15
// decimals over the longest term: the largest powers there are.
BENCHMARK_CAPTURE(SettlePayment, Largest, Loan(maxAmount, {999123456789012345, 15}, 1200))
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
