// Gadgets: the gadget table, reading and writing texts, the notifications and their order,
// fields, buttons and fonts.

#include "ui/gadgets.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFrame>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTextEdit>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "tests/ui/layer_fixture.h"
#include "text/text_area.h"
#include "ui/fonts_pictures.h"

namespace quentara::testing {
namespace {

class Gadgets : public LayerTest {
 protected:
  void SetUp() override {
    LayerTest::SetUp();
    window_ = OpenActiveWindow();
  }
  QWidget* window_ = nullptr;
};

TEST_F(Gadgets, CreatingNumberFortyGrowsTheTableToSeventy) {
  EXPECT_EQ(GadgetSlotCount(), 30);
  EXPECT_NE(CreateTextGadget(40, 0, 0, 50, 20, "forty"), 0u);
  EXPECT_EQ(GadgetSlotCount(), 70);
  EXPECT_EQ(GadgetHandle(69), 0u);
  EXPECT_EQ(GadgetHandle(70), 0u);
}

TEST_F(Gadgets, WithoutAParentWindowNothingIsCreated) {
  SetGadgetParent(0);
  EXPECT_EQ(CreateButtonGadget(3, 0, 0, 50, 20, "none"), 0u);
  EXPECT_EQ(GadgetHandle(3), 0u);
  EXPECT_EQ(CreateButtonGadget(65536, 0, 0, 50, 20, "beyond"), 0u);
  // A refused picture gadget leaves the table as it was; other kinds grow it.
  EXPECT_EQ(CreatePictureGadget(40, 0, 0, 10, 10, 0, 0), 0u);
  EXPECT_EQ(GadgetSlotCount(), 30);
  EXPECT_EQ(CreateButtonGadget(45, 0, 0, 50, 20, "none"), 0u);
  EXPECT_EQ(GadgetSlotCount(), 75);
}

TEST_F(Gadgets, ANumberInUseLeavesTheOldControlOnScreen) {
  const PlatformHandle first = CreateTextGadget(7, 0, 0, 80, 20, "first");
  QWidget* old = GadgetControlWidget(7);
  const PlatformHandle second = CreateTextGadget(7, 0, 30, 80, 20, "second");
  EXPECT_NE(first, second);
  EXPECT_EQ(GadgetHandle(7), second);
  EXPECT_NE(GadgetControlWidget(7), old);
  EXPECT_TRUE(old->isVisible());
  EXPECT_STREQ(ReadGadgetText(7), "second");
}

TEST_F(Gadgets, EdgesFollowTheFlag) {
  CreateTextGadget(1, 0, 0, 80, 20, "plain");
  CreateTextGadget(2, 0, 30, 80, 20, "sunken", GadgetEdgeFlag);
  CreateStringGadget(3, 0, 60, 80, 20, "edged");
  CreateStringGadget(4, 0, 90, 80, 20, "right", ES_RIGHT);
  CreateStringGadget(5, 0, 120, 80, 20, "bare", GadgetEdgeFlag);
  EXPECT_EQ(static_cast<QFrame*>(GadgetControlWidget(1))->frameWidth(), 0);
  EXPECT_EQ(static_cast<QFrame*>(GadgetControlWidget(2))->frameWidth(), 2);
  EXPECT_TRUE(static_cast<QLineEdit*>(GadgetControlWidget(3))->hasFrame());
  EXPECT_TRUE(static_cast<QLineEdit*>(GadgetControlWidget(4))->hasFrame());
  EXPECT_FALSE(static_cast<QLineEdit*>(GadgetControlWidget(5))->hasFrame());
  EXPECT_EQ(static_cast<QLineEdit*>(GadgetControlWidget(4))->alignment() & Qt::AlignHorizontal_Mask,
            Qt::AlignRight);
}

TEST_F(Gadgets, ReadingCutsALongTextAt31999Characters) {
  CreateStringGadget(13, 0, 0, 80, 20, "");
  const std::string longText(40000, 'a');
  WriteGadgetText(13, longText.c_str());
  char* text = ReadGadgetText(13);
  EXPECT_EQ(std::strlen(text), 31999u);
  // The result rule: the area's end rests on the terminator.
  EXPECT_EQ(TextAreaEnd(), text + 31999);
  SetTextAreaEnd(TextAreaStart());
}

TEST_F(Gadgets, ReadingAppendsAtTheAreasEnd) {
  CreateTextGadget(1, 0, 0, 80, 20, "Rate");
  SetTextAreaEnd(TextAreaStart());
  char* start = AppendText("Interest ");
  ReadGadgetText(1);
  EXPECT_STREQ(start, "Interest Rate");
  SetTextAreaEnd(TextAreaStart());
}

TEST_F(Gadgets, TextsAreEightBitCharacters) {
  CreateStringGadget(13, 0, 0, 80, 20, "");
  WriteGadgetText(13, "caf\xE9 \xA3");
  EXPECT_EQ(static_cast<QLineEdit*>(GadgetControlWidget(13))->text(), QStringLiteral(u"café £"));
  EXPECT_STREQ(ReadGadgetText(13), "caf\xE9 \xA3");
  EXPECT_STREQ(ReadGadgetText(28), "");  // never created
}

TEST_F(Gadgets, MultiLineTextsKeepTheirLineEnds) {
  const char* notice = "First.\r\n\r\nSecond line.";
  CreateStringGadget(19, 0, 0, 200, 100, notice, 0x807);
  EXPECT_STREQ(ReadGadgetText(19), notice);
  auto* box = static_cast<QTextEdit*>(GadgetControlWidget(19));
  EXPECT_EQ(box->toPlainText(), QStringLiteral("First.\n\nSecond line."));
  // Both alignments asked for: centred, and wrapped at the field's width.
  EXPECT_EQ(box->document()->defaultTextOption().alignment(), Qt::AlignHCenter);
  EXPECT_EQ(box->lineWrapMode(), QTextEdit::WidgetWidth);
  EXPECT_TRUE(box->isReadOnly());
  box->selectAll();
  box->copy();
  EXPECT_EQ(QApplication::clipboard()->text(), QString::fromLatin1(notice));
}

TEST_F(Gadgets, ALeftAlignedMultiLineFieldDoesNotWrap) {
  CreateStringGadget(19, 0, 0, 200, 100, "text", ES_MULTILINE);
  EXPECT_EQ(static_cast<QTextEdit*>(GadgetControlWidget(19))->lineWrapMode(), QTextEdit::NoWrap);
}

TEST_F(Gadgets, ApplyingFontsByHandleAndForLaterGadgets) {
  CreateTextGadget(1, 0, 0, 80, 20, "default");
  QWidget* label = GadgetControlWidget(1);
  EXPECT_EQ(label->font().pixelSize(), 11);  // the GUI font: 8 points at 96 dpi
  const PlatformHandle verdana = CreateFontByName(18, "Verdana", 10, FontBold);
  ApplyGadgetFont(1, verdana);
  EXPECT_EQ(label->font().pixelSize(), 13);
  EXPECT_TRUE(label->font().bold());
  ApplyGadgetFont(1, static_cast<PlatformHandle>(-1));
  EXPECT_EQ(label->font().pixelSize(), 11);
  EXPECT_FALSE(label->font().bold());

  ApplyGadgetFont(-1, verdana);
  EXPECT_EQ(label->font().pixelSize(), 11);  // existing gadgets keep theirs
  CreateButtonGadget(3, 0, 30, 80, 20, "later");
  EXPECT_EQ(GadgetControlWidget(3)->font().pixelSize(), 13);
}

TEST_F(Gadgets, AGadgetKeepsAFontThatWasReplaced) {
  CreateTextGadget(1, 0, 0, 80, 20, "title");
  ApplyGadgetFont(1, CreateFontByName(1, "Arial", 26, 0));
  CreateFontByName(1, "Arial", 9, 0);
  EXPECT_EQ(GadgetControlWidget(1)->font().pixelSize(), 35);
}

// Notifications as the hook sees them, for one action each.
struct NotifyCase {
  const char* name;
  std::function<void()> action;
  std::vector<Notification> expected;
};

class Notifications : public Gadgets {
 protected:
  void SetUp() override {
    Gadgets::SetUp();
    CreateTextGadget(6, 0, 0, 80, 20, "label");
    CreateStringGadget(13, 100, 0, 80, 20, "5000.00", ES_RIGHT);
    CreateStringGadget(15, 100, 30, 80, 20, "blank", ES_RIGHT);
    CreateStringGadget(19, 100, 60, 150, 60, "notice", 0x807);
    CreateStringGadget(20, 100, 130, 150, 40, "free", ES_MULTILINE);
    CreateButtonGadget(3, 0, 30, 80, 25, "Print");
    ASSERT_TRUE(WaitUntilActive(window_));
    FocusGadget(15);
    DeliverPostedEvents();
    ForgetEvents();
    RecordedNotifications().clear();
    SetWindowHook(RecordingHook);
  }
};

TEST_F(Notifications, ComeInTheOrderTheProgramCountsOn) {
  const std::vector<NotifyCase> rows = {
      {"FocusMovesNotifyTheLoserFirst", [] { FocusGadget(13); }, {{0, 15, 0x200}, {0, 13, 0x100}}},
      {"WritingAFieldNotifiesUpdateThenChange",
       [] { WriteGadgetText(13, "12.00"); },
       {{0, 13, 0x400}, {0, 13, 0x300}}},
      {"WritingTheSameTextStillNotifies",
       [] { WriteGadgetText(15, "blank"); },
       {{0, 15, 0x400}, {0, 15, 0x300}}},
      {"WritingAMultiLineFieldDoesNot", [] { WriteGadgetText(20, "changed"); }, {}},
      {"WritingALabelOrAButtonDoesNot",
       [] {
         WriteGadgetText(6, "new label");
         WriteGadgetText(3, "Print now");
       },
       {}},
      {"FocusingTheFocusedFieldDoesNot", [] { FocusGadget(15); }, {}},
      {"FocusingNothingTakesTheFocusAway", [] { FocusGadget(29); }, {{0, 15, 0x200}}},
  };
  for (const NotifyCase& row : rows) {
    SCOPED_TRACE(row.name);
    FocusGadget(15);
    DeliverPostedEvents();
    RecordedNotifications().clear();
    row.action();
    EXPECT_EQ(RecordedNotifications(), row.expected);
  }
}

TEST_F(Notifications, FocusingThirteenWhileFifteenHasTheFocusLeavesThirteenPending) {
  FocusGadget(13);
  Queue([this] { SendMouseMove(window_, QPoint(290, 190)); });
  EXPECT_EQ(WaitForEventWithin(window_), GadgetEvent);
  EXPECT_EQ(LastEventGadget(), 13);
}

TEST_F(Notifications, TypingNotifiesInBothKindsOfField) {
  FocusGadget(20);
  DeliverPostedEvents();
  RecordedNotifications().clear();
  SendText(window_, QStringLiteral("x"));
  DeliverPostedEvents();
  const std::vector<Notification> multiLine = {{0, 20, 0x400}, {0, 20, 0x300}};
  EXPECT_EQ(RecordedNotifications(), multiLine);

  FocusGadget(13);
  DeliverPostedEvents();
  RecordedNotifications().clear();
  SendText(window_, QStringLiteral("1"));
  DeliverPostedEvents();
  const std::vector<Notification> oneLine = {{0, 13, 0x400}, {0, 13, 0x300}};
  EXPECT_EQ(RecordedNotifications(), oneLine);
}

TEST_F(Notifications, TypingIntoAReadOnlyFieldChangesNothing) {
  FocusGadget(19);
  DeliverPostedEvents();
  RecordedNotifications().clear();
  SendText(window_, QStringLiteral("zz"));
  DeliverPostedEvents();
  EXPECT_STREQ(ReadGadgetText(19), "notice");
  EXPECT_TRUE(RecordedNotifications().empty());
}

TEST_F(Notifications, TypingIntoAFullFieldReportsTheLimit) {
  const std::string full(32767, '9');
  WriteGadgetText(13, full.c_str());
  FocusGadget(13);
  DeliverPostedEvents();
  RecordedNotifications().clear();
  SendText(window_, QStringLiteral("1"));
  DeliverPostedEvents();
  const std::vector<Notification> expected = {{0, 13, 0x501}};
  EXPECT_EQ(RecordedNotifications(), expected);
  EXPECT_EQ(std::strlen(ReadGadgetText(13)), 31999u);
  SetTextAreaEnd(TextAreaStart());
}

// Every way of pasting into a one-line field takes only what fits its limit of 32767
// characters and reports the rest with EN_MAXTEXT (0x501), as typing does.
struct PasteWay {
  const char* name;
  std::function<void(QWidget* window, QWidget* field, const QString& text)> paste;
  bool replacesSelection;
};

void TriggerMenuPaste(QWidget* field, const QString& text) {
  QApplication::clipboard()->setText(text);
  QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(5, 5),
                            field->mapToGlobal(QPoint(5, 5)));
  QCoreApplication::sendEvent(field, &request);
  auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  ASSERT_NE(menu, nullptr);
  // Undo, Redo, a separator, Cut, Copy, Paste.
  ASSERT_GE(menu->actions().size(), 6);
  QAction* paste = menu->actions()[5];
  ASSERT_TRUE(paste->text().startsWith(QStringLiteral("&Paste"))) << paste->text().toStdString();
  paste->trigger();
  menu->close();
}

void Drop(QWidget* field, const QString& text) {
  QMimeData data;
  data.setText(text);
  // A drop reaches a widget that a drag has entered.
  QDragEnterEvent enter(QPoint(5, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(field, &enter);
  QDropEvent drop(QPointF(5, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(field, &drop);
}

// A long text in short: runs of more than three equal characters as "[count*character]".
std::string Runs(const QString& text) {
  std::string runs;
  for (qsizetype at = 0; at < text.size();) {
    qsizetype end = at;
    while (end < text.size() && text[end] == text[at]) ++end;
    const std::string piece = text.mid(at, end - at).toStdString();
    runs += end - at > 3 ? "[" + std::to_string(end - at) + "*" + piece[0] + "]" : piece;
    at = end;
  }
  return runs;
}

TEST_F(Notifications, PastingStopsAtTheLimit) {
  const std::string full(32767, '9');
  const PasteWay ways[] = {
      {"CtrlV",
       [](QWidget* window, QWidget*, const QString& text) {
         QApplication::clipboard()->setText(text);
         SendKey(window, Qt::Key_V, Qt::ControlModifier);
       },
       true},
      {"ShiftInsert",
       [](QWidget* window, QWidget*, const QString& text) {
         QApplication::clipboard()->setText(text);
         SendKey(window, Qt::Key_Insert, Qt::ShiftModifier);
       },
       true},
      {"ContextMenu",
       [](QWidget*, QWidget* field, const QString& text) { TriggerMenuPaste(field, text); }, true},
      {"Drop", [](QWidget*, QWidget* field, const QString& text) { Drop(field, text); }, false},
  };
  struct Row {
    const char* name;
    std::string before;
    bool selectAll;
    int pasted;
    std::string after;
    std::vector<std::uint32_t> codes;
  };
  const Row rows[] = {
      {"WhatFitsGoesInWhole", "5000.00", false, 3, "7775000.00", {0x400, 0x300}},
      {"TheRestIsCut",
       "5000.00",
       false,
       40000,
       std::string(32760, '7') + "5000.00",
       {0x501, 0x400, 0x300}},
      {"AFullFieldTakesNothing", full, false, 1, full, {0x501}},
      {"ASelectionMakesRoom", full, true, 40000, std::string(32767, '7'), {0x501, 0x400, 0x300}},
  };
  auto* field = static_cast<QLineEdit*>(GadgetControlWidget(13));
  for (const PasteWay& way : ways) {
    for (const Row& row : rows) {
      if (row.selectAll && !way.replacesSelection) continue;
      SCOPED_TRACE(std::string(way.name) + " " + row.name);
      WriteGadgetText(13, row.before.c_str());
      FocusGadget(13);
      if (row.selectAll) field->selectAll();
      QCoreApplication::sendPostedEvents();
      RecordedNotifications().clear();
      way.paste(window_, field, QString(row.pasted, QLatin1Char('7')));
      std::vector<std::uint32_t> codes;
      for (const Notification& n : RecordedNotifications()) {
        if (n.identifier == 13) codes.push_back(n.code);
      }
      EXPECT_EQ(codes, row.codes);
      EXPECT_EQ(Runs(field->text()), Runs(QString::fromStdString(row.after)));
    }
  }
}

TEST_F(Notifications, AClosedWindowsControlsSendNothing) {
  CloseFormWindow(0);
  DeliverPostedEvents();
  EXPECT_TRUE(RecordedNotifications().empty());
  FocusGadget(13);
  WriteGadgetText(13, "x");
  EXPECT_TRUE(RecordedNotifications().empty());
}

}  // namespace
}  // namespace quentara::testing
