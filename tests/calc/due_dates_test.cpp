// Due dates month by month from a typed first date, and the checks of that first date.

#include "calc/due_dates.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dates/calendar.h"
#include "tests/support/message_recorder.h"
#include "text/string_ops.h"
#include "text/text_area.h"

namespace quentara {
namespace {

const char* const notValid = "Your date string is not valid, Please re-start program.";

class DueDates : public ::testing::Test {
 protected:
  // The dates after `first`, as the schedule steps them, until one ends the program.
  std::vector<std::string> Chain(const char* first, int steps) {
    AssignExpression(dueDates_.firstPaymentDay, Substring(first, 4, 2));
    std::vector<std::string> dates;
    Text date;
    AssignText(date, first);
    for (int i = 0; i < steps && !messages_.ProgramEnded(); ++i) {
      const StepResult next = StepDueDate(dueDates_, date.Get(), 1);
      AssignExpression(date, next.date);
      messages_.ShowDateOutcome(next.outcome, notValid);
      dates.push_back(date.View());
    }
    return dates;
  }

  DueDateState dueDates_;
  testing::MessageRecorder messages_;
};

struct ChainCase {
  const char* name;
  const char* first;
  std::vector<std::string> following;
};

class DueDateChain : public DueDates, public ::testing::WithParamInterface<ChainCase> {};

TEST_P(DueDateChain, StepsMonthByMonth) {
  const ChainCase& c = GetParam();
  EXPECT_EQ(Chain(c.first, static_cast<int>(c.following.size())), c.following);
  EXPECT_TRUE(messages_.Shown().empty());
  EXPECT_EQ(TextAreaEnd(), TextAreaStart());
}

INSTANTIATE_TEST_SUITE_P(
    Chains, DueDateChain,
    ::testing::Values(
        ChainCase{"ThirtyFirstInLeapYear",
                  "01/31/2004",
                  {"02/29/2004", "03/31/2004", "04/30/2004", "05/31/2004", "06/30/2004",
                   "07/31/2004", "08/31/2004", "09/30/2004", "10/31/2004", "11/30/2004",
                   "12/31/2004", "01/31/2005", "02/28/2005"}},
        ChainCase{"ThirtyFirstInCommonYear", "01/31/2005", {"02/28/2005", "03/31/2005"}},
        ChainCase{"CenturyIsNotLeap", "01/30/2100", {"02/28/2100", "03/30/2100"}},
        ChainCase{"FourHundredIsLeap", "01/30/2000", {"02/29/2000", "03/30/2000"}},
        ChainCase{"YearRollsOver", "11/15/2004", {"12/15/2004", "01/15/2005", "02/15/2005"}},
        ChainCase{"LeadingZerosReadAsDecimal", "08/05/2004", {"09/05/2004", "10/05/2004"}},
        ChainCase{"LeapDayIsValid", "02/29/2004", {"03/29/2004"}},
        ChainCase{"ThirtiethOfFebruaryInLeapYearPasses", "02/30/2004", {"03/30/2004"}},
        ChainCase{"MonthZeroIsAccepted", "00/10/2004", {"01/10/2004"}},
        ChainCase{"LowestAndHighestYears", "05/10/1800", {"06/10/1800"}},
        ChainCase{"HighestYear", "05/10/2200", {"06/10/2200"}}),
    [](const auto& info) { return std::string(info.param.name); });

struct ThirtyDayCase {
  const char* first;
  const char* message;
};

TEST_F(DueDates, ThirtyFirstOfAThirtyDayMonthIsRefusedWithItsMessage) {
  const ThirtyDayCase cases[] = {
      {"04/31/2004", "|There are only 30 days in April."},
      {"06/31/2004", "|There are only 30 days in June."},
      {"09/31/2004", "|There are only 30 days in September."},
      {"11/31/2004", "|There are only 30 days in November."},
  };
  for (const ThirtyDayCase& c : cases) {
    messages_ = {};
    EXPECT_EQ(Chain(c.first, 1), std::vector<std::string>{""}) << c.first;
    EXPECT_EQ(messages_.Shown(), std::vector<std::string>{c.message});
    EXPECT_FALSE(dueDates_.dateValidated);
  }
}

TEST_F(DueDates, MonthCountOutsideOneToTwelveIsRefused) {
  for (std::int32_t months : {0, 13, -1}) {
    messages_ = {};
    const StepResult result = StepDueDate(dueDates_, "01/15/2004", months);
    EXPECT_STREQ(result.date, "");
    SetTextAreaEnd(result.date);
    messages_.ShowDateOutcome(result.outcome, notValid);
    EXPECT_EQ(messages_.Shown(),
              std::vector<std::string>{"|The Month needs to be a\nnumber between 1 And 12."});
  }
}

TEST_F(DueDates, StepsOfSeveralMonths) {
  AssignText(dueDates_.firstPaymentDay, "31");
  char* result = StepDueDate(dueDates_, "10/31/2004", 4).date;
  EXPECT_STREQ(result, "02/28/2005");
  SetTextAreaEnd(result);
}

TEST_F(DueDates, FirstDateThatCannotBeValidEndsTheProgram) {
  for (const char* first :
       {"02/29/2005", "13/10/2004", "05/10/1799", "05/10/2201", "1/5/2004", "01/32/2004", ""}) {
    messages_ = {};
    Chain(first, 1);
    EXPECT_TRUE(messages_.ProgramEnded()) << first;
    EXPECT_EQ(messages_.Shown(), std::vector<std::string>{std::string("|") + notValid});
    EXPECT_EQ(TextAreaEnd(), TextAreaStart());
  }
}

TEST_F(DueDates, LaterComputationsAreNotChecked) {
  Chain("01/31/2004", 1);
  ASSERT_TRUE(dueDates_.dateValidated);
  EXPECT_EQ(Chain("13/10/2004", 1), std::vector<std::string>{"02/10/2005"});
  EXPECT_TRUE(messages_.Shown().empty());
}

TEST_F(DueDates, ResultMayBeWrittenOverItsOwnArgument) {
  AssignText(dueDates_.firstPaymentDay, "15");
  char* start = AppendText("03/15/2004");
  char* result = StepDueDate(dueDates_, start, 1, start).date;
  EXPECT_EQ(result, start);
  EXPECT_STREQ(result, "04/15/2004");
  SetTextAreaEnd(start);
}

TEST(IsLeapYear, GregorianRule) {
  EXPECT_TRUE(IsLeapYear(2004));
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_FALSE(IsLeapYear(2100));
  EXPECT_FALSE(IsLeapYear(2005));
  EXPECT_TRUE(IsLeapYear(0));
}

}  // namespace
}  // namespace quentara
