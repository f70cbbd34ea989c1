#pragma once
// The Qt widget behind a form window and the layer's window procedure. Every message the
// layer makes out of a Qt event (a close request, a resize, a control's notification, a
// control asking for its colours, Tab and Shift+Tab) goes through WindowProcedure, which
// offers it to the program's hook first and otherwise does what the window table says.
// Qt's own event handling stays with Qt; this file only translates.
//
// Messages, notification codes and styles have fixed names and numbers (WM_COMMAND,
// EN_SETFOCUS, WS_CAPTION) that the program's hook relies on, whatever the window system.

#include <QEvent>
#include <QWidget>
#include <cstdint>

#include "ui/ui_types.h"

namespace quentara {

// Notification codes a control sends with WM_COMMAND (the high word of wParam).
inline constexpr std::uint32_t BN_CLICKED = 0x0000;
inline constexpr std::uint32_t EN_SETFOCUS = 0x0100;
inline constexpr std::uint32_t EN_KILLFOCUS = 0x0200;
inline constexpr std::uint32_t EN_CHANGE = 0x0300;
inline constexpr std::uint32_t EN_UPDATE = 0x0400;
inline constexpr std::uint32_t EN_MAXTEXT = 0x0501;
// wParam of WM_SIZE.
inline constexpr std::uintptr_t SIZE_RESTORED = 0;
inline constexpr std::uintptr_t SIZE_MINIMIZED = 1;
// Identifiers of the two shortcuts every form window has.
inline constexpr std::uint32_t tabForward = 1212;
inline constexpr std::uint32_t tabBackward = 1213;

inline std::uintptr_t MakeWParam(std::uint32_t low, std::uint32_t high) {
  return static_cast<std::uintptr_t>((low & 0xFFFFu) | ((high & 0xFFFFu) << 16));
}
inline std::intptr_t MakeLParam(std::int32_t low, std::int32_t high) {
  const std::uint32_t packed = (static_cast<std::uint32_t>(low) & 0xFFFFu) |
                               ((static_cast<std::uint32_t>(high) & 0xFFFFu) << 16);
  return static_cast<std::intptr_t>(static_cast<std::int32_t>(packed));
}

/// What the window procedure answered; fromHook when the hook took the message, in which
/// case neither the layer nor Qt handles it any further.
struct WindowAnswer {
  std::int32_t value = 0;
  bool fromHook = false;
};

/// The one window procedure of all form windows.
WindowAnswer WindowProcedure(PlatformHandle window, std::uint32_t message, std::uintptr_t wParam,
                             std::intptr_t lParam);

/// The private message by which WM_SIZE becomes ResizeEvent: posted to the window, it goes
/// through the window procedure when the event loop takes it.
class ResizeMessage final : public QEvent {
 public:
  ResizeMessage(std::uintptr_t wParam, std::intptr_t lParam);
  static QEvent::Type Type();
  std::uintptr_t wParam;
  std::intptr_t lParam;
};

class FormWindow final : public QWidget {
 public:
  FormWindow();
  PlatformHandle Handle() const { return handle_; }
  void SetHandle(PlatformHandle handle) { handle_ = handle; }
  /// The brush the background is painted with; a brush deleted later leaves the colour it
  /// had when it was set.
  void SetBackground(PlatformHandle brush);
  /// A closed window sends nothing any more; it waits to be deleted.
  void MarkClosed() { closed_ = true; }
  bool IsClosed() const { return closed_; }
  /// Grows with every activation, so the window active before another can be found.
  std::uint64_t ActivationStamp() const { return activationStamp_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void customEvent(QEvent* event) override;

 private:
  PlatformHandle handle_ = 0;
  PlatformHandle backgroundBrush_ = 0;
  Color backgroundColor_ = 0;
  bool closed_ = false;
  bool minimized_ = false;
  std::uint64_t activationStamp_ = 0;
};

/// The open form window an object belongs to: a form window itself, a widget inside one,
/// or the QWindow of one. nullptr for everything else and for closed windows.
FormWindow* FormOf(QObject* object);
/// The form window the handle names, nullptr when none (or closed).
FormWindow* FormFromHandle(PlatformHandle handle);

/// Raises the window and asks the window system to make it the active one. Activation is
/// asynchronous on X11 (and on the offscreen platform): the focus notifications it causes
/// (a field of the window that was active losing the focus, one of this window gaining it)
/// arrive with the next messages, in that order, rather than inside the call.
/// Making Qt's active window change at once instead would let the window system's own,
/// later activations of windows requested in between flip the focus back and forth.
void Activate(QWidget* window);

/// Tab and Shift+Tab inside the active form window, among the eligible children (enabled,
/// visible, tab stops) in creation order.
void MoveFocusForward();
void MoveFocusBackward();

/// The shortcut identifier of a key in the window's shortcut table, 0 when it has none.
/// Implemented with the window table (windows.cpp).
std::uint32_t ShortcutIdentifier(PlatformHandle window, std::int32_t virtualKey, bool shift,
                                 bool control, bool alt);

}  // namespace quentara
