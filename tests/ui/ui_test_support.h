#pragma once
// Support for tests that drive the program's real windows under Qt's offscreen platform:
// a screen configured like the real one (1280 x 1024 at 96 dpi, windows without frames),
// waiting for conditions with a time limit, message boxes, and key and mouse input that
// takes the same path as input from the window system (window first, then the widget).
//
// Input can be sent at once or queued. Queued input is delivered by the next round of
// event processing, which is what a test of WaitForEvent needs: the input then arrives
// while WaitForEvent waits, exactly like input from a person. Note that a typed character
// reaches a field one message after its key press (a key-down message and a character
// message), so process events (or call WaitForEvent twice) before reading a field's text.
//
// Header-only; needs Qt6::Widgets and Qt6::Test.

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "ui/windows.h"

namespace quentara::testing {

using namespace std::chrono_literals;

/// Makes the QApplication that InitWindows creates use the offscreen platform with the
/// screen of offscreen.json (next to this header, or QUENTARA_OFFSCREEN_CONFIG). Call it
/// before InitWindows; once the application exists it changes nothing.
inline void UseOffscreenScreen() {
  if (QCoreApplication::instance() != nullptr) return;
  // The offscreen platform cannot raise windows and says so every time; nothing depends
  // on it there.
  static QtMessageHandler previous = nullptr;
  previous = qInstallMessageHandler(
      [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
        if (message == QLatin1String("This plugin does not support raise()")) return;
        if (previous != nullptr) previous(type, context, message);
      });
#ifdef QUENTARA_OFFSCREEN_CONFIG
  const std::string config = QUENTARA_OFFSCREEN_CONFIG;
#else
  const std::string config =
      (std::filesystem::path(__FILE__).parent_path() / "offscreen.json").string();
#endif
  setenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).c_str(), 1);
}

/// Sets an environment variable (std::nullopt removes it) for the guard's life.
class EnvironmentGuard {
 public:
  EnvironmentGuard(const char* name, const std::optional<std::string>& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value.has_value()) {
      setenv(name, value->c_str(), 1);
    } else {
      unsetenv(name);
    }
  }
  ~EnvironmentGuard() {
    if (old_.has_value()) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }
  EnvironmentGuard(const EnvironmentGuard&) = delete;
  EnvironmentGuard& operator=(const EnvironmentGuard&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

/// Handles events until `done()` holds or the time is up (a generous ceiling: the condition
/// normally holds within milliseconds); returns done().
inline bool ProcessUntil(const std::function<bool()>& done,
                         std::chrono::milliseconds limit = 30000ms) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > limit.count()) return done();
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  return true;
}

/// Delivers every event posted so far (a typed character travels as one, after its key
/// press) and deletes the objects whose deletion was deferred. Input sent with the functions
/// below is delivered at once, so afterwards everything it caused has happened.
inline void DeliverPostedEvents() {
  QCoreApplication::sendPostedEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

/// Waits until the window is the active one (and its focus settled).
inline bool WaitUntilActive(QWidget* window, std::chrono::milliseconds limit = 30000ms) {
  const bool active =
      ProcessUntil([window] { return window != nullptr && window->isActiveWindow(); }, limit);
  DeliverPostedEvents();
  return active;
}

/// Runs the action inside the next round of event processing.
inline void Queue(std::function<void()> action) {
  QTimer::singleShot(0, QCoreApplication::instance(), std::move(action));
}

/// A key pressed and released in the window, through the window system's path: the
/// window's focus widget gets it. `text` is the character it types ("" for none).
inline void SendKey(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                    const QString& text = QString()) {
  QWindow* handle = window->window()->windowHandle();
  if (handle == nullptr) return;
  qt_handleKeyEvent(handle, QEvent::KeyPress, key, modifiers, text);
  qt_handleKeyEvent(handle, QEvent::KeyRelease, key, modifiers, text);
}

/// Only the key press, as when a key is held down.
inline void SendKeyPress(QWidget* window, Qt::Key key,
                         Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                         const QString& text = QString()) {
  if (QWindow* handle = window->window()->windowHandle()) {
    qt_handleKeyEvent(handle, QEvent::KeyPress, key, modifiers, text);
  }
}

/// Types the characters (letters, digits, '.', '/', ' ') one key at a time.
inline void SendText(QWidget* window, const QString& text) {
  for (const QChar character : text) {
    Qt::Key key = Qt::Key_unknown;
    if (character.isLetter()) {
      key = static_cast<Qt::Key>(Qt::Key_A + (character.toUpper().unicode() - 'A'));
    } else if (character.isDigit()) {
      key = static_cast<Qt::Key>(Qt::Key_0 + (character.unicode() - '0'));
    } else if (character == QLatin1Char('.')) {
      key = Qt::Key_Period;
    } else if (character == QLatin1Char('/')) {
      key = Qt::Key_Slash;
    } else if (character == QLatin1Char(' ')) {
      key = Qt::Key_Space;
    }
    SendKey(window, key, Qt::NoModifier, QString(character));
  }
}

namespace detail {
inline int NextMouseTime() {
  // Far apart, so that two clicks never make a double click.
  static int time = 0;
  time += 10000;
  return time;
}

inline void MouseEvent(QWidget* widget, QPoint at, Qt::MouseButtons state, Qt::MouseButton button,
                       QEvent::Type type) {
  QWidget* top = widget->window();
  QWindow* handle = top->windowHandle();
  if (handle == nullptr) return;
  const QPointF local = widget->mapTo(top, at);
  const QPointF global = widget->mapToGlobal(at);
  qt_handleMouseEvent(handle, local, global, state, button, type, Qt::NoModifier, NextMouseTime());
}
}  // namespace detail

/// A left click at the point (the widget's centre by default), through the window.
inline void SendClick(QWidget* widget, std::optional<QPoint> at = std::nullopt) {
  const QPoint point = at.value_or(widget->rect().center());
  detail::MouseEvent(widget, point, Qt::LeftButton, Qt::LeftButton, QEvent::MouseButtonPress);
  detail::MouseEvent(widget, point, Qt::NoButton, Qt::LeftButton, QEvent::MouseButtonRelease);
}

/// The mouse moving to the point of the widget. Qt drops a move to the point where the
/// mouse already is.
inline void SendMouseMove(QWidget* widget, QPoint at) {
  detail::MouseEvent(widget, at, Qt::NoButton, Qt::NoButton, QEvent::MouseMove);
}

/// The window system asking the window to close (its close box).
inline void SendCloseRequest(QWidget* window) {
  if (QWindow* handle = window->window()->windowHandle()) handle->close();
}

/// The open message box, nullptr when there is none.
inline QMessageBox* OpenMessageBox() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* box = qobject_cast<QMessageBox*>(widget);
    if (box != nullptr && box->isVisible()) return box;
  }
  return nullptr;
}

