// Form windows and the event loop: the window table, the flags and the geometry of a new
// window, the pending event and the codes WaitForEvent returns, the hook, and Tab.

#include "ui/windows.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/ui/layer_fixture.h"
#include "ui/gadgets.h"

namespace quentara::testing {
namespace {

using WindowTable = LayerTest;

TEST_F(WindowTable, OpeningNumberTwelveGrowsTheTableToTwentyTwo) {
  EXPECT_EQ(WindowSlotCount(), 10);
  EXPECT_NE(OpenFormWindow(12, 0, 0, 100, 100, WindowInvisible, "twelve"), 0u);
  EXPECT_EQ(WindowSlotCount(), 22);
  for (std::int32_t number = 10; number < 22; ++number) {
    if (number != 12) {
      EXPECT_EQ(WindowHandle(number), 0u) << number;
    }
  }
  EXPECT_EQ(WindowHandle(22), 0u);
  EXPECT_EQ(WindowHandle(-1), 0u);
}

TEST_F(WindowTable, NumbersOutsideTheRangeOpenNothing) {
  EXPECT_EQ(OpenFormWindow(-1, 0, 0, 100, 100, WindowInvisible, "minus"), 0u);
  EXPECT_EQ(OpenFormWindow(65536, 0, 0, 100, 100, WindowInvisible, "big"), 0u);
  EXPECT_EQ(WindowSlotCount(), 10);
}

TEST_F(WindowTable, ReopeningANumberDestroysTheOldWindowAndItsGadgets) {
  const PlatformHandle first = OpenFormWindow(0, 0, 0, 200, 100, WindowInvisible, "first");
  SetGadgetParent(first);
  const PlatformHandle field = CreateStringGadget(13, 10, 10, 80, 20, "old");
  ASSERT_NE(GadgetControlWidget(13), nullptr);

  const PlatformHandle second = OpenFormWindow(0, 0, 0, 200, 100, WindowInvisible, "second");
  EXPECT_NE(second, first);
  EXPECT_EQ(WindowHandle(0), second);
  EXPECT_EQ(CurrentWindowHandle(), second);
  // The slot keeps the stale handle; it names nothing any more: a write through it goes
  // nowhere and raises nothing.
  EXPECT_EQ(GadgetHandle(13), field);
  EXPECT_EQ(GadgetControlWidget(13), nullptr);
  ForgetEvents();
  WriteGadgetText(13, "ignored");
  EXPECT_STREQ(ReadGadgetText(13), "");
  EXPECT_EQ(PendingEvent(), 0);
}

TEST_F(WindowTable, ClosingANumberThatIsNotOpenLeavesTheOpenWindows) {
  const PlatformHandle open = OpenFormWindow(0, 0, 0, 100, 100, 0, "open");
  // Numbers that a table taken modulo its size, or cut to 16 bits, would find at slot 0.
  for (std::int32_t number : {3, -10, 10, 65536}) CloseFormWindow(number);
  ShowFormWindow(3, WindowVisibility::Shown);
  ASSERT_EQ(WindowHandle(0), open);
  EXPECT_TRUE(FormWindowWidget(0)->isVisible());
  EXPECT_EQ(WindowHandle(3), 0u);
  EXPECT_EQ(WindowSlotCount(), 10);
}

TEST_F(WindowTable, TheLayersEndDeletesEveryWindowHighestFirstAndTheApplicationLast) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        OpenFormWindow(0, 0, 0, 200, 100, 0, "zero");
        OpenFormWindow(3, 0, 0, 200, 100, 0, "three");
        std::string order;
        auto record = [&order](QObject* object, const char* name) {
          QObject::connect(object, &QObject::destroyed, [&order, name] { order += name; });
        };
        record(FormWindowWidget(0), "window 0, ");
        record(FormWindowWidget(3), "window 3, ");
        record(QCoreApplication::instance(), "application");
        EndWindows();
        std::fprintf(stderr, "%s; tables %d %d\n", order.c_str(), WindowSlotCount(),
                     GadgetSlotCount());
        std::_Exit(QCoreApplication::instance() == nullptr ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "window 3, window 0, application; tables 0 0");
}

struct FlagCase {
  const char* name;
  std::uint32_t flags;
  bool visible;
  bool closeBox;
  bool minimizeBox;
};

inline void PrintTo(const FlagCase& row, std::ostream* out) {
  *out << row.name;
}

class WindowFlags : public LayerTest, public ::testing::WithParamInterface<FlagCase> {};

TEST_P(WindowFlags, GiveTheWindowItsLook) {
  const FlagCase& row = GetParam();
  ASSERT_NE(OpenFormWindow(0, 10, 10, 200, 100, row.flags, "flags"), 0u);
  QWidget* window = FormWindowWidget(0);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->isVisible(), row.visible);
  const Qt::WindowFlags look = window->windowFlags();
  EXPECT_TRUE(look.testFlag(Qt::WindowTitleHint));
  EXPECT_EQ(look.testFlag(Qt::WindowCloseButtonHint), row.closeBox);
  EXPECT_EQ(look.testFlag(Qt::WindowMinimizeButtonHint), row.minimizeBox);
  EXPECT_FALSE(look.testFlag(Qt::WindowMaximizeButtonHint));
  // A fixed size: it can be neither resized nor maximised.
  EXPECT_EQ(window->minimumSize(), QSize(200, 100));
  EXPECT_EQ(window->maximumSize(), QSize(200, 100));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, WindowFlags,
    ::testing::Values(FlagCase{"NoneIsVisibleWithCaption", 0, true, false, false},
                      FlagCase{"InvisibleAloneHasCaption", 0x10000000, false, false, false},
                      FlagCase{"MainForm", 0x10CA0001, false, true, true},
                      FlagCase{"InformationWindow", 0x10C80002, false, true, false}),
    [](const auto& info) { return std::string(info.param.name); });

