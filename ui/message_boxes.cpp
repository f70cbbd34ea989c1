// The program's modal message box: one OK button, placed over its owner form.
#include "ui/message_boxes.h"

#include <QApplication>
#include <QEventLoop>
#include <QFontMetrics>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <algorithm>

#include "ui/qt/form_window.h"
#include "ui/qt/gadget_controls.h"
#include "ui/qt/window_system.h"

namespace quentara {

namespace {

constexpr int IDOK = 1;

// A message box as the program shows it: one OK button without an icon, the title exactly
// as given, centred over its owner form, and holding the keyboard while it is up.
class MessageBox final : public QMessageBox {
 public:
  MessageBox(FormWindow* owner, const QString& title, const QString& text)
      : QMessageBox(owner), owner_(owner) {
    setWindowTitle(title);
    setTextFormat(Qt::PlainText);
    setText(text);
    setIcon(QMessageBox::NoIcon);
    // Only the one OK button exists, whatever the flags say; the program passes 0.
    setStandardButtons(QMessageBox::Ok);
    if (QAbstractButton* ok = button(QMessageBox::Ok)) ok->setIcon(QIcon());
    // Modal to its owner only: the owner takes no input while the box is up, the
    // program's other windows go on working, and their messages reach the window procedure
    // and the hook as always; an event raised meanwhile stays pending for the next
    // WaitForEvent.
    setWindowModality(owner != nullptr ? Qt::WindowModal : Qt::NonModal);
    // A Wayland compositor's window manager for X11 clients may put dialog windows where it
    // likes (weston does) rather than where the program places them. There the box is a
    // window of the ordinary kind, which goes where it is placed, over its owner; it stays
    // modal to the owner all the same.
    if (owner != nullptr && OnWaylandThroughX11()) {
      setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                     Qt::WindowCloseButtonHint);
    }
    // A click on the owner gives the owner the window manager's focus, where typed keys
    // would be lost: the box takes the keyboard back, so that Enter still closes it.
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* focus) {
      if (owner_ == nullptr || focus == nullptr || focus != owner_->windowHandle()) return;
      QTimer::singleShot(0, this, [this] {
        if (isVisible()) Activate(this);
      });
    });
  }

  /// Gives the box the size it will have on the screen and puts it over its owner, before
  /// it is shown: a window manager for X11 clients on Wayland (weston's) takes a window's
  /// place and size from when its native window was created, which is before the box is
  /// shown, and does not follow a later move.
  void PlaceOverOwner() {
    if (owner_ == nullptr) return;
    ensurePolished();
    resize(ShownSize());
    CentreOverOwner();
  }

 protected:
  void showEvent(QShowEvent* event) override {
    // The box takes its final size here, before it is put on the screen; a size other than
    // the one it was placed with moves it again.
    const QSize placed = size();
    QMessageBox::showEvent(event);
    if (owner_ != nullptr && size() != placed) CentreOverOwner();
    SetExactWindowTitle(this, windowTitle());
  }

 private:
  // The size the box settles on when it is shown (QMessageBox sizes itself only then), by
  // the same rule: the text on one line while that fits half the screen and 500 pixels,
  // else wrapped to that width; never narrower than the title needs nor wider than the
  // screen allows.
  QSize ShownSize() {
    auto* label = findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    QLayout* grid = layout();
    if (label == nullptr || grid == nullptr || screen() == nullptr) return sizeHint();
    const int screenWidth = screen()->availableGeometry().width();
    const int hardLimit = screenWidth <= 1024 ? screenWidth : std::min(screenWidth - 480, 1000);
    const int softLimit = std::min(screenWidth / 2, 500);
    auto minimumWidth = [grid] {
      grid->activate();
      return grid->totalMinimumSize().width();
    };
    label->setWordWrap(false);
    int width = minimumWidth();
    if (width > softLimit) {
      label->setWordWrap(true);
      width = std::min(std::max(softLimit, minimumWidth()), hardLimit);
    }
    const QFontMetrics titleFont(QApplication::font("QMdiSubWindowTitleBar"));
    width = std::max(width, std::min(titleFont.horizontalAdvance(windowTitle()) + 50, hardLimit));
    grid->activate();
    const int height = grid->hasHeightForWidth() ? grid->totalHeightForWidth(width)
                                                 : grid->totalMinimumSize().height();
    return QSize(width, height);
  }

  // The box's outer window, frame included, centred over the owner's outer window; the
  // box gets the owner's kind of frame.
  void CentreOverOwner() {
    const QRect ownerOuter = owner_->frameGeometry();
    const QRect ownerInner = owner_->geometry();
    const int frameLeft = ownerInner.left() - ownerOuter.left();
    const int frameTop = ownerInner.top() - ownerOuter.top();
    const int outerWidth = width() + ownerOuter.width() - ownerInner.width();
    const int outerHeight = height() + ownerOuter.height() - ownerInner.height();
    const int left = std::max(0, ownerOuter.left() + (ownerOuter.width() - outerWidth) / 2);
    const int top = std::max(0, ownerOuter.top() + (ownerOuter.height() - outerHeight) / 2);
    // Qt places a window that is not yet created by its outer frame, and an existing one by
    // its inner area.
    if (testAttribute(Qt::WA_WState_Created)) {
      move(left + frameLeft, top + frameTop);
    } else {
      move(left, top);
    }
  }

  QPointer<FormWindow> owner_;
};

