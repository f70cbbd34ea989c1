// The event filter that tells where each message of a form window begins and ends, and
// the wait for the next messages.
#include "ui/qt/message_pump.h"

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QWheelEvent>
#include <QWidget>
#include <vector>

#include "ui/program_starter.h"
#include "ui/qt/event_queue.h"
#include "ui/qt/form_window.h"
#include "ui/qt/gadget_controls.h"
#include "ui/ui_types.h"

namespace quentara {

namespace {

// Key state bits of a mouse message's wParam.
constexpr std::uintptr_t MK_LBUTTON = 0x1;
constexpr std::uintptr_t MK_RBUTTON = 0x2;
constexpr std::uintptr_t MK_SHIFT = 0x4;
constexpr std::uintptr_t MK_CONTROL = 0x8;
constexpr std::uintptr_t MK_MBUTTON = 0x10;
constexpr std::int32_t VK_TAB = 0x09;
constexpr char16_t deleteCharacter = 0x7F;

struct MessageCount {
  int count = 0;
  std::uint32_t current = 0;
};
MessageCount* activeCount = nullptr;
// Fields a typed character has been posted to, not yet delivered.
std::vector<QPointer<QObject>> fieldsWithCharacters;
// The copy of a key that Qt's accessibility bridge posted, on its way from the window to
// the control with the focus (IsInput).
const QEvent* heldBackKey = nullptr;

// A platform message arrives. An input event reaches the window's QWindow first and then,
// inside that, the widget: only the first starts a new message, and the message before it
// is complete. The layer's own posted messages each start one.
void Count(std::uint32_t message, bool startsMessage) {
  if (activeCount == nullptr) return;
  if (activeCount->count++ == 0) {
    activeCount->current = message;
  } else if (startsMessage) {
    FinishMessage(activeCount->current);
    activeCount->current = message;
  }
}

// A typed character on its way to a field, one message after its key press: a key press
// is a key-down message (WM_KEYDOWN) and then a character message (WM_CHAR), and the
// field takes the character, and changes its text, only with the second.
class CharacterMessage final : public QKeyEvent {
 public:
  explicit CharacterMessage(const QKeyEvent& key)
      : QKeyEvent(key.type(), key.key(), key.modifiers(), key.nativeScanCode(),
                  key.nativeVirtualKey(), key.nativeModifiers(), key.text(), key.isAutoRepeat(),
                  static_cast<quint16>(key.count())) {}
};

std::int32_t VirtualKey(int key) {
  if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) {
    return key;  // Qt numbers these as the virtual-key codes do.
  }
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return 0x70 + (key - Qt::Key_F1);
  switch (key) {
    case Qt::Key_Backspace:
      return 0x08;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return 0x0D;
    case Qt::Key_Shift:
      return 0x10;
    case Qt::Key_Control:
      return 0x11;
    case Qt::Key_Alt:
      return 0x12;
    case Qt::Key_Pause:
      return 0x13;
    case Qt::Key_CapsLock:
      return 0x14;
    case Qt::Key_Escape:
      return 0x1B;
    case Qt::Key_Space:
      return 0x20;
    case Qt::Key_PageUp:
      return 0x21;
    case Qt::Key_PageDown:
      return 0x22;
    case Qt::Key_End:
      return 0x23;
    case Qt::Key_Home:
      return 0x24;
    case Qt::Key_Left:
      return 0x25;
    case Qt::Key_Up:
      return 0x26;
    case Qt::Key_Right:
      return 0x27;
    case Qt::Key_Down:
      return 0x28;
    case Qt::Key_Insert:
      return 0x2D;
    case Qt::Key_Delete:
      return 0x2E;
    default:
      return 0;
  }
}

std::uint32_t MouseMessage(QEvent::Type type, Qt::MouseButton button) {
  const int column = type == QEvent::MouseButtonPress     ? 0
                     : type == QEvent::MouseButtonRelease ? 1
                                                          : 2;
  switch (button) {
    case Qt::LeftButton:
      return WM_LBUTTONDOWN + static_cast<std::uint32_t>(column);
    case Qt::RightButton:
      return WM_RBUTTONDOWN + static_cast<std::uint32_t>(column);
    case Qt::MiddleButton:
      return WM_MBUTTONDOWN + static_cast<std::uint32_t>(column);
    default:
      return 0;
  }
}

// The message number of a spontaneous event, 0 when it is not a queued message (focus and
// activation changes reach the window procedure directly, not through the queue).
std::uint32_t MessageNumber(const QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseMove:
      return WM_MOUSEMOVE;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: {
      const auto* mouse = static_cast<const QMouseEvent*>(event);
      return MouseMessage(event->type(), mouse->button());
    }
    case QEvent::Wheel:
      return WM_MOUSEWHEEL;
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
      const bool alt = (static_cast<const QKeyEvent*>(event)->modifiers() & Qt::AltModifier) != 0;
      if (event->type() == QEvent::KeyPress) return alt ? WM_SYSKEYDOWN : WM_KEYDOWN;
      return alt ? WM_SYSKEYUP : WM_KEYUP;
    }
    case QEvent::Close:
      // The window system's close request (the close box) is the system command that
      // then sends WM_CLOSE, not WM_CLOSE itself: a hook that refuses WM_CLOSE leaves no
      // 16 behind.
      return WM_SYSCOMMAND;
    case QEvent::Expose:
      return WM_PAINT;
    default:
      return 0;
  }
}