struct PlaceCase {
  const char* name;
  std::int32_t x, y, width, height;
  std::uint32_t flags;
  QPoint expected;
};

inline void PrintTo(const PlaceCase& row, std::ostream* out) {
  *out << row.name;
}

class WindowPlace : public LayerTest, public ::testing::WithParamInterface<PlaceCase> {};

TEST_P(WindowPlace, FollowsTheCentringArithmetic) {
  const PlaceCase& row = GetParam();
  ASSERT_NE(OpenFormWindow(0, row.x, row.y, row.width, row.height, row.flags, "place"), 0u);
  ShowFormWindow(0, WindowVisibility::Shown);
  QWidget* window = FormWindowWidget(0);
  ASSERT_TRUE(WaitUntilActive(window));
  EXPECT_EQ(window->frameGeometry().topLeft(), row.expected);
  // The inner area is exactly the requested size.
  EXPECT_EQ(window->geometry().size(), QSize(row.width, row.height));
}

// The screen is 1280 x 1024; each half is taken on its own, remainder dropped: the main
// form's top is 1024/2 - 371/2 = 512 - 185 = 327.
INSTANTIATE_TEST_SUITE_P(
    Rows, WindowPlace,
    ::testing::Values(
        PlaceCase{"MainFormIgnoresItsPosition", 246, -6, 548, 371, 0x10CA0001, QPoint(366, 327)},
        PlaceCase{"OddSizesDropTheRemainder", 0, 0, 401, 301, 0x10CA0001, QPoint(440, 362)},
        PlaceCase{"LargerThanTheScreenStartsAtZero", 0, 0, 1400, 1100, 0x10CA0001, QPoint(0, 0)},
        PlaceCase{"NoCentringTakesThePosition", 246, 40, 300, 200, 0x10CA0000, QPoint(246, 40)},
        PlaceCase{"ActiveWithoutActiveWindowCentresOnScreen", 250, 12, 400, 300, 0x10C80002,
                  QPoint(440, 362)}),
    [](const auto& info) { return std::string(info.param.name); });

