// The colour list's walk, insertion and deletion rules, the replacement of a gadget's
// record, and the hook's answers for coloured and uncoloured controls.
#include "app/gadget_colors.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/layer_start.h"
#include "ui/drawing.h"
#include "ui/gadgets.h"
#include "ui/qt/drawing_context.h"
#include "ui/windows.h"

namespace quentara {
namespace {

// Operations on a fresh list: 'a' adds a record (numbered 1, 2, 3, ... in the order of
// adding), 'r' resets, 'n' steps to the next record, 'd' deletes the current record.
struct ListCase {
  const char* name;
  const char* operations;
  std::vector<std::int32_t> order;  // gadgets from the first record to the last
  std::int32_t current;             // gadget of the current record, 0 for none
};

class ColorListOperations : public ::testing::TestWithParam<ListCase> {};

TEST_P(ColorListOperations, LeaveTheExpectedOrderAndPosition) {
  GadgetColorList list;
  std::int32_t added = 0;
  for (const char* op = GetParam().operations; *op != '\0'; ++op) {
    switch (*op) {
      case 'a':
        list.Add()->gadget = ++added;
        break;
      case 'r':
        list.Reset();
        break;
      case 'n':
        list.Next();
        break;
      case 'd':
        list.DeleteCurrent();
        break;
      default:
        FAIL() << "unknown operation " << *op;
    }
  }
  const GadgetColorRecord* current = list.Current();
  EXPECT_EQ(current != nullptr ? current->gadget : 0, GetParam().current);

  std::vector<std::int32_t> order;
  list.Reset();
  while (const GadgetColorRecord* record = list.Next()) order.push_back(record->gadget);
  EXPECT_EQ(order, GetParam().order);
  EXPECT_EQ(list.Count(), static_cast<std::int32_t>(GetParam().order.size()));
}

INSTANTIATE_TEST_SUITE_P(
    GadgetColorList, ColorListOperations,
    ::testing::Values(ListCase{"EmptyListHasNoNext", "rn", {}, 0},
                      ListCase{"AddAppendsAfterCurrent", "aaa", {1, 2, 3}, 3},
                      ListCase{"AddWithoutCurrentGoesToFront", "arara", {3, 2, 1}, 3},
                      ListCase{"AddAfterFirstRecord", "aaarna", {1, 4, 2, 3}, 4},
                      ListCase{"NextAtEndKeepsLastCurrent", "aarnnnn", {1, 2}, 2},
                      ListCase{"DeleteMakesPredecessorCurrent", "aaarnnd", {1, 3}, 1},
                      ListCase{"DeleteFirstMakesSuccessorCurrent", "aarnd", {2}, 2},
                      ListCase{"DeleteOnlyRecordLeavesNone", "ad", {}, 0},
                      ListCase{"DeleteWithoutCurrentDoesNothing", "aard", {1, 2}, 0},
                      ListCase{"DeleteLastThenAddAppends", "aaada", {1, 2, 4}, 4}),
    [](const ::testing::TestParamInfo<ListCase>& info) { return std::string(info.param.name); });

TEST(GadgetColorList, NewRecordIsZeroFilled) {
  GadgetColorList list;
  GadgetColorRecord* first = list.Add();
  first->gadget = 7;
  first->textColor = 0x80;
  first->backBrush = 99;
  list.DeleteCurrent();
  const GadgetColorRecord* record = list.Add();
  EXPECT_EQ(record->gadget, 0);
  EXPECT_EQ(record->textColor, 0u);
  EXPECT_EQ(record->backColor, 0u);
  EXPECT_EQ(record->faceBrush, 0u);
  EXPECT_EQ(record->backBrush, 0u);
}

// The hook and the records against real labels and fields of a hidden window.
class GadgetColorsWithControls : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    testing::StartOffscreenLayer();
    OpenFormWindow(0, 0, 0, 300, 100, WindowInvisible, "Colours");
    SetGadgetParent(WindowHandle(0));
    CreateTextGadget(1, 10, 10, 100, 20, "Label", SS_RIGHT);
    CreateTextGadget(2, 10, 40, 100, 20, "Other label", 0);
    CreateStringGadget(3, 150, 10, 100, 20, "Field", ES_RIGHT);
  }
  void SetUp() override { CreateGadgetColorList(); }

  static const GadgetColorRecord* RecordOf(std::int32_t gadget) {
    gadgetColors.Reset();
    while (const GadgetColorRecord* record = gadgetColors.Next()) {
      if (record->gadget == gadget) return record;
    }
    return nullptr;
  }
  static Color ColorOfBrush(PlatformHandle brush) {
    Color color = 0xDEADBEEF;
    EXPECT_TRUE(BrushColor(brush, color)) << "brush " << brush << " does not exist";
    return color;
  }
};

