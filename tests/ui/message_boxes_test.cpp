// Message boxes: one OK button without an icon, the owner they block and give back its
// focus, and no owner without an active window.

#include "ui/message_boxes.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QTimer>

#include "tests/ui/layer_fixture.h"
#include "ui/gadgets.h"

namespace quentara::testing {
namespace {

class MessageBoxes : public LayerTest {
 protected:
  void SetUp() override {
    LayerTest::SetUp();
    window_ = OpenActiveWindow();
    CreateStringGadget(13, 10, 10, 80, 20, "5000.00");
    CreateButtonGadget(3, 10, 40, 80, 25, "Print");
    ASSERT_TRUE(WaitUntilActive(window_));
    FocusGadget(13);
    DeliverPostedEvents();
  }
  QWidget* window_ = nullptr;
};

// The style of some desktops, which puts icons on the buttons of dialogs.
class IconButtonsStyle final : public QProxyStyle {
 public:
  IconButtonsStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* answer) const override {
    if (hint == SH_DialogButtonBox_ButtonsHaveIcons) return 1;
    return QProxyStyle::styleHint(hint, option, widget, answer);
  }
};

TEST_F(MessageBoxes, ShowTheTextWithOneOkButtonWithoutIconAndAnswerOne) {
  QApplication::setStyle(new IconButtonsStyle);
  QString title = QStringLiteral("unset");
  QString text;
  int buttons = 0;
  bool okHasIcon = true;
  AnswerNextMessageBox([&](QMessageBox* box) {
    title = box->windowTitle();
    text = box->text();
    buttons = static_cast<int>(box->buttons().size());
    okHasIcon = !box->button(QMessageBox::Ok)->icon().isNull();
  });
  EXPECT_EQ(ShowMessageBox("", "First line\nsecond line", 0), 1);
  EXPECT_EQ(title, QString());
  EXPECT_EQ(text, QStringLiteral("First line\nsecond line"));
  EXPECT_EQ(buttons, 1);
  EXPECT_FALSE(okHasIcon);
  QApplication::setStyle(QStringLiteral("Fusion"));
}

TEST_F(MessageBoxes, GoWithTheirOwnerAndAnswerNothing) {
  // The owner form is closed (and deleted) while its box is up.
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&poll] {
    if (OpenMessageBox() == nullptr) return;
    poll.stop();
    CloseFormWindow(0);
  });
  poll.start(10);
  EXPECT_EQ(ShowMessageBox("Error", "text", 0), 0);
  EXPECT_EQ(FormWindowWidget(0), nullptr);
}

TEST_F(MessageBoxes, BlockTheirOwnerAndGiveItBackItsFocus) {
  std::int32_t clicksWhileUp = -1;
  QWidget* button = GadgetControlWidget(3);
  AnswerNextMessageBox([&](QMessageBox* box) {
    EXPECT_EQ(box->parentWidget(), window_);
    ForgetEvents();
    SendClick(button);
    DeliverPostedEvents();
    clicksWhileUp = PendingEvent() == GadgetEvent && LastEventGadget() == 3 ? 1 : 0;
  });
  EXPECT_EQ(ShowMessageBox("Please Note", "For proper alignment use a small font", 0), 1);
  EXPECT_EQ(clicksWhileUp, 0);
  EXPECT_TRUE(WaitUntilActive(window_));
  EXPECT_EQ(QApplication::focusWidget(), GadgetControlWidget(13));
}

TEST_F(MessageBoxes, WithoutAnActiveWindowHaveNoOwner) {
  window_->hide();
  ProcessUntil([] { return QApplication::activeWindow() == nullptr; });
  QWidget* parent = window_;
  AnswerNextMessageBox([&](QMessageBox* box) { parent = box->parentWidget(); });
  EXPECT_EQ(ShowMessageBox("Error", "text", 0), 1);
  EXPECT_EQ(parent, nullptr);
}

}  // namespace
}  // namespace quentara::testing