/// Clicks the box's OK button.
inline bool PressOk(QMessageBox* box) {
  if (box == nullptr) return false;
  QAbstractButton* ok = box->button(QMessageBox::Ok);
  if (ok == nullptr) return false;
  ok->click();
  return true;
}

/// Once a message box is open (within the time limit), calls `inspect` with it and then
/// presses OK. For code that shows a box and blocks until it is closed: arm this first.
inline void AnswerNextMessageBox(std::function<void(QMessageBox*)> inspect,
                                 std::chrono::milliseconds limit = 30000ms) {
  auto* poll = new QTimer(QCoreApplication::instance());
  auto* clock = new QElapsedTimer;
  clock->start();
  QObject::connect(poll, &QTimer::timeout, poll,
                   [poll, clock, limit, inspect = std::move(inspect)] {
                     QMessageBox* box = OpenMessageBox();
                     if (box == nullptr && clock->elapsed() < limit.count()) return;
                     poll->stop();
                     poll->deleteLater();
                     delete clock;
                     if (box == nullptr) return;
                     if (inspect) inspect(box);
                     PressOk(box);
                   });
  poll->start(10);
}

/// WaitForEvent with a time limit: when nothing arrives in time, a mouse move over the
/// window ends the wait and the result is empty.
inline std::optional<std::int32_t> WaitForEventWithin(QWidget* window,
                                                      std::chrono::milliseconds limit = 30000ms) {
  bool timedOut = false;
  QPointer<QWidget> target = window;
  QTimer watchdog;
  watchdog.setSingleShot(true);
  QObject::connect(&watchdog, &QTimer::timeout, [&timedOut, target] {
    timedOut = true;
    // Qt drops a move to where the mouse already is, so every watchdog goes elsewhere.
    static int step = 0;
    ++step;
    if (target != nullptr) SendMouseMove(target, QPoint(step % 17, step % 13 + 1));
  });
  watchdog.start(static_cast<int>(limit.count()));
  const std::int32_t code = WaitForEvent();
  if (timedOut) return std::nullopt;
  return code;
}

/// Takes messages one WaitForEvent at a time, at most `calls` of them, until one reports a
/// gadget event of `gadget`; true when it came. A click, for one, is a button-down message
/// (the field losing the focus to the button notifies then) and a button-up message, and
/// only the second raises the button's own event.
inline bool WaitForGadgetEvent(QWidget* window, std::int32_t gadget, int calls = 4,
                               std::chrono::milliseconds limit = 30000ms) {
  for (int i = 0; i < calls; ++i) {
    const std::optional<std::int32_t> got = WaitForEventWithin(window, limit);
    if (got == 13100 && LastEventGadget() == gadget) return true;
  }
  return false;
}

}  // namespace quentara::testing
