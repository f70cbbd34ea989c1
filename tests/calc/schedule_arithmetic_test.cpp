// The payment and the rows of a loan, compared with figures worked out by hand in single
// precision.

#include "calc/schedule_arithmetic.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "loan_terms.h"
#include "text/number_format.h"
#include "text/text_area.h"

namespace quentara {
namespace {

std::string Fixed(float value) {
  char* start = FormatFixed(value, 2);
  std::string text = start;
  SetTextAreaEnd(start);
  return text;
}

ScheduleState Loan(float amount, float rate, float years) {
  return LoanWithPayment(amount, rate, years);
}

// The eight figures of every row, as the report prints them.
std::vector<std::string> Rows(ScheduleState state) {
  std::vector<std::string> rows;
  while (ScheduleRowBegins(state) && rows.size() < 1000) {
    ComputeScheduleRow(state);
    rows.push_back(Fixed(state.balance) + " " + Fixed(state.annualRate) + " " +
                   Fixed(state.payment) + " " + Fixed(state.interest) + " " +
                   Fixed(state.principal) + " " + Fixed(state.totalPaid) + " " +
                   Fixed(state.totalInterest) + " " + Fixed(state.totalPrincipal));
    AdvanceScheduleRow(state);
  }
  return rows;
}

TEST(ComputePayment, WorkedExampleIntermediateValues) {
  ScheduleState state = Loan(5000.0f, 4.0f, 1.0f);
  EXPECT_EQ(state.monthlyRate, 0.0033333334f);
  EXPECT_EQ(state.monthCount, 12);
  EXPECT_EQ(state.growthBase, 1.0033333f);
  EXPECT_EQ(state.growthFactor, 1.0407416f);
  EXPECT_EQ(state.monthlyPayment, 425.74933f);
  EXPECT_EQ(Fixed(state.monthlyPayment), "425.75");
}

TEST(ScheduleRows, WorkedExampleHasTwelveRowsEndingAtMinusZero) {
  const std::vector<std::string> expected = {
      "4590.92 4.00 425.75 16.67 409.08 425.75 16.67 409.08",
      "4180.47 4.00 425.75 15.30 410.45 851.50 31.97 819.53",
      "3768.66 4.00 425.75 13.93 411.81 1277.25 45.90 1231.34",
      "3355.47 4.00 425.75 12.56 413.19 1703.00 58.47 1644.53",
      "2940.91 4.00 425.75 11.18 414.56 2128.75 69.65 2059.09",
      "2524.96 4.00 425.75 9.80 415.95 2554.50 79.45 2475.04",
      "2107.63 4.00 425.75 8.42 417.33 2980.25 87.87 2892.37",
      "1688.90 4.00 425.75 7.03 418.72 3405.99 94.90 3311.10",
      "1268.78 4.00 425.75 5.63 420.12 3831.74 100.53 3731.22",
      "847.26 4.00 425.75 4.23 421.52 4257.49 104.76 4152.74",
      "424.34 4.00 425.75 2.82 422.93 4683.24 107.58 4575.66",
      "-0.00 4.00 425.75 1.41 424.34 5108.99 108.99 5000.00",
  };
  EXPECT_EQ(Rows(Loan(5000.0f, 4.0f, 1.0f)), expected);
}

TEST(ScheduleRows, FinalRowPaysTheOpeningBalanceAndItsInterest) {
  ScheduleState state = Loan(5000.0f, 4.0f, 1.0f);
  for (int row = 0; row < 11; ++row) {
    ComputeScheduleRow(state);
    AdvanceScheduleRow(state);
  }
  EXPECT_EQ(state.balance, 424.33728f);
  ComputeScheduleRow(state);
  EXPECT_EQ(state.interest, 1.4144576f);
  EXPECT_EQ(state.payment, 425.75174f);
  EXPECT_LT(state.balance, 0.0f);
  EXPECT_GT(state.balance, -0.00001f);
}

TEST(ScheduleRows, LongLoanNeedsOneExtraRowForTheResidue) {
  std::vector<std::string> rows = Rows(Loan(12345.67f, 18.0f, 40.0f));
  ASSERT_EQ(rows.size(), 481u);
  // The third figure of the last row is its payment.
  std::string last = rows.back();
  std::size_t first = last.find(' ');
  std::size_t second = last.find(' ', first + 1);
  std::size_t third = last.find(' ', second + 1);
  EXPECT_EQ(last.substr(second + 1, third - second - 1), "3.74");
}

struct EdgeRow {
  const char* name;
  float amount, rate, years;
  const char* payment;  // the payment field's text
  std::vector<std::string> rows;
};

class ScheduleEdges : public ::testing::TestWithParam<EdgeRow> {};

TEST_P(ScheduleEdges, PaymentAndRows) {
  const EdgeRow& row = GetParam();
  ScheduleState state = Loan(row.amount, row.rate, row.years);
  EXPECT_EQ(Fixed(state.monthlyPayment), row.payment);
  EXPECT_EQ(Rows(state), row.rows);
}

INSTANTIATE_TEST_SUITE_P(
    Loans, ScheduleEdges,
    ::testing::Values(
        // Without interest the amount is paid in equal parts, the last one what is left.
        EdgeRow{"ZeroRate",
                1000,
                0,
                0.25f,
                "333.33",
                {"666.67 0.00 333.33 0.00 333.33 333.33 0.00 333.33",
                 "333.33 0.00 333.33 0.00 333.33 666.67 0.00 666.67",
                 "0.00 0.00 333.33 0.00 333.33 1000.00 0.00 1000.00"}},
        // No months: amount / 0 is infinite; one final row with a month's interest.
        EdgeRow{"ZeroYears",
                5000,
                4,
                0,
                "inf",
                {"0.00 4.00 5016.67 16.67 5000.00 5016.67 16.67 5000.00"}},
        EdgeRow{"NegativeYears", 5000, 4, -1, "-409.08", {}},
        EdgeRow{"ZeroAmount", 0, 4, 1, "0.00", {}},
        EdgeRow{"AmountAtThreshold", 0.01f, 4, 1, "0.00", {}},
        EdgeRow{"NegativeAmount", -100, 4, 1, "-8.51", {}},
        EdgeRow{"LengthBeyondRange", 5000, 4, std::numeric_limits<float>::infinity(), "-0.00", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ScheduleRows, NegativeRateLowersTheInterestTotal) {
  ScheduleState state = Loan(1000, -12, 1.0f / 12.0f);
  ASSERT_EQ(state.monthCount, 1);
  ASSERT_TRUE(ScheduleRowBegins(state));
  ComputeScheduleRow(state);
  EXPECT_EQ(Fixed(state.interest), "-10.00");
  EXPECT_EQ(Fixed(state.totalInterest), "-10.00");
}

struct MonthCountRow {
  float years;
  std::int32_t months;
};

TEST(MonthCountOf, RoundsHalvesToEvenAndFoldsOutOfRange) {
  const MonthCountRow rows[] = {
      {1.0f, 12},
      {0.125f, 2},  // 1.5 -> 2
      {0.375f, 4},  // 4.5 -> 4
      {0.0f, 0},
      {0.04f, 0},  // 0.48
      {-0.04f, 0},
      {-1.0f, -12},
      {std::numeric_limits<float>::infinity(),
       std::numeric_limits<std::int32_t>::min()},  // infinite
      {-std::numeric_limits<float>::infinity(), std::numeric_limits<std::int32_t>::min()},
      {2e8f, std::numeric_limits<std::int32_t>::min()},  // 2.4e9 months
      {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<std::int32_t>::min()},
  };
  for (const MonthCountRow& row : rows) {
    EXPECT_EQ(MonthCountOf(row.years), row.months) << row.years;
  }
}

TEST(LoanIsTooLong, AboveSixHundredOneMonthsHoweverLarge) {
  const struct {
    float years;
    bool tooLong;
  } rows[] = {
      {601.0f / 12.0f, false},
      {601.5f / 12.0f, true},  // 601.5 rounds to 602
      {60.0f, true},
      {2e8f, true},  // 2.4e9 months, beyond the 32-bit range
      {1e9f, true},
      {std::numeric_limits<float>::infinity(), true},  // a typed 1e39
      {0.0f, false},
      {-1.0f, false},
      {-1e9f, false},
      {-std::numeric_limits<float>::infinity(), false},
      {std::numeric_limits<float>::quiet_NaN(), false},
  };
  for (const auto& row : rows) EXPECT_EQ(LoanIsTooLong(row.years), row.tooLong) << row.years;
}

const char* const scheduled = "scheduled";
const char* const tooLong =
    "The loan is too long: at most 601 monthly payments (50 years and 1 month) can be "
    "scheduled.";
const char* const tooShort =
    "The loan is too short: enter a length of at least 0.05 years (one monthly payment).";
const char* const amountTooSmall = "The loan amount is too small: enter more than 0.01.";
const char* const rateTooSmall =
    "The interest rate is too small: enter 0 for a loan without interest, or at least 0.01 %.";

struct RefusalRow {
  const char* name;
  float amount, rate, years;
  const char* message;  // `scheduled` when the loan is not refused
};

class LoanRefusals : public ::testing::TestWithParam<RefusalRow> {};

TEST_P(LoanRefusals, GiveTheFirstRefusalThatApplies) {
  const RefusalRow& row = GetParam();
  const char* message = LoanRefusalMessage(Loan(row.amount, row.rate, row.years));
  EXPECT_STREQ(message != nullptr ? message : scheduled, row.message);
}

INSTANTIATE_TEST_SUITE_P(
    Loans, LoanRefusals,
    ::testing::Values(RefusalRow{"FiftyYearsAndOneMonth", 5000, 4, 601.0f / 12.0f, scheduled},
                      RefusalRow{"SixtyYears", 5000, 4, 60, tooLong},
                      RefusalRow{"OneMonth", 5000, 4, 0.05f, scheduled},
                      RefusalRow{"NoLength", 5000, 4, 0, tooShort},
                      RefusalRow{"LessThanHalfAMonth", 5000, 4, 0.04f, tooShort},
                      RefusalRow{"NegativeLength", 5000, 4, -1, tooShort},
                      RefusalRow{"NegativeBeyondTheMonthCount", 5000, 4, -1e9f, tooShort},
                      RefusalRow{"NoInterest", 5000, 0, 1, scheduled},
                      RefusalRow{"HundredthOfAPercent", 5000, 0.01f, 1, scheduled},
                      RefusalRow{"NegativeHundredthOfAPercent", 5000, -0.01f, 1, scheduled},
                      RefusalRow{"TinyRate", 5000, 0.009f, 1, rateTooSmall},
                      RefusalRow{"TinyNegativeRate", 5000, -0.009f, 1, rateTooSmall},
                      RefusalRow{"SmallestFloatRate", 5000, 1e-45f, 1, rateTooSmall},
                      RefusalRow{"TwoCents", 0.02f, 4, 1, scheduled},
                      RefusalRow{"OneCent", 0.01f, 4, 1, amountTooSmall},
                      RefusalRow{"NoAmount", 0, 4, 1, amountTooSmall},
                      RefusalRow{"NegativeAmount", -100, 4, 1, amountTooSmall},
                      RefusalRow{"TooLongComesFirst", 0, 0.001f, 60, tooLong},
                      RefusalRow{"TooShortComesNext", 0, 0.001f, 0, tooShort},
                      RefusalRow{"AmountBeforeRate", 0, 0.001f, 1, amountTooSmall}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quentara
