// Due dates month by month from a typed first date, and the checks of that first date.

#include "calc/due_dates.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calc/messages.h"
#include "text/string_ops.h"
#include "text/text_area.h"

namespace quentara {
namespace {

std::vector<std::string> shownMessages;
std::int32_t RecordMessage(const char* title, const char* text, std::uint32_t) {
  shownMessages.push_back(std::string(title) + "|" + text);
  return 1;
}

class DueDates : public ::testing::Test {
 protected:
  void SetUp() override {
    dateValidated = false;
    shownMessages.clear();
    SetMessageBoxFunction(RecordMessage);
  }
  void TearDown() override { SetMessageBoxFunction(nullptr); }

  // The dates after `first`, as the schedule steps them.
  static std::vector<std::string> Chain(const char* first, int steps) {
    AssignExpression(firstPaymentDay, Substring(first, 4, 2));
    std::vector<std::string> dates;
    Text date;
    AssignText(date, first);
    for (int i = 0; i < steps; ++i) {
      AssignExpression(date, StepDueDate(date.Get(), 1));
      dates.push_back(date.View());
    }
    return dates;
  }
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
  EXPECT_TRUE(shownMessages.empty());
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
    shownMessages.clear();
    EXPECT_EQ(Chain(c.first, 1), std::vector<std::string>{""}) << c.first;
    EXPECT_EQ(shownMessages, std::vector<std::string>{c.message});
    EXPECT_FALSE(dateValidated);
  }
}

TEST_F(DueDates, MonthCountOutsideOneToTwelveIsRefused) {
  for (std::int32_t months : {0, 13, -1}) {
    shownMessages.clear();
    char* result = StepDueDate("01/15/2004", months);
    EXPECT_STREQ(result, "");
    SetTextAreaEnd(result);
    EXPECT_EQ(shownMessages,
              std::vector<std::string>{"|The Month needs to be a\nnumber between 1 And 12."});
  }
}

TEST_F(DueDates, StepsOfSeveralMonths) {
  AssignText(firstPaymentDay, "31");
  char* result = StepDueDate("10/31/2004", 4);
  EXPECT_STREQ(result, "02/28/2005");
  SetTextAreaEnd(result);
}

using DueDatesDeathTest = DueDates;

TEST_F(DueDatesDeathTest, FirstDateThatCannotBeValidEndsTheProgram) {
  SetMessageBoxFunction(nullptr);  // the child reports on standard error
  for (const char* first :
       {"02/29/2005", "13/10/2004", "05/10/1799", "05/10/2201", "1/5/2004", "01/32/2004", ""}) {
    EXPECT_EXIT(Chain(first, 1), ::testing::ExitedWithCode(0),
                "Your date string is not valid, Please re-start program.")
        << first;
  }
}

TEST_F(DueDates, LaterComputationsAreNotChecked) {
  Chain("01/31/2004", 1);
  ASSERT_TRUE(dateValidated);
  EXPECT_EQ(Chain("13/10/2004", 1), std::vector<std::string>{"02/10/2005"});
  EXPECT_TRUE(shownMessages.empty());
}

TEST_F(DueDates, ResultMayBeWrittenOverItsOwnArgument) {
  AssignText(firstPaymentDay, "15");
  char* start = AppendText("03/15/2004");
  char* result = StepDueDate(start, 1, start);
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
