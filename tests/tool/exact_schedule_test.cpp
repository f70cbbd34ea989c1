// The exact schedule's writing: the rate and years as typed, the report row whose figures do
// not fit their columns, and a JSON object on one line. Its figures are checked against a
// lender's model by schedule_model_test.py.

#include "tool/exact_schedule.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace quentara {
namespace {

ScheduleRequest Request(const char* amount, const char* rate, const char* years) {
  ScheduleRequest request;
  request.amount = amount;
  request.rate = rate;
  request.years = years;
  return request;
}

TEST(ReadExactLoan, KeepsTheRateAndYearsAsTheExactDecimalsTyped) {
  const struct {
    const char* rate;
    const char* years;
    const char* plain;  // rate, then years
  } rows[] = {
      {"6.3750", "30", "6.375 30"},
      {".5", "2.50", "0.50 2.5"},
      {"1.5e1", "1e1", "15.00 10"},
      {"0", "0.125", "0.00 0.125"},
      {"1e-15", "+05", "0.000000000000001 5"},
      {"999.99e0", "100000e-4", "999.99 10"},
  };
  for (const auto& row : rows) {
    ExactLoan loan;
    ASSERT_FALSE(ReadExactLoan(Request("1", row.rate, row.years), "01/31/2004", loan)) << row.rate;
    EXPECT_EQ(loan.rate + " " + loan.years, row.plain);
  }
}

TEST(AppendExactSchedule, FiguresTooWideForTheirColumnsFillThemWithHashes) {
  ExactLoan loan;
  ASSERT_FALSE(ReadExactLoan(Request("123456789", "10.125", "1"), "01/31/2004", loan));
  std::string out;
  AppendExactSchedule(loan, {}, out);
  const std::size_t row = out.find("Year:1\r\n") + 8;
  // The balance needs all 12 places, the rate all 6, the payment 11 of 10: each keeps its
  // width; the totals' 11 characters keep a space before them.
  EXPECT_EQ(out.substr(row, 100), "01/31/2004" + std::string(12 + 6 + 10, '#') +
                                      "  1041666.66  9819325.13 10860991.79  1041666.66  "
                                      "9819325.13\r\n");
}

TEST(AppendExactSchedule, JsonOnOneLineIsTheIndentedObjectWithoutItsLineBreaks) {
  ScheduleRequest request = Request("5000", "4", "0.25");
  request.extras = {"02/29/2004=100"};
  ExactLoan loan;
  ASSERT_FALSE(ReadExactLoan(request, "01/31/2004", loan));
  std::string indented, oneLine;
  AppendExactSchedule(loan, {ExportFormat::Json, TextEncoding::Utf8, JsonLayout::Indented, {}},
                      indented);
  AppendExactSchedule(loan, {ExportFormat::Json, TextEncoding::Utf8, JsonLayout::OneLine, {}},
                      oneLine);
  EXPECT_EQ(std::count(oneLine.begin(), oneLine.end(), '\n'), 1);
  EXPECT_TRUE(oneLine.ends_with("}}\n"));
  // Each line break and its indentation go; a comma before it keeps one space.
  std::string joined;
  for (std::size_t at = 0; at < indented.size(); ++at) {
    if (indented[at] != '\n' || at + 1 == indented.size()) {
      joined += indented[at];
      continue;
    }
    if (joined.ends_with(',')) joined += ' ';
    while (at + 1 < indented.size() && indented[at + 1] == ' ') ++at;
  }
  EXPECT_EQ(oneLine, joined);
}

}  // namespace
}  // namespace quentara