// The form window a closed box has handed the activation back to. The window system makes
// it active only a moment later, so a box that follows at once (a second message, the
// notice that no editor can be started) would find no active window; until the window
// system has made a window of the program active, the owner counts as the active one.
QPointer<FormWindow>& HandedBackOwner() {
  static auto* owner = new QPointer<FormWindow>;
  return *owner;
}

void HandBackActivation(FormWindow* owner) {
  Activate(owner);
  HandedBackOwner() = owner;
  // One watcher per application object, deleted with it.
  static auto* watcher = new QPointer<QObject>;
  if (*watcher != nullptr) return;
  *watcher = new QObject(qGuiApp);
  QObject::connect(qGuiApp, &QGuiApplication::focusWindowChanged, *watcher, [](QWindow* focus) {
    if (focus != nullptr) HandedBackOwner().clear();
  });
}

// The program's active form window, which owns a new box; nullptr when the program is not
// in the foreground.
FormWindow* ActiveOwner() {
  if (QWidget* active = QApplication::activeWindow()) return FormOf(active);
  FormWindow* handedBack = HandedBackOwner();
  if (handedBack == nullptr || handedBack->IsClosed() || !handedBack->isVisible()) return nullptr;
  return handedBack;
}

}  // namespace

std::int32_t ShowMessageBox(const char* title, const char* text, std::uint32_t) {
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) return 0;
  // The owner is the program's active form window; without one (the program is not in
  // the foreground) the box has no owner and the program's windows stay usable.
  QPointer<FormWindow> owner = ActiveOwner();
  QPointer<QWidget> ownerFocus = owner != nullptr ? owner->focusWidget() : nullptr;

  // The box is a child of its owner and goes with it if the owner is deleted while the
  // box is up; the wait then ends without an answer.
  QPointer<MessageBox> box =
      new MessageBox(owner.data(), QString::fromLatin1(title != nullptr ? title : ""),
                     ToQtLineEnds(QString::fromLatin1(text != nullptr ? text : "")));
  QEventLoop loop;
  QObject::connect(box, &QDialog::finished, &loop, &QEventLoop::quit);
  QObject::connect(box, &QObject::destroyed, &loop, &QEventLoop::quit);
  box->PlaceOverOwner();
  box->show();
  Activate(box);
  loop.exec(QEventLoop::DialogExec);
  const bool answered = box != nullptr;
  delete box;

  if (owner != nullptr && !owner->IsClosed() && owner->isVisible()) {
    // Without a window manager nobody gives the owner back its activation and focus.
    HandBackActivation(owner);
    if (ownerFocus != nullptr && owner->focusWidget() != ownerFocus) ownerFocus->setFocus();
  }
  return answered ? IDOK : 0;
}

}  // namespace quentara
