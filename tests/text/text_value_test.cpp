#include "text/text_value.h"

#include <gtest/gtest.h>

#include "text/program_heap.h"
#include "text/text_area.h"

namespace quentara {
namespace {

struct AssignRow {
  const char* source;
  bool absent;
  std::size_t blockSize;
  const char* view;
};

constexpr AssignRow assignRows[] = {
    {nullptr, true, 0, ""},
    {"", false, 1, ""},
    {"03/15/2004", false, 11, "03/15/2004"},
};

TEST(Text, AssignmentKeepsAbsentAndEmptyApartWithExactBlocks) {
  for (const AssignRow& row : assignRows) {
    SCOPED_TRACE(row.view);
    Text variable;
    AssignText(variable, "old text");
    AssignText(variable, row.source);
    EXPECT_EQ(variable.IsAbsent(), row.absent);
    EXPECT_EQ(variable.BlockSize(), row.blockSize);
    EXPECT_STREQ(variable.View(), row.view);
    EXPECT_EQ(variable.Get() == nullptr, row.absent);
  }
}

TEST(Text, ExpressionIsCopiedOutAtExactSizeAndTheAreaEmptied) {
  SetTextAreaEnd(TextAreaStart());
  std::size_t before = programHeap.BytesInUse();
  {
    Text variable;
    char* start = AppendText("Year:");
    AppendText("12");
    AssignExpression(variable, start);
    EXPECT_STREQ(variable.View(), "Year:12");
    EXPECT_EQ(variable.BlockSize(), 8u);
    EXPECT_EQ(programHeap.BytesInUse(), before + 8);
    EXPECT_EQ(TextAreaEnd(), TextAreaStart());
  }
  EXPECT_EQ(programHeap.BytesInUse(), before);
}

TEST(Text, EmptyExpressionGivesAOneByteBlock) {
  Text variable;
  AssignExpression(variable, AppendText(nullptr));
  EXPECT_FALSE(variable.IsAbsent());
  EXPECT_EQ(variable.BlockSize(), 1u);
}

TEST(Text, SelfAssignmentThroughAnExpressionTakesANewBlock) {
  SetTextAreaEnd(TextAreaStart());
  Text variable;
  AssignText(variable, "12.50");
  const char* oldBlock = variable.Get();
  std::size_t before = programHeap.BytesInUse();
  char* start = AppendText(variable.Get());
  AssignExpression(variable, start);
  EXPECT_STREQ(variable.View(), "12.50");
  EXPECT_NE(variable.Get(), oldBlock);
  EXPECT_EQ(programHeap.BytesInUse(), before);
  EXPECT_EQ(TextAreaEnd(), start);
}

TEST(Text, ReleaseMakesTheVariableAbsent) {
  Text copy;
  CopyTextIn(copy, "04");
  std::size_t before = programHeap.BytesInUse();
  ReleaseText(copy);
  ReleaseText(copy);
  EXPECT_TRUE(copy.IsAbsent());
  EXPECT_EQ(programHeap.BytesInUse(), before - 3);
}

}  // namespace
}  // namespace quentara
