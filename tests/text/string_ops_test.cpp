#include "text/string_ops.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "text/text_area.h"

namespace quentara {
namespace {

class StringOps : public ::testing::Test {
 protected:
  void SetUp() override { SetTextAreaEnd(start); }
  // Checks that the result stands at the area's start and the area's end rests on it.
  std::string Result(const char* result) {
    EXPECT_EQ(result, start);
    EXPECT_EQ(TextAreaEnd(), start + std::string(result).size());
    return result;
  }
  char* const start = TextAreaStart();
};

constexpr std::int32_t int32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t int32Max = std::numeric_limits<std::int32_t>::max();

TEST_F(StringOps, SubstringTakesPiecesByPosition) {
  struct {
    const char* text;
    std::int32_t start, length;
    const char* result;
  } rows[] = {{"03/15/2004", 1, 2, "03"},
              {"03/15/2004", 4, 2, "15"},
              {"03/15/2004", 7, 4, "2004"},
              {"3/15/2004", 7, 4, "004"},
              {"abcdef", 0, 2, "ab"},
              {"abcdef", 5, 10, "ef"},
              {"ab", 3, 1, ""},
              {"abc", 2, 0, ""},
              {"abc", 2, -1, ""},
              {"abc", int32Min, int32Max, "abc"},
              {"abc", int32Max, 1, ""},
              {nullptr, 1, 2, ""}};
  for (auto row : rows) {
    SetTextAreaEnd(start);
    EXPECT_EQ(Result(Substring(row.text, row.start, row.length)), row.result)
        << (row.text ? row.text : "absent") << " " << row.start << " " << row.length;
  }
}

TEST_F(StringOps, TrimSpacesRemovesOnlyOuterSpaces) {
  struct {
    const char* text;
    const char* result;
  } rows[] = {{"  03/15/2004  ", "03/15/2004"},
              {"   ", ""},
              {"a  b ", "a  b"},
              {"\tx", "\tx"},
              {"", ""},
              {nullptr, ""}};
  for (auto row : rows) {
    SetTextAreaEnd(start);
    EXPECT_EQ(Result(TrimSpaces(row.text)), row.result) << (row.text ? row.text : "absent");
  }
}

TEST_F(StringOps, RightAlignGivesExactlyTheWidth) {
  struct {
    const char* text;
    std::int32_t width;
    const char* result;
  } rows[] = {{"12.50", 10, "     12.50"},
              {"12345678.90", 10, "12345678.9"},
              {"", 6, "      "},
              {nullptr, 2, "  "},
              {"abc", 0, ""},
              {"abc", int32Min, ""},
              {"abc", 3, "abc"}};
  for (auto row : rows) {
    SetTextAreaEnd(start);
    EXPECT_EQ(Result(RightAlign(row.text, row.width)), row.result) << row.width;
  }
}

// The argument is built at the area's end, kept whole by stepping past its terminator, and
// the result is asked for at the argument's own start.
TEST_F(StringOps, ResultMayReplaceItsOwnArgument) {
  char* argument = AppendText("  03/15/2004  ");
  SkipTextAreaTerminator();
  EXPECT_EQ(Result(TrimSpaces(argument, argument)), "03/15/2004");
  SkipTextAreaTerminator();
  EXPECT_EQ(Result(RightAlign(argument, 12, argument)), "  03/15/2004");
  SkipTextAreaTerminator();
  EXPECT_EQ(Result(Substring(argument, 6, 2, argument)), "15");
  SkipTextAreaTerminator();
  EXPECT_EQ(Result(RightAlign(argument, 3, argument)), " 15");
}

TEST_F(StringOps, RightAlignNearTheAreaEndKeepsWhatFits) {
  char* last = TextAreaLimit() - 1;
  EXPECT_STREQ(RightAlign("abc", 6, last - 5), "   ab");
  EXPECT_EQ(TextAreaEnd(), last);
  EXPECT_STREQ(RightAlign("abc", 6, last - 2), "  ");
  SetTextAreaEnd(start);
  EXPECT_EQ(Result(RightAlign("abc", 100000)), std::string(textAreaSize - 1, ' '));
}

TEST_F(StringOps, OverlongSubstringIsCutAtTheAreaEnd) {
  std::string huge(textAreaSize * 2, 'x');
  EXPECT_EQ(Result(Substring(huge.c_str(), 3, int32Max)).size(), textAreaSize - 1);
  EXPECT_EQ(TextAreaEnd(), TextAreaLimit() - 1);
}

}  // namespace
}  // namespace quentara
