// The exact-cents loan engine against published figures and figures worked out with exact
// fractions: payments, how the last row and extra payments come out, and the refusals.

#include <quentara/loan.h>

#include <gtest/gtest.h>

#include <limits>
#include <ostream>
#include <string>
#include <vector>

namespace quentara::loan {
namespace {

std::string Money(Cents cents) {
  char text[maxCentsText];
  return std::string(text, FormatCents(cents, text));
}

LoanTerms Terms(const char* amount, const char* rate, std::int32_t months, Cents own = 0,
                Date first = {2004, 1, 31}) {
  return {ParseAmount(amount).value, ParseRate(rate).value, months, first, own, {}};
}

struct PaymentCase {
  LoanTerms terms;
  const char* payment;
  const char* firstRow;  // interest and principal
};
void PrintTo(const PaymentCase& c, std::ostream* out) {
  *out << Money(c.terms.amount) << " over " << c.terms.months;
}

// The first two are published figures. The near-half amounts (from the continued fraction
// of the payment per cent) put the exact payment within 10^-14 cent of a half cent, beyond
// what a floating-point estimate can tell.
const PaymentCase paymentCases[] = {
    {Terms("15000", "8", 60), "304.15", "100.00 204.15"},
    {Terms("55000", "10", 60), "1168.59", "458.33 710.26"},
    {Terms("0.60", "10", 1), "0.61", "0.01 0.60"},  // exactly 60.5 cents
    {Terms("338617771669.98", "6.375", 360), "2112534349.53", "1798906912.00 313627437.53"},
    {Terms("120805991563.43", "3", 601), "388689038.06", "302014978.91 86674059.15"},
    {Terms("223593460591.98", "10", 60), "4750700254.34", "1863278838.27 2887421416.07"},
    {Terms("0.05", "0", 2), "0.03", "0.00 0.03"},  // 2.5 cents, half up
    {Terms("10000000000000", "1000", 1200), "8333333333333.33", "8333333333333.33 0.00"},
};

class Payments : public testing::TestWithParam<PaymentCase> {};

TEST_P(Payments, ExactToTheCent) {
  EXPECT_EQ(Money(ComputePayment(GetParam().terms).value), GetParam().payment);
  ScheduleWalker walker(GetParam().terms);
  ScheduleRow row;
  ASSERT_EQ(walker.Start().error, LoanError::None);
  ASSERT_TRUE(walker.Next(row));
  EXPECT_EQ(Money(row.interest) + " " + Money(row.principal), GetParam().firstRow);
}

INSTANTIATE_TEST_SUITE_P(Loans, Payments, testing::ValuesIn(paymentCases));

const ExtraPayment extras[] = {{{2004, 2, 29}, 5000}, {{2004, 3, 31}, 500000}};

struct ScheduleCase {
  const char* name;
  LoanTerms terms;
  std::vector<std::string> rows;  // due date, payment, interest, principal, extra, balance
};

const ScheduleCase scheduleCases[] = {
    {"RateZeroLastRowTakesTheRemainder",
     Terms("100", "0", 3),
     {"01/31/2004 33.33 0.00 33.33 0.00 66.67", "02/29/2004 33.33 0.00 33.33 0.00 33.34",
      "03/31/2004 33.34 0.00 33.34 0.00 0.00"}},
    {"OwnPaymentReachingWhatIsOwedEnds",
     Terms("1000", "12", 12, 60000),
     {"01/31/2004 600.00 10.00 590.00 0.00 410.00", "02/29/2004 414.10 4.10 410.00 0.00 0.00"}},
    {"ExtraCutToWhatIsOwedEnds",
     {100000, {12, 0}, 12, {2004, 1, 31}, 10000, extras},
     {"01/31/2004 100.00 10.00 90.00 0.00 910.00", "02/29/2004 150.00 9.10 140.90 50.00 769.10",
      "03/31/2004 776.79 7.69 769.10 676.79 0.00"}},
    {"NoExtraOnTheLastRow",
     {100000, {12, 0}, 2, {2004, 1, 31}, 10000, std::span(extras, 1)},
     {"01/31/2004 100.00 10.00 90.00 0.00 910.00", "02/29/2004 919.10 9.10 910.00 0.00 0.00"}},
};

class Schedules : public testing::TestWithParam<ScheduleCase> {};

TEST_P(Schedules, RowsToTheCent) {
  ScheduleWalker walker(GetParam().terms);
  ASSERT_EQ(walker.Start().error, LoanError::None);
  std::vector<std::string> rows;
  for (ScheduleRow row; walker.Next(row);) {
    char date[maxDateText];
    rows.emplace_back(date, FormatDate(row.dueDate, date));
    for (Cents figure : {row.payment, row.interest, row.principal, row.extra, row.balance}) {
      rows.back() += " " + Money(figure);
    }
  }
  EXPECT_EQ(rows, GetParam().rows);
}

INSTANTIATE_TEST_SUITE_P(Loans, Schedules, testing::ValuesIn(scheduleCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Schedules, LargestLoanAtTheHighestRateStaysInRange) {
  LoanTerms terms = Terms("10000000000000", "1000", 1200);
  LoanSummary summary = SummarizeLoan(terms).value;
  EXPECT_EQ(summary.payments, 1200);
  EXPECT_EQ(Money(summary.totalInterest), "9999999999999996.00");
  EXPECT_EQ(Money(summary.lastPayment), "18333333333333.33");
  terms.ownPayment = 833333333333334;  // a cent above the interest
  summary = SummarizeLoan(terms).value;
  EXPECT_EQ(Money(summary.totalPaid) + " in " + std::to_string(summary.payments),
            "479273264633049.66 in 58");
}

struct ProblemCase {
  const char* name;
  LoanTerms terms;
  ExtraPayment extra;
  const char* message;
};

const ProblemCase problemCases[] = {
    {"PaymentOnlyTheInterest",
     Terms("15000", "8", 60, 10000),
     {},
     "the payment must be more than the first month's interest of 100.00, or the loan would "
     "never shrink"},
    {"ExtraBetweenDueDates",
     Terms("15000", "8", 60),
     {{2004, 3, 15}, 1},
     "the extra payment on 03/15/2004 is not on a due date of this loan: the nearest due "
     "dates are 02/29/2004 and 03/31/2004"},
    {"ExtraBeforeTheFirst",
     Terms("15000", "8", 60),
     {{2004, 1, 30}, 1},
     "the extra payment on 01/30/2004 is not on a due date of this loan: the first due date "
     "is 01/31/2004"},
    {"ExtraAfterTheLast",
     Terms("15000", "8", 60),
     {{2009, 1, 31}, 1},
     "the extra payment on 01/31/2009 is not on a due date of this loan: the last due date is "
     "12/31/2008"},
    {"ThirtyDays",
     Terms("1", "8", 6, 0, {2004, 4, 31}),
     {},
     "the first due date 04/31/2004 is not a day of the calendar: April has 30 days"},
    {"NoLeapDay",
     Terms("1", "8", 6, 0, {2005, 2, 29}),
     {},
     "the first due date 02/29/2005 must be a day of the calendar from 1800 to 2200"},
    {"YearTooEarly",
     Terms("1", "8", 6, 0, {1799, 5, 10}),
     {},
     "the first due date 05/10/1799 must be a day of the calendar from 1800 to 2200"},
    {"TooManyMonths", Terms("1", "8", 1201), {}, "the number of months must be from 1 to 1200"},
    {"PaymentACentAboveTheInterest", Terms("15000", "8", 60, 10001), {}, ""},
    {"LastYear", Terms("1", "8", 6, 0, {2200, 5, 10}), {}, ""},
};

class Problems : public testing::TestWithParam<ProblemCase> {};

TEST_P(Problems, AreRefusedWithWhatIsAllowed) {
  LoanTerms terms = GetParam().terms;
  if (GetParam().extra.amount != 0) terms.extras = std::span(&GetParam().extra, 1);
  EXPECT_EQ(DescribeLoanProblem(ScheduleWalker(terms).Start()), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(Loans, Problems, testing::ValuesIn(problemCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Problems, ExtrasOnOneDateAreRefused) {
  const ExtraPayment twice[] = {{{2004, 3, 31}, 100}, {{2004, 3, 31}, 5}};
  LoanTerms terms = Terms("15000", "8", 60);
  terms.extras = twice;
  const LoanProblem problem = ScheduleWalker(terms).Start();
  EXPECT_EQ(problem.error, LoanError::ExtrasOutOfOrder);
  EXPECT_EQ(problem.extraIndex, 1);
}

struct ParseCase {
  const char* text;
  Result<std::int64_t> (*parse)(std::string_view);
  std::int64_t value;  // cents, months, or a rate's units x 100 + scale
  LoanError error;
};
void PrintTo(const ParseCase& c, std::ostream* out) {
  *out << c.text;
}

Result<std::int64_t> Rates(std::string_view text) {
  const Result<Rate> rate = ParseRate(text);
  return {rate.value.units * 100 + rate.value.scale, rate.problem};
}
template <Result<std::int32_t> (*parse)(std::string_view)>
Result<std::int64_t> Months(std::string_view text) {
  const Result<std::int32_t> months = parse(text);
  return {months.value, months.problem};
}

const ParseCase parseCases[] = {
    {"5000.000", ParseAmount, 500000, LoanError::None},
    {"1e3", ParseAmount, 100000, LoanError::None},
    {"5000.001", ParseAmount, 0, LoanError::FractionOfCent},
    {"5,000", ParseAmount, 0, LoanError::NotANumber},
    {"-5", ParseAmount, 0, LoanError::Negative},
    {"0", ParseAmount, 0, LoanError::OutOfRange},
    {"1e13", ParseAmount, maxAmount, LoanError::None},
    {"10000000000000.01", ParseAmount, 0, LoanError::OutOfRange},
    {"1e99999999999999999999", ParseExtra, 0, LoanError::OutOfRange},
    {"6.375", Rates, 637503, LoanError::None},
    {"6.50", Rates, 6501, LoanError::None},
    {"1e-15", Rates, 115, LoanError::None},
    {"1000.000000000001", Rates, 0, LoanError::OutOfRange},
    {"0.0000000000000001", Rates, 0, LoanError::TooManyDecimals},
    {"-0.5", Rates, 0, LoanError::Negative},
    {"0.125", Months<ParseYears>, 2, LoanError::None},
    {"0.375", Months<ParseYears>, 4, LoanError::None},
    {"100.04166666666666666666", Months<ParseYears>, 1200, LoanError::None},
    {"100.0417", Months<ParseYears>, 0, LoanError::OutOfRange},  // 1200.5004 months
    {"0.04", Months<ParseYears>, 0, LoanError::OutOfRange},      // 0.48 months
    {"3.6e2", Months<ParseMonths>, 360, LoanError::None},
    {"12.5", Months<ParseMonths>, 0, LoanError::NotWhole},
    {"1201", Months<ParseMonths>, 0, LoanError::OutOfRange},
};

class Parsing : public testing::TestWithParam<ParseCase> {};

TEST_P(Parsing, ReadsTheExactDecimal) {
  const Result<std::int64_t> result = GetParam().parse(GetParam().text);
  EXPECT_EQ(result.problem.error, GetParam().error);
  EXPECT_EQ(result.value, GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Texts, Parsing, testing::ValuesIn(parseCases));

TEST(FormatCents, SignsAndPlaces) {
  EXPECT_EQ(Money(5) + " " + Money(123456789) + " " + Money(-1230) + " " +
                Money(std::numeric_limits<Cents>::min()),
            "0.05 1234567.89 -12.30 -92233720368547758.08");
}

}  // namespace
}  // namespace quentara::loan