using CentringOnActive = LayerTest;

TEST_F(CentringOnActive, CentresOverTheActiveWindow) {
  OpenFormWindow(0, 246, -6, 548, 371, 0x10CA0001, "main");
  ShowFormWindow(0, WindowVisibility::Shown);
  ASSERT_TRUE(WaitUntilActive(FormWindowWidget(0)));
  OpenFormWindow(1, 250, 12, 400, 300, 0x10C80002, "information");
  // 366 - 400/2 + 548/2 and 327 - 300/2 + 371/2
  EXPECT_EQ(FormWindowWidget(1)->frameGeometry().topLeft(), QPoint(440, 362));
}

TEST_F(CentringOnActive, MovesAResultLeftOrAboveTheScreenToZero) {
  OpenFormWindow(0, 0, 0, 100, 60, 0, "small");
  ASSERT_TRUE(WaitUntilActive(FormWindowWidget(0)));
  OpenFormWindow(1, 0, 0, 400, 300, 0x10C80002, "wide");
  EXPECT_EQ(FormWindowWidget(1)->frameGeometry().topLeft(), QPoint(0, 0));
}

TEST_F(CentringOnActive, DoesNotLimitAtTheRightOrBottom) {
  OpenFormWindow(0, 1200, 1000, 200, 100, 0, "corner");
  ASSERT_TRUE(WaitUntilActive(FormWindowWidget(0)));
  OpenFormWindow(1, 0, 0, 100, 50, 0x10C80002, "over the edge");
  EXPECT_EQ(FormWindowWidget(1)->frameGeometry().topLeft(), QPoint(1250, 1025));
}

class EventLoop : public LayerTest {
 protected:
  void SetUp() override {
    LayerTest::SetUp();
    window_ = OpenActiveWindow();
    CreateStringGadget(13, 10, 10, 100, 20, "500", ES_RIGHT);
    CreateStringGadget(14, 10, 40, 100, 20, "1.0", ES_RIGHT);
    CreateButtonGadget(3, 10, 80, 100, 25, "Press");
    ASSERT_TRUE(WaitUntilActive(window_));
    FocusGadget(13);
    DeliverPostedEvents();
    ForgetEvents();
  }
  QWidget* window_ = nullptr;
};

TEST_F(EventLoop, AMouseMoveWithNothingPendingReturnsItsOwnNumber) {
  Queue([this] { SendMouseMove(window_, QPoint(250, 150)); });
  EXPECT_EQ(WaitForEventWithin(window_), 512);
  EXPECT_EQ(LastEventWindow(), 0);
}

TEST_F(EventLoop, AKeyGoingDownReturns256AndItsCharacterNextChangesTheField) {
  Queue([this] { SendKeyPress(window_, Qt::Key_7, Qt::NoModifier, QStringLiteral("7")); });
  EXPECT_EQ(WaitForEventWithin(window_), 256);
  EXPECT_STREQ(ReadGadgetText(13), "500");
  EXPECT_EQ(WaitForEventWithin(window_), GadgetEvent);
  EXPECT_EQ(LastEventGadget(), 13);
  EXPECT_STREQ(ReadGadgetText(13), "7500");
}

TEST_F(EventLoop, AKeyWithoutCharacterActsAtOnce) {
  Queue([this] { SendKeyPress(window_, Qt::Key_Home); });
  EXPECT_EQ(WaitForEventWithin(window_), 256);
  Queue([this] { SendKey(window_, Qt::Key_Delete); });
  EXPECT_EQ(WaitForEventWithin(window_), GadgetEvent);
  EXPECT_STREQ(ReadGadgetText(13), "00");
}

