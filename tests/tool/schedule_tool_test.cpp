// quentara-schedule's engine: with --calculator, the text it produces against Loan.txt as the
// calculator writes it for the same field texts and a payment of one's own; the exact
// report's layout; and the command line read strictly. What the program prints, its exit
// codes and its files are checked on the real binary by schedule_tool_test.py, the exact
// figures against a model by schedule_model_test.py.

#include "tool/schedule_tool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "calc/due_dates.h"
#include "calc/schedule_report.h"
#include "files/text_file.h"
#include "tests/dates/clock_guards.h"
#include "tests/support/program_folder_guard.h"

namespace quentara {
namespace {

struct Loan {
  const char* name;
  const char* date;
  const char* amount;
  const char* rate;
  const char* years;
};

class BothWriters : public ::testing::TestWithParam<Loan> {
 protected:
  void SetUp() override { InitTextFiles(); }

  // Loan.txt as the calculator writes it from the four field texts, in a fresh run.
  std::string CalculatorReport(const Loan& loan) {
    DueDateState dueDates;
    Text dueDate;
    EXPECT_TRUE(TakeFirstDueDate(dueDates, loan.date, dueDate).IsClear());
    ScheduleState state = LoanFromFieldTexts(loan.amount, loan.rate, loan.years);
    EXPECT_EQ(LoanRefusalMessage(state), nullptr);
    ScheduleFile report;
    EXPECT_TRUE(report.Create());
    ScheduleRows rows(state, dueDates, dueDate.View());
    EXPECT_TRUE(rows.Run(report).IsClear());
    EXPECT_TRUE(report.Close());
    return folder_.Read("Loan.txt");
  }

  testing::ProgramFolderGuard folder_;
};

ScheduleRequest Request(const Loan& loan) {
  ScheduleRequest request;
  request.arithmetic = Arithmetic::Calculator;
  request.date = loan.date;
  request.amount = loan.amount;
  request.rate = loan.rate;
  request.years = loan.years;
  return request;
}

TEST_P(BothWriters, TextIsLoanTxtByteForByte) {
  const Loan& loan = GetParam();
  const std::string calculator = CalculatorReport(loan);
  std::string output, messages;
  ASSERT_EQ(ProduceSchedule(Request(loan), output, messages), exitWritten) << messages;
  EXPECT_EQ(messages, "");
  EXPECT_EQ(output, calculator);
}

INSTANTIATE_TEST_SUITE_P(
    Loans, BothWriters,
    ::testing::Values(Loan{"WorkedExample", "01/31/2004", "5000.00", "4.00", "1.0"},
                      Loan{"EighteenPercentOverFortyYears", "01/15/2004", "12345.67", "18", "40"},
                      Loan{"FirstDueOnALeapDay", "02/29/2004", "5000", "4", "3"},
                      Loan{"LeapCentury", "01/30/2000", "900", "7.5", "2"},
                      Loan{"CommonCentury", "01/29/2100", "900", "7.5", "2"},
                      Loan{"AugustThirtyFirst", "08/31/2004", "20000", "5.25", "1.5"},
                      Loan{"YearEnd", "12/31/2199", "1000", "3", "2"},
                      Loan{"FiftyYearsAndOneMonth", "03/31/2004", "250000", "6.5", "50.08333"},
                      Loan{"TinyAmount", "06/15/2004", "0.02", "4", "1"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ScheduleTool, OwnPaymentEndsEarlyAndTheSummaryCountsTheSavings) {
  ScheduleRequest request = Request({"", "01/31/2004", "5000", "4", "1"});
  request.payment = "500";
  request.format = ExportFormat::Csv;
  request.summary = true;
  std::string output, messages;
  ASSERT_EQ(ProduceSchedule(request, output, messages), exitWritten) << messages;
  // A header and 11 rows; the eleventh pays the balance and its interest.
  EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 12);
  EXPECT_TRUE(
      output.ends_with("10/31/2004,93.52,4.00,500.00,1.97,498.03,5000.00,93.52,4906.48\n"
                       "11/30/2004,-0.00,4.00,93.83,0.31,93.52,5093.83,93.83,5000.00\n"));
  // 12 payments and 108.99 of interest at the computed 425.75.
  EXPECT_EQ(messages,
            "monthly payment: 500.00\n"
            "computed monthly payment: 425.75\n"
            "payments: 11\n"
            "total paid: 5093.83\n"
            "total interest: 93.83\n"
            "last payment: 93.83\n"
            "payments saved: 1\n"
            "interest saved: 15.16\n");
}

TEST(ScheduleTool, PaymentBelowTheComputedOneLeavesABalance) {
  ScheduleRequest request = Request({"", "01/31/2004", "5000", "4", "1"});
  request.payment = "300";
  request.summary = true;
  std::string output, messages;
  ASSERT_EQ(ProduceSchedule(request, output, messages), exitWritten) << messages;
  // 13 rows are allowed for 12 months; none of them can pay the rest: 5000 - 3757.91.
  EXPECT_EQ(messages,
            "monthly payment: 300.00\n"
            "computed monthly payment: 425.75\n"
            "payments: 13\n"
            "total paid: 3900.00\n"
            "total interest: 142.09\n"
            "last payment: 300.00\n"
            "balance left: 1242.09\n"
            "payments added: 1\n"
            "interest added: 33.10\n");
}

TEST(ScheduleTool, WithoutADateTheFirstPaymentIsDueToday) {
  testing::TimeZoneGuard zone("UTC0");
  testing::FixedClock clock(2147601600);  // 2038-01-20 12:00 UTC
  std::string output, messages;
  ASSERT_EQ(ProduceSchedule(Request({"", "", "5000", "4", "1"}), output, messages), exitWritten)
      << messages;
  // The year block, then row 1 with today's date.
  EXPECT_EQ(output.substr(313, 10), "01/20/2038");
}

TEST(IsWholeNumber, TakesOnlyAWholeArgument) {
  const struct {
    const char* text;
    bool number;
  } rows[] = {
      {"5000", true},   {"5000.00", true}, {"-1", true},     {"+4", true},     {".5", true},
      {"5.", true},     {"1.5e2", true},   {"1E-3", true},   {"1e+39", true},  {"5,000", false},
      {"", false},      {".", false},      {"-", false},     {"1e", false},    {"e5", false},
      {"nan", false},   {"inf", false},    {"0x10", false},  {" 5", false},    {"5 ", false},
      {"1.2.3", false}, {"--5", false},    {"5e1.5", false}, {"1_000", false},
  };
  for (const auto& row : rows) EXPECT_EQ(IsWholeNumber(row.text), row.number) << row.text;
}

}  // namespace
}  // namespace quentara