TEST_F(GadgetColorsWithControls, RecordHoldsColoursAndBrushes) {
  EXPECT_EQ(SetGadgetColors(1, 0x000080, 0xB7FDFF), 0);
  const GadgetColorRecord* record = RecordOf(1);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->textColor, 0x000080u);
  EXPECT_EQ(record->backColor, 0xB7FDFFu);
  EXPECT_EQ(ColorOfBrush(record->backBrush), 0xB7FDFFu);
  EXPECT_EQ(ColorOfBrush(record->faceBrush), ButtonFaceColor());
}

TEST_F(GadgetColorsWithControls, SecondCallReplacesRecordAndDeletesItsBrushes) {
  SetGadgetColors(2, 0x000080, 0xF2E6E6);
  SetGadgetColors(1, 0x000080, 0xB7FDFF);
  const PlatformHandle oldFace = RecordOf(1)->faceBrush;
  const PlatformHandle oldBack = RecordOf(1)->backBrush;
  SetGadgetColors(1, 0xFF0000, 0xFFE0C1);

  EXPECT_EQ(gadgetColors.Count(), 2);
  const GadgetColorRecord* record = RecordOf(1);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->textColor, 0xFF0000u);
  EXPECT_EQ(ColorOfBrush(record->backBrush), 0xFFE0C1u);
  Color ignored = 0;
  EXPECT_FALSE(BrushColor(oldFace, ignored));
  EXPECT_FALSE(BrushColor(oldBack, ignored));
  EXPECT_EQ(RecordOf(2)->backColor, 0xF2E6E6u);
}

struct HookCase {
  const char* name;
  std::uint32_t message;
  std::int32_t askingGadget;  // whose control asks; gadget 1 has a record, 2 and 3 not
  Color backColor;            // of gadget 1's record
  bool answered;
  Color brushColor;   // colour of the answered brush; 0: the system's button face
  Color contextBack;  // 0: the system's button face
};

class GadgetColorHookAnswers : public GadgetColorsWithControls,
                               public ::testing::WithParamInterface<HookCase> {};

TEST_P(GadgetColorHookAnswers, AsTheRecordSays) {
  const HookCase& row = GetParam();
  SetGadgetColors(1, 0x000080, row.backColor);
  LiveDrawingContext context;
  const std::int32_t answer =
      GadgetColorHook(WindowHandle(0), row.message, context.Id(),
                      static_cast<std::intptr_t>(GadgetHandle(row.askingGadget)));
  const DrawingContext& values = context.Values();
  if (!row.answered) {
    EXPECT_EQ(answer, HookDefault);
    // The context is left as it was.
    EXPECT_EQ(values.textColor, 0x000000u);
    EXPECT_EQ(values.backColor, 0xFFFFFFu);
    EXPECT_EQ(values.backMode, OPAQUE);
    return;
  }
  ASSERT_NE(answer, HookDefault);
  const Color face = ButtonFaceColor();
  EXPECT_EQ(ColorOfBrush(static_cast<PlatformHandle>(static_cast<std::uint32_t>(answer))),
            row.brushColor != 0 ? row.brushColor : face);
  EXPECT_EQ(values.textColor, 0x000080u);
  EXPECT_EQ(values.backColor, row.contextBack != 0 ? row.contextBack : face);
  EXPECT_EQ(values.backMode, TRANSPARENT);
}

INSTANTIATE_TEST_SUITE_P(
    GadgetColorHook, GadgetColorHookAnswers,
    ::testing::Values(
        HookCase{"StaticLabelWithRecord", WM_CTLCOLORSTATIC, 1, 0xB7FDFF, true, 0xB7FDFF, 0xB7FDFF},
        HookCase{"EditColourRequest", WM_CTLCOLOREDIT, 1, 0xF2E6E6, true, 0xF2E6E6, 0xF2E6E6},
        HookCase{"ListBoxColourRequest", WM_CTLCOLORLISTBOX, 1, 0xF2E6E6, true, 0xF2E6E6, 0xF2E6E6},
        HookCase{"BackColourZeroMeansButtonFace", WM_CTLCOLORSTATIC, 1, 0, true, 0, 0},
        HookCase{"LabelWithoutRecord", WM_CTLCOLORSTATIC, 2, 0xB7FDFF, false, 0, 0},
        HookCase{"FieldWithoutRecord", WM_CTLCOLOREDIT, 3, 0xB7FDFF, false, 0, 0},
        HookCase{"ButtonColourRequestIsNotAnswered", 0x0135, 1, 0xB7FDFF, false, 0, 0},
        HookCase{"OtherMessage", WM_PAINT, 1, 0xB7FDFF, false, 0, 0}),
    [](const ::testing::TestParamInfo<HookCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quentara