std::uintptr_t MouseKeyState(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
  std::uintptr_t state = 0;
  if ((buttons & Qt::LeftButton) != 0) state |= MK_LBUTTON;
  if ((buttons & Qt::RightButton) != 0) state |= MK_RBUTTON;
  if ((buttons & Qt::MiddleButton) != 0) state |= MK_MBUTTON;
  if ((modifiers & Qt::ShiftModifier) != 0) state |= MK_SHIFT;
  if ((modifiers & Qt::ControlModifier) != 0) state |= MK_CONTROL;
  return state;
}

// Tab and Shift+Tab are shortcuts of the active form window: they go to its window
// procedure (and so to the hook) as WM_COMMAND, before any control sees the key.
bool TranslateShortcut(const QKeyEvent* key) {
  FormWindow* form = FormOf(QApplication::activeWindow());
  if (form == nullptr) return false;
  const Qt::KeyboardModifiers modifiers = key->modifiers();
  const bool shift = (modifiers & Qt::ShiftModifier) != 0 || key->key() == Qt::Key_Backtab;
  const std::uint32_t identifier = ShortcutIdentifier(form->Handle(), VirtualKey(key->key()), shift,
                                                      (modifiers & Qt::ControlModifier) != 0,
                                                      (modifiers & Qt::AltModifier) != 0);
  if (identifier == 0) return false;
  WindowProcedure(form->Handle(), WM_COMMAND, MakeWParam(identifier, 1), 0);
  return true;
}

bool SplitCharacter(QWidget* receiver, const QKeyEvent* key) {
  auto* control = dynamic_cast<GadgetControl*>(receiver);
  if (control == nullptr || !control->TakesCharacters()) return false;
  const QString text = key->text();
  // Keys without a character (arrows, Delete) act with their key-down message.
  if (text.isEmpty() || text.at(0).unicode() == deleteCharacter) return false;
  QCoreApplication::postEvent(receiver, new CharacterMessage(*key));
  fieldsWithCharacters.emplace_back(receiver);
  return true;
}

// The characters posted so far reach their fields, and nothing else that was posted.
void DeliverCharacters() {
  std::vector<QPointer<QObject>> fields;
  fields.swap(fieldsWithCharacters);
  for (const QPointer<QObject>& field : fields) {
    if (field != nullptr) QCoreApplication::sendPostedEvents(field, QEvent::KeyPress);
  }
}

// Whether an event is input from the window system. With a screen reader listening for
// keys, Qt's accessibility bridge holds every key press and release back until the screen
// reader has seen it: its application-wide filter, installed when a screen reader
// registers and so after this one, comes first, and it posts a copy of each key that the
// screen reader lets through to the window the key was for. The copy is no longer
// spontaneous, but it is the key's message. It reaches the form's QWindow, where no other
// key arrives that is not spontaneous, and from there the control with the focus.
bool IsInput(QObject* receiver, QEvent* event) {
  if (event->spontaneous()) {
    if (!receiver->isWidgetType()) heldBackKey = nullptr;
    return true;
  }
  const QEvent::Type type = event->type();
  if ((type != QEvent::KeyPress && type != QEvent::KeyRelease) ||
      dynamic_cast<CharacterMessage*>(event) != nullptr) {
    return false;
  }
  if (!receiver->isWidgetType()) {
    heldBackKey = event;
    return true;
  }
  if (event != heldBackKey) return false;
  // Only the control the window hands the key to; a key it ignores goes on to its parent as
  // a key that is not spontaneous, like any other key.
  heldBackKey = nullptr;
  return true;
}