TEST_F(EventLoop, AnEventRaisedByTheProgramIsReturnedAfterTheNextMessage) {
  WriteGadgetText(14, "2.5");
  // Raised outside any message, it waits in the slot with no message queued.
  EXPECT_EQ(PendingEvent(), GadgetEvent);
  EXPECT_EQ(UnreportedMessages(), 0u);
  EXPECT_FALSE(InsideWindowProcedure());
  Queue([this] { SendMouseMove(window_, QPoint(240, 140)); });
  EXPECT_EQ(WaitForEventWithin(window_), GadgetEvent);
  EXPECT_EQ(LastEventGadget(), 14);
  EXPECT_EQ(PendingEvent(), 0);
  // Returned once only: the slot is empty again.
  Queue([this] { SendMouseMove(window_, QPoint(241, 140)); });
  EXPECT_EQ(WaitForEventWithin(window_), 512);
}

TEST_F(EventLoop, TheLastEventRaisedWins) {
  WriteGadgetText(14, "2.5");
  FocusGadget(14);
  Queue([this] { SendMouseMove(window_, QPoint(230, 130)); });
  EXPECT_EQ(WaitForEventWithin(window_), GadgetEvent);
  EXPECT_EQ(LastEventGadget(), 14);

  WriteGadgetText(13, "1");
  Queue([this] { SendCloseRequest(window_); });
  EXPECT_EQ(WaitForEventWithin(window_), CloseRequestEvent);
  EXPECT_EQ(LastEventWindow(), 0);
  // The close request is no gadget event: the previous gadget stays.
  EXPECT_EQ(LastEventGadget(), 13);
  EXPECT_TRUE(window_->isVisible());
}

TEST_F(EventLoop, AClickOnAButtonIsAGadgetEvent) {
  QWidget* button = GadgetControlWidget(3);
  Queue([button] { SendClick(button); });
  EXPECT_TRUE(WaitForGadgetEvent(window_, 3));
}

TEST_F(EventLoop, MessagesArrivingTogetherAreReportedOneByOneInOrder) {
  // Two clicks land in one batch; each message keeps its own event, and none is lost under
  // a later one: field 13 losing the focus to the first button, then each button's click.
  CreateButtonGadget(4, 120, 80, 100, 25, "Other");
  QWidget* first = GadgetControlWidget(3);
  QWidget* second = GadgetControlWidget(4);
  Queue([first, second] {
    SendClick(first);
    SendClick(second);
  });
  std::vector<std::int32_t> gadgets;
  for (int i = 0; i < 8 && gadgets.size() < 3; ++i) {
    if (WaitForEventWithin(window_) == GadgetEvent) gadgets.push_back(LastEventGadget());
  }
  EXPECT_EQ(gadgets, (std::vector<std::int32_t>{13, 3, 4}));
}

TEST_F(EventLoop, ACharacterTypedBeforeAClickInTheSameBatchReachesItsFieldFirst) {
  // Field 13 takes the typed character (update, change) before it loses the focus to the
  // button that was clicked after the key.
  QWidget* button = GadgetControlWidget(3);
  RecordedNotifications().clear();
  SetWindowHook(RecordingHook);
  Queue([this, button] {
    SendKey(window_, Qt::Key_7, Qt::NoModifier, QStringLiteral("7"));
    SendClick(button);
  });
  EXPECT_TRUE(WaitForGadgetEvent(window_, 3, 8));
  EXPECT_EQ(
      RecordedNotifications(),
      (std::vector<Notification>{
          {0, 13, EN_UPDATE}, {0, 13, EN_CHANGE}, {0, 13, EN_KILLFOCUS}, {0, 3, BN_CLICKED}}));
}

