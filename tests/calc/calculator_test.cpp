// The calculator's figures through the loan library: the rows of the report's worked example,
// and which refusal, with which of the calculator's messages, stops a loan.

#include <quentara/calculator.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

namespace quentara::calculator {
namespace {

// A row as the report prints it: the due date, then each figure with two decimals.
std::string Line(const Row& row) {
  char text[200];
  std::snprintf(text, sizeof text, "%02d/%02d/%04d %.2f %.2f %.2f %.2f %.2f %.2f %.2f",
                row.dueDate.month, row.dueDate.day, row.dueDate.year, row.balance, row.payment,
                row.interest, row.principal, row.totalPaid, row.totalInterest, row.totalPrincipal);
  return text;
}

TEST(RowWalker, GivesTheRowsOfTheReport) {
  const Terms terms{5000, 4, 1, {2004, 1, 31}};
  RowWalker walker(terms);
  ASSERT_EQ(walker.Start().message, nullptr);
  std::vector<std::string> lines;
  for (Row row; walker.Next(row);) lines.push_back(Line(row));
  ASSERT_EQ(lines.size(), 12u);
  EXPECT_EQ(lines[0], "01/31/2004 4590.92 425.75 16.67 409.08 425.75 16.67 409.08");
  EXPECT_EQ(lines[1], "02/29/2004 4180.47 425.75 15.30 410.45 851.50 31.97 819.53");
  EXPECT_EQ(lines[11], "12/31/2004 -0.00 425.75 1.41 424.34 5108.99 108.99 5000.00");
  char payment[16];
  std::snprintf(payment, sizeof payment, "%.2f", ComputePayment(terms).value);
  EXPECT_STREQ(payment, "425.75");
}

struct RefusalCase {
  const char* name;
  Terms terms;
  RefusalReason reason;
  const char* message;
};

void PrintTo(const RefusalCase& c, std::ostream* out) {
  *out << c.name;
}

class Refusals : public testing::TestWithParam<RefusalCase> {};

TEST_P(Refusals, StopTheWalkWithTheCalculatorsMessage) {
  RowWalker walker(GetParam().terms);
  const Refusal refusal = walker.Start();
  EXPECT_EQ(refusal.reason, GetParam().reason);
  EXPECT_STREQ(refusal.message, GetParam().message);
  Row row;
  EXPECT_FALSE(walker.Next(row));
}

INSTANTIATE_TEST_SUITE_P(
    Loans, Refusals,
    testing::Values(
        RefusalCase{"Long",
                    {5000, 4, 60, {2004, 1, 31}},
                    RefusalReason::TooLong,
                    "The loan is too long: at most 601 monthly payments (50 years and 1 "
                    "month) can be scheduled."},
        // The loan is judged before its first due date.
        RefusalCase{"NoAmountBadDate",
                    {0, 4, 1, {2004, 4, 31}},
                    RefusalReason::AmountTooSmall,
                    "The loan amount is too small: enter more than 0.01."},
        RefusalCase{"ThirtyDays",
                    {5000, 4, 1, {2004, 4, 31}},
                    RefusalReason::ThirtyDayMonth,
                    "There are only 30 days in April."},
        RefusalCase{"CommonYear",
                    {5000, 4, 1, {2005, 2, 29}},
                    RefusalReason::InvalidDate,
                    "Your date string is not valid, Please re-start program."}),
    [](const testing::TestParamInfo<RefusalCase>& info) { return info.param.name; });

}  // namespace
}  // namespace quentara::calculator