// Input for the form window itself (not for one of its controls) is a message of its own
// window procedure; the hook may take it, and Qt then does not see it.
bool OfferToWindow(FormWindow* form, QEvent* event, std::uint32_t message) {
  std::uintptr_t wParam = 0;
  std::intptr_t lParam = 0;
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
      QWidget* focus = QApplication::focusWidget();
      if (focus != nullptr && focus != form) return false;  // a control's key
      const auto* key = static_cast<const QKeyEvent*>(event);
      wParam = static_cast<std::uintptr_t>(VirtualKey(key->key()));
      const std::uint32_t keyData = event->type() == QEvent::KeyPress ? 0x00000001u : 0xC0000001u;
      lParam = static_cast<std::intptr_t>(static_cast<std::int32_t>(keyData));
      break;
    }
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: {
      const auto* mouse = static_cast<const QMouseEvent*>(event);
      const QPoint position = mouse->position().toPoint();
      wParam = MouseKeyState(mouse->buttons(), mouse->modifiers());
      lParam = MakeLParam(position.x(), position.y());
      break;
    }
    case QEvent::Wheel: {
      const auto* wheel = static_cast<const QWheelEvent*>(event);
      const QPoint position = wheel->globalPosition().toPoint();
      wParam = MakeWParam(
          static_cast<std::uint32_t>(MouseKeyState(wheel->buttons(), wheel->modifiers())),
          static_cast<std::uint32_t>(wheel->angleDelta().y()));
      lParam = MakeLParam(position.x(), position.y());
      break;
    }
    default:
      return false;  // close requests and painting reach the window's own handlers
  }
  return WindowProcedure(form->Handle(), message, wParam, lParam).fromHook;
}

class MessagePump final : public QObject {
 protected:
  bool eventFilter(QObject* receiver, QEvent* event) override {
    const QEvent::Type type = event->type();
    if (type == ResizeMessage::Type()) {
      if (FormOf(receiver) != nullptr) Count(resizeMessage, true);
      return false;
    }
    if (!IsInput(receiver, event)) {
      if (type == QEvent::KeyPress && dynamic_cast<CharacterMessage*>(event) != nullptr &&
          FormOf(receiver) != nullptr) {
        Count(WM_CHAR, true);
      }
      return false;
    }
    const std::uint32_t message = MessageNumber(event);
    if (message == 0) return false;
    FormWindow* form = FormOf(receiver);
    if (form == nullptr) return false;
    if (!receiver->isWidgetType()) {
      // The characters of earlier key presses reach their fields before the next message:
      // when input arrives in a batch (a fast typist, or input kept back while the program
      // waited for the editor), text typed before a click is in its field when the click
      // is handled. A key held back for a screen reader is itself a posted event: the keys
      // posted after it must wait for their turn, so only the characters go first.
      if (event->spontaneous()) QCoreApplication::sendPostedEvents(nullptr, QEvent::KeyPress);
      DeliverCharacters();
    }
    Count(message, !receiver->isWidgetType());
    if (type == QEvent::KeyPress) {
      const auto* key = static_cast<const QKeyEvent*>(event);
      if (TranslateShortcut(key)) return true;
      if (receiver->isWidgetType() && SplitCharacter(static_cast<QWidget*>(receiver), key)) {
        return true;
      }
    }
    if (receiver == form) return OfferToWindow(form, event, message);
    return false;
  }
};

MessagePump* pump = nullptr;

}  // namespace

void InstallMessagePump() {
  if (pump != nullptr || QCoreApplication::instance() == nullptr) return;
  pump = new MessagePump;
  QCoreApplication::instance()->installEventFilter(pump);
}

void RemoveMessagePump() {
  if (pump == nullptr) return;
  if (QCoreApplication* application = QCoreApplication::instance()) {
    application->removeEventFilter(pump);
  }
  delete pump;
  pump = nullptr;
}

void HandleNextMessages() {
  MessageCount mine;
  MessageCount* outer = activeCount;
  activeCount = &mine;
  // Windows closed while the program was busy are deleted here, outside their own events.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  while (mine.count == 0) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  FinishMessage(mine.current);
  activeCount = outer;
  // A wait inside another (a test waiting from within an event) has reported its messages
  // through the shared queue; the outer wait has seen a message too.
  if (outer != nullptr && outer->count++ == 0) outer->current = mine.current;
  CollectEndedPrograms();
}

}  // namespace quentara