TEST_F(EventLoop, ADisabledButtonRaisesNothingUntilEnabledAgain) {
  SetGadgetDisabled(3, GadgetState::Disabled);
  QWidget* button = GadgetControlWidget(3);
  EXPECT_FALSE(button->isEnabled());
  // The click's messages, then an F5 key going down (256) that marks their end: no gadget
  // event among them.
  Queue([this, button] {
    SendClick(button);
    SendKeyPress(window_, Qt::Key_F5);
  });
  std::vector<std::int32_t> codes;
  while (codes.size() < 8 && (codes.empty() || codes.back() != 256)) {
    codes.push_back(WaitForEventWithin(window_).value_or(-1));
  }
  EXPECT_EQ(codes.back(), 256);
  EXPECT_EQ(std::count(codes.begin(), codes.end(), GadgetEvent), 0);

  SetGadgetDisabled(3, GadgetState::Enabled);
  Queue([button] { SendClick(button); });
  EXPECT_TRUE(WaitForGadgetEvent(window_, 3));
}

TEST_F(EventLoop, TheSpaceBarPressesTheFocusedButton) {
  FocusGadget(3);
  DeliverPostedEvents();
  ForgetEvents();
  Queue([this] { SendKey(window_, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" ")); });
  EXPECT_TRUE(WaitForGadgetEvent(window_, 3));
}

// Counts the paints of a widget.
class PaintCounter final : public QObject {
 public:
  int paints = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

TEST_F(EventLoop, IdleWorkDoesNotEndTheWait) {
  // The caret blinking in field 13 repaints it; the wait lasts through two blinks, until
  // the mouse move sent after them.
  PaintCounter counter;
  GadgetControlWidget(13)->installEventFilter(&counter);
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [this, &counter, &poll] {
    if (counter.paints < 2) return;
    poll.stop();
    SendMouseMove(window_, QPoint(250, 150));
  });
  poll.start(10);
  EXPECT_EQ(WaitForEventWithin(window_), 512);
  EXPECT_GE(counter.paints, 2);
}

std::int32_t closeAnsweredWithZero(PlatformHandle, std::uint32_t message, std::uintptr_t,
                                   std::intptr_t) {
  return message == WM_CLOSE ? 0 : HookDefault;
}

// Leaves every message to the layer, noting whether it runs inside the window procedure.
bool hookRanInside = false;
std::int32_t leavesEverything(PlatformHandle, std::uint32_t, std::uintptr_t, std::intptr_t) {
  hookRanInside = InsideWindowProcedure();
  return HookDefault;
}

TEST_F(EventLoop, AHookAnsweringCloseWithZeroSuppressesTheCloseRequest) {
  SetWindowHook(closeAnsweredWithZero);
  Queue([this] { SendCloseRequest(window_); });
  const auto code = WaitForEventWithin(window_);
  ASSERT_TRUE(code.has_value());
  EXPECT_NE(*code, CloseRequestEvent);
}

TEST_F(EventLoop, AHookLeavingEverythingChangesNothing) {
  SetWindowHook(leavesEverything);
  Queue([this] { SendCloseRequest(window_); });
  EXPECT_EQ(WaitForEventWithin(window_), CloseRequestEvent);
  EXPECT_TRUE(hookRanInside);
  WriteGadgetText(14, "3");
  Queue([this] { SendMouseMove(window_, QPoint(220, 120)); });
  EXPECT_EQ(WaitForEventWithin(window_), GadgetEvent);
  EXPECT_EQ(LastEventGadget(), 14);
}

TEST_F(EventLoop, ShowingAWindowPostsTheResizeEvent) {
  // No field has the focus, so the change of the active window notifies nothing.
  FocusGadget(29);
  ForgetEvents();
  OpenFormWindow(2, 0, 0, 120, 80, 0x10CA0001, "later");
  ShowFormWindow(2, WindowVisibility::Shown);
  // Showing sends WM_SIZE, which posts the private message; taking it raises ResizeEvent.
  EXPECT_EQ(WaitForEventWithin(window_), ResizeEvent);
  EXPECT_EQ(LastEventWindow(), 2);
}

