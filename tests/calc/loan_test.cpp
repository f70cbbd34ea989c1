// The exact-cents loan engine: payments and rows checked against published figures and
// against figures worked out with exact fractions, the last-row and extra-payment rules,
// and every way a loan is refused.

#include <quentara/loan.h>

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace quentara::loan {
namespace {

std::string Money(Cents cents) {
  char text[maxCentsText];
  return std::string(text, FormatCents(cents, text));
}

constexpr Date jan31{2004, 1, 31};

LoanTerms Terms(const char* amount, const char* rate, std::int32_t months) {
  LoanTerms terms;
  terms.amount = ParseAmount(amount).value;
  terms.rate = ParseRate(rate).value;
  terms.months = months;
  terms.firstDueDate = jan31;
  return terms;
}

// Each row as "mm/dd/yyyy payment interest principal extra balance".
std::vector<std::string> Rows(const LoanTerms& terms) {
  std::vector<std::string> rows;
  ScheduleWalker walker(terms);
  EXPECT_EQ(walker.Start().error, LoanError::None);
  for (ScheduleRow row; walker.Next(row);) {
    char date[maxDateText];
    std::string text(date, FormatDate(row.dueDate, date));
    for (Cents figure : {row.payment, row.interest, row.principal, row.extra, row.balance}) {
      text += " " + Money(figure);
    }
    rows.push_back(text);
  }
  return rows;
}

struct PaymentCase {
  const char* amount;
  const char* rate;
  std::int32_t months;
  const char* payment;
  const char* firstRow;  // the first row's interest and principal
};

// The first two are published figures; the near-half amounts (found from the continued
// fraction of the payment per cent) put the exact payment within 10^-14 of a cent of a half
// cent, beyond what a floating-point estimate can tell.
const PaymentCase paymentCases[] = {
    {"15000", "8", 60, "304.15", "100.00 204.15"},
    {"55000", "10", 60, "1168.59", "458.33 710.26"},
    {"0.60", "10", 1, "0.61", "0.01 0.60"},  // exactly 60.5 cents
    {"338617771669.98", "6.375", 360, "2112534349.53", "1798906912.00 313627437.53"},
    {"120805991563.43", "3", 601, "388689038.06", "302014978.91 86674059.15"},
    {"223593460591.98", "10", 60, "4750700254.34", "1863278838.27 2887421416.07"},
    {"100", "0", 3, "33.33", "0.00 33.33"},
    {"0.05", "0", 2, "0.03", "0.00 0.03"},  // 2.5 cents, half up
    {"10000000000000", "1000", 1200, "8333333333333.33", "8333333333333.33 0.00"},
};

class Payments : public testing::TestWithParam<PaymentCase> {};

TEST_P(Payments, ExactToTheCent) {
  const PaymentCase& c = GetParam();
  const LoanTerms terms = Terms(c.amount, c.rate, c.months);
  EXPECT_EQ(Money(ComputePayment(terms).value), c.payment);
  ScheduleWalker walker(terms);
  ASSERT_EQ(walker.Start().error, LoanError::None);
  ScheduleRow row;
  ASSERT_TRUE(walker.Next(row));
  EXPECT_EQ(Money(row.interest) + " " + Money(row.principal), c.firstRow);
}

INSTANTIATE_TEST_SUITE_P(Loans, Payments, testing::ValuesIn(paymentCases));

TEST(ScheduleWalker, LargestLoanAtTheHighestRateRunsItsFullTermExactly) {
  LoanTerms terms = Terms("10000000000000", "1000", 1200);
  Result<LoanSummary> summary = SummarizeLoan(terms);
  EXPECT_EQ(summary.value.payments, 1200);
  EXPECT_EQ(Money(summary.value.totalInterest), "9999999999999996.00");
  EXPECT_EQ(Money(summary.value.lastPayment), "18333333333333.33");
  terms.ownPayment = ParsePayment("8333333333333.34").value;  // a cent above the interest
  summary = SummarizeLoan(terms);
  EXPECT_EQ(summary.value.payments, 58);
  EXPECT_EQ(Money(summary.value.totalPaid), "479273264633049.66");
  EXPECT_EQ(summary.value.computedPayments - summary.value.payments, 1142);
}

TEST(ScheduleWalker, RateZeroLastRowTakesTheRemainder) {
  EXPECT_EQ(Rows(Terms("100", "0", 3)), (std::vector<std::string>{
                                            "01/31/2004 33.33 0.00 33.33 0.00 66.67",
                                            "02/29/2004 33.33 0.00 33.33 0.00 33.34",
                                            "03/31/2004 33.34 0.00 33.34 0.00 0.00",
                                        }));
}

TEST(ScheduleWalker, OwnPaymentReachingWhatIsOwedEndsTheLoan) {
  LoanTerms terms = Terms("1000", "12", 12);
  terms.ownPayment = 60000;
  EXPECT_EQ(Rows(terms), (std::vector<std::string>{
                             "01/31/2004 600.00 10.00 590.00 0.00 410.00",
                             "02/29/2004 414.10 4.10 410.00 0.00 0.00",
                         }));
}

TEST(ScheduleWalker, ExtrasAreCutToWhatIsOwedAndNothingOnTheLastRow) {
  LoanTerms terms = Terms("1000", "12", 12);
  terms.ownPayment = 10000;
  const ExtraPayment extras[] = {{{2004, 2, 29}, 5000}, {{2004, 3, 31}, 500000}};
  terms.extras = extras;
  EXPECT_EQ(Rows(terms), (std::vector<std::string>{
                             "01/31/2004 100.00 10.00 90.00 0.00 910.00",
                             "02/29/2004 150.00 9.10 140.90 50.00 769.10",
                             "03/31/2004 776.79 7.69 769.10 676.79 0.00",
                         }));
  terms.months = 2;  // row 2 is the last: its extra has nothing left to pay
  terms.extras = std::span(extras, 1);
  EXPECT_EQ(Rows(terms).back(), "02/29/2004 919.10 9.10 910.00 0.00 0.00");
}

struct ProblemCase {
  const char* name;
  LoanTerms terms;
  std::vector<ExtraPayment> extras;
  const char* message;
};

LoanTerms With(LoanTerms terms, Cents ownPayment, Date first = jan31) {
  terms.ownPayment = ownPayment;
  terms.firstDueDate = first;
  return terms;
}

const ProblemCase problemCases[] = {
    {"PaymentOnlyTheInterest",
     With(Terms("15000", "8", 60), 10000),
     {},
     "the payment must be more than the first month's interest of 100.00, or the loan would "
     "never shrink"},
    {"ExtraBetweenDueDates",
     Terms("15000", "8", 60),
     {{{2004, 3, 15}, 100}},
     "the extra payment on 03/15/2004 is not on a due date of this loan: the nearest due "
     "dates are 02/29/2004 and 03/31/2004"},
    {"ExtraBeforeTheFirst",
     Terms("15000", "8", 60),
     {{{2004, 1, 30}, 100}},
     "the extra payment on 01/30/2004 is not on a due date of this loan: the first due date "
     "is 01/31/2004"},
    {"ExtraAfterTheLast",
     Terms("15000", "8", 60),
     {{{2009, 1, 31}, 100}},
     "the extra payment on 01/31/2009 is not on a due date of this loan: the last due date is "
     "12/31/2008"},
    {"ExtrasOnOneDate",
     Terms("15000", "8", 60),
     {{{2004, 3, 31}, 100}, {{2004, 3, 31}, 5}},
     "the extra payment on 03/31/2004 comes after a later one or on the same date: extra "
     "payments go in date order, one a date"},
    {"ThirtyDays",
     With(Terms("15000", "8", 60), 0, {2004, 4, 31}),
     {},
     "There are only 30 days in April."},
    {"NoLeapDay",
     With(Terms("15000", "8", 60), 0, {2005, 2, 29}),
     {},
     "Your date string is not valid, Please re-start program."},
    {"YearTooEarly",
     With(Terms("15000", "8", 60), 0, {1799, 5, 10}),
     {},
     "Your date string is not valid, Please re-start program."},
    {"TooManyMonths", Terms("15000", "8", 1201), {}, "the number of months must be from 1 to 1200"},
};

class Problems : public testing::TestWithParam<ProblemCase> {};

TEST_P(Problems, AreRefusedWithWhatIsAllowed) {
  LoanTerms terms = GetParam().terms;
  terms.extras = GetParam().extras;
  EXPECT_EQ(DescribeLoanProblem(ScheduleWalker(terms).Start()), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(Loans, Problems, testing::ValuesIn(problemCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Problems, OwnPaymentACentAboveTheInterestAndTheLastYearAreAccepted) {
  EXPECT_EQ(ScheduleWalker(With(Terms("15000", "8", 60), 10001)).Start().error, LoanError::None);
  EXPECT_EQ(ScheduleWalker(With(Terms("15000", "8", 60), 0, {2200, 5, 10})).Start().error,
            LoanError::None);
}

struct ParseCase {
  const char* text;
  Result<std::int64_t> (*parse)(std::string_view);
  std::int64_t value;  // cents, months, or a rate's units x 100 + scale
  LoanError error;
};

Result<std::int64_t> Rates(std::string_view text) {
  const Result<Rate> rate = ParseRate(text);
  return {rate.value.units * 100 + rate.value.scale, rate.problem};
}
Result<std::int64_t> Years(std::string_view text) {
  const Result<std::int32_t> months = ParseYears(text);
  return {months.value, months.problem};
}
Result<std::int64_t> Months(std::string_view text) {
  const Result<std::int32_t> months = ParseMonths(text);
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
    {"1000", Rates, 100000, LoanError::None},
    {"1000.000000000001", Rates, 0, LoanError::OutOfRange},
    {"1e-15", Rates, 115, LoanError::None},
    {"0.0000000000000001", Rates, 0, LoanError::TooManyDecimals},
    {"-0.5", Rates, 0, LoanError::Negative},
    {"0.125", Years, 2, LoanError::None},
    {"0.375", Years, 4, LoanError::None},
    {"2.5", Years, 30, LoanError::None},
    {"100.04166666666666666666", Years, 1200, LoanError::None},
    {"100.0417", Years, 0, LoanError::OutOfRange},  // 1200.5004 months
    {"0.04", Years, 0, LoanError::OutOfRange},      // 0.48 months
    {"3.6e2", Months, 360, LoanError::None},
    {"12.5", Months, 0, LoanError::NotWhole},
    {"1201", Months, 0, LoanError::OutOfRange},
};

class Parsing : public testing::TestWithParam<ParseCase> {};

TEST_P(Parsing, ReadsTheExactDecimal) {
  const Result<std::int64_t> result = GetParam().parse(GetParam().text);
  EXPECT_EQ(result.problem.error, GetParam().error);
  EXPECT_EQ(result.value, GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Texts, Parsing, testing::ValuesIn(parseCases));

TEST(FormatCents, SignsAndPlaces) {
  for (const auto& [cents, text] : std::vector<std::pair<Cents, std::string>>{
           {0, "0.00"},
           {5, "0.05"},
           {123456789, "1234567.89"},
           {-1230, "-12.30"},
           {std::numeric_limits<Cents>::min(), "-92233720368547758.08"}}) {
    EXPECT_EQ(Money(cents), text);
  }
}

}  // namespace
}  // namespace quentara::loan
