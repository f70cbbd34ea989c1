#include "text/text_area.h"

#include <gtest/gtest.h>

#include <string>

#include "text/number_format.h"

namespace quentara {
namespace {

class TextArea : public ::testing::Test {
 protected:
  void SetUp() override { SetTextAreaEnd(TextAreaStart()); }
  char* const start = TextAreaStart();
  char* const last = TextAreaLimit() - 1;
};

TEST_F(TextArea, AbsentAndEmptyTextsAddNothingButStayTerminated) {
  AppendText("Year:");
  for (const char* nothing : {static_cast<const char*>(nullptr), ""}) {
    start[5] = 'x';
    AppendText(nothing);
    EXPECT_STREQ(start, "Year:");
    EXPECT_EQ(TextAreaEnd(), start + 5);
  }
}

TEST_F(TextArea, PiecesJoinWithoutSeparator) {
  char* expression = AppendText("Year:");
  FormatInteger(3);
  EXPECT_STREQ(expression, "Year:3");
  EXPECT_EQ(TextAreaEnd(), start + 6);
}

TEST_F(TextArea, OverlongPieceIsCutAtTheAreaEnd) {
  std::string huge(textAreaSize + 100, 'a');
  EXPECT_EQ(AppendText(huge.c_str()), start);
  EXPECT_EQ(TextAreaEnd(), last);
  EXPECT_EQ(*last, '\0');
  EXPECT_EQ(std::string(start).size(), textAreaSize - 1);

  SetTextAreaEnd(last - 3);
  AppendText("0123456789");
  EXPECT_STREQ(last - 3, "012");
  EXPECT_EQ(TextAreaEnd(), last);
}

TEST_F(TextArea, EndIsClampedIntoTheArea) {
  SetTextAreaEnd(start - 1);
  EXPECT_EQ(TextAreaEnd(), start);
  SetTextAreaEnd(TextAreaLimit());
  EXPECT_EQ(TextAreaEnd(), last);
  SkipTextAreaTerminator();
  EXPECT_EQ(TextAreaEnd(), last);
}

TEST_F(TextArea, RoomCountsTheTerminator) {
  EXPECT_EQ(TextAreaRoom(start), textAreaSize);
  EXPECT_EQ(TextAreaRoom(last), 1u);
  EXPECT_EQ(TextAreaRoom(TextAreaLimit()), 0u);
  EXPECT_EQ(TextAreaRoom(nullptr), 0u);
}

TEST_F(TextArea, WriteOutsideTheAreaGoesToTheEnd) {
  AppendText("ab");
  char elsewhere[8] = "zzzzzzz";
  EXPECT_EQ(WriteTextAt(elsewhere, "cd", 2), start + 2);
  EXPECT_STREQ(start, "abcd");
  EXPECT_STREQ(elsewhere, "zzzzzzz");
}

TEST_F(TextArea, WriteMovesOverlappingBytes) {
  AppendText("xx123");
  WriteTextAt(start, start + 2, 3);
  EXPECT_STREQ(start, "123");
  EXPECT_EQ(TextAreaEnd(), start + 3);
}

}  // namespace
}  // namespace quentara