TEST_F(EventLoop, MinimisingAndRestoringAreResizeEvents) {
  window_->showMinimized();
  EXPECT_EQ(WaitForEventWithin(window_), ResizeEvent);
  ShowFormWindow(0, WindowVisibility::Shown);
  EXPECT_EQ(WaitForEventWithin(window_), ResizeEvent);
}

TEST_F(EventLoop, LastEventWindowIsMinusOneForAClosedWindow) {
  OpenFormWindow(1, 0, 0, 120, 80, 0, "other");
  QWidget* other = FormWindowWidget(1);
  ASSERT_TRUE(WaitUntilActive(other));
  // The close box of window 1 while window 0 is active: closing window 1 then activates
  // nothing, so no later message goes to a window in the table.
  ShowFormWindow(0, WindowVisibility::Shown);
  ASSERT_TRUE(WaitUntilActive(window_));
  ForgetEvents();
  Queue([other] { SendCloseRequest(other); });
  EXPECT_EQ(WaitForEventWithin(window_), CloseRequestEvent);
  EXPECT_EQ(LastEventWindow(), 1);
  CloseFormWindow(1);
  EXPECT_EQ(LastEventWindow(), -1);
}

// A form with every kind of child; eligible for Tab are 16, 13, 12 and 4 (button 3 is
// disabled, label 6 and frame 2 are no tab stops).
class TabKeys : public LayerTest {
 protected:
  void SetUp() override {
    LayerTest::SetUp();
    window_ = OpenActiveWindow();
    CreateFrameGadget(2, 0, 0, 300, 200, "");
    CreateStringGadget(16, 10, 10, 80, 20, "16");
    CreateStringGadget(13, 10, 40, 80, 20, "13");
    CreateButtonGadget(3, 10, 70, 80, 25, "three");
    CreateTextGadget(6, 100, 10, 80, 20, "label");
    CreateStringGadget(12, 10, 100, 80, 20, "12");
    CreateButtonGadget(4, 10, 130, 80, 25, "four");
    SetGadgetDisabled(3, GadgetState::Disabled);
    ASSERT_TRUE(WaitUntilActive(window_));
  }

  // The gadget number of the focused control, -1 for none.
  static std::int32_t FocusedGadget() {
    QWidget* focus = QApplication::focusWidget();
    for (std::int32_t number = 0; number < GadgetSlotCount(); ++number) {
      if (focus != nullptr && GadgetControlWidget(number) == focus) return number;
    }
    return -1;
  }

  QWidget* window_ = nullptr;
};

struct TabCase {
  const char* name;
  std::int32_t start;  // -1: no focused child
  bool backward;
  std::int32_t expected;
};

inline void PrintTo(const TabCase& row, std::ostream* out) {
  *out << row.name;
}

class TabRows : public TabKeys, public ::testing::WithParamInterface<TabCase> {};

TEST_P(TabRows, MoveTheFocusAmongEligibleControls) {
  const TabCase& row = GetParam();
  FocusGadget(row.start == -1 ? 999 : row.start);
  DeliverPostedEvents();
  ASSERT_EQ(FocusedGadget(), row.start);
  if (row.backward) {
    SendKey(window_, Qt::Key_Backtab, Qt::ShiftModifier);
  } else {
    SendKey(window_, Qt::Key_Tab);
  }
  DeliverPostedEvents();
  EXPECT_EQ(FocusedGadget(), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TabRows,
    ::testing::Values(TabCase{"ForwardInCreationOrder", 16, false, 13},
                      TabCase{"ForwardSkipsTheDisabledButton", 13, false, 12},
                      TabCase{"ForwardFromTheLastWraps", 4, false, 16},
                      TabCase{"ForwardWithNoFocusTakesTheFirst", -1, false, 16},
                      TabCase{"ForwardFromANonEligibleChildDoesNothing", 6, false, 6},
                      TabCase{"BackwardInReverseOrder", 12, true, 13},
                      TabCase{"BackwardFromTheFirstWraps", 16, true, 4},
                      TabCase{"BackwardWithNoFocusTakesTheLast", -1, true, 4},
                      TabCase{"BackwardFromANonEligibleChildTakesTheLast", 6, true, 4}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TabKeys, TabIsAShortcutTheHookSeesAndAFocusChangeItsFieldsReport) {
  FocusGadget(16);
  DeliverPostedEvents();
  RecordedNotifications().clear();
  SetWindowHook(RecordingHook);
  SendKey(window_, Qt::Key_Tab);
  DeliverPostedEvents();
  const std::vector<Notification> expected = {{0, 1212, 1}, {0, 16, 0x200}, {0, 13, 0x100}};
  EXPECT_EQ(RecordedNotifications(), expected);
}

std::int32_t takesShortcuts(PlatformHandle, std::uint32_t message, std::uintptr_t,
                            std::intptr_t lParam) {
  return message == WM_COMMAND && lParam == 0 ? 0 : HookDefault;
}

TEST_F(TabKeys, AHookTakingTheShortcutKeepsTheFocus) {
  FocusGadget(16);
  DeliverPostedEvents();
  SetWindowHook(takesShortcuts);
  SendKey(window_, Qt::Key_Tab);
  DeliverPostedEvents();
  EXPECT_EQ(FocusedGadget(), 16);
}

TEST_F(TabKeys, TabNeverReachesAMultiLineField) {
  CreateStringGadget(19, 100, 40, 150, 60, "a", ES_MULTILINE);
  FocusGadget(19);
  DeliverPostedEvents();
  SendKey(window_, Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));
  DeliverPostedEvents();
  EXPECT_STREQ(ReadGadgetText(19), "a");
  EXPECT_EQ(FocusedGadget(), 16);
}

// A button reached by the keyboard wears the style's focus mark (a blue outline along its
// edge); a field reached so keeps its caret where it was, its text not selected.
struct FocusMarkCase {
  const char* name;
  std::int32_t start;
  bool backward;
};

inline void PrintTo(const FocusMarkCase& row, std::ostream* out) {
  *out << row.name;
}

class FocusMarkRows : public TabKeys, public ::testing::WithParamInterface<FocusMarkCase> {};

TEST_P(FocusMarkRows, ShowOnAButtonReachedByTheKeyboard) {
  const FocusMarkCase& row = GetParam();
  FocusGadget(row.start);
  QWidget* button = GadgetControlWidget(4);
  ASSERT_TRUE(ProcessUntil([&] { return FocusedGadget() == row.start; }, 30s));
  EXPECT_EQ(button->grab().toImage().pixel(40, 0), 0xffabababu);
  SendKey(window_, row.backward ? Qt::Key_Backtab : Qt::Key_Tab,
          row.backward ? Qt::ShiftModifier : Qt::NoModifier);
  ASSERT_TRUE(ProcessUntil([] { return FocusedGadget() == 4; }, 30s));
  EXPECT_EQ(button->grab().toImage().pixel(40, 0), 0xff26709eu);
}

INSTANTIATE_TEST_SUITE_P(Rows, FocusMarkRows,
                         ::testing::Values(FocusMarkCase{"TabFromTheLastField", 12, false},
                                           FocusMarkCase{"ShiftTabFromTheFirstField", 16, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TabKeys, AFieldReachedByTabKeepsItsCaretAtTheStartAndSelectsNothing) {
  WriteGadgetText(13, "5000.00");
  FocusGadget(16);
  ASSERT_TRUE(ProcessUntil([&] { return FocusedGadget() == 16; }, 30s));
  SendKey(window_, Qt::Key_Tab);
  ASSERT_TRUE(ProcessUntil([&] { return FocusedGadget() == 13; }, 30s));
  auto* field = static_cast<QLineEdit*>(GadgetControlWidget(13));
  EXPECT_EQ(field->cursorPosition(), 0);
  EXPECT_EQ(field->selectedText(), QString());
}

}  // namespace
}  // namespace quentara::testing
