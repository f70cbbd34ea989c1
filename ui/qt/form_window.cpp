// The Qt widget of a form window and the window procedure, which offers each message to
// the hook first and otherwise raises the event it stands for.
#include "ui/qt/form_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QPainter>
#include <QResizeEvent>
#include <QWindow>

#include "ui/drawing.h"
#include "ui/qt/drawing_context.h"
#include "ui/qt/event_queue.h"
#include "ui/qt/gadget_controls.h"
#include "ui/qt/handle_registry.h"
#include "ui/qt/qt_colors.h"

namespace quentara {

namespace {

// The default answer to a control asking for its colours: statics (and read-only fields)
// draw in the system text colour on the button face, editable fields on the window colour.
std::int32_t DefaultControlColors(std::uint32_t message, std::uintptr_t context) {
  const bool edit = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX;
  if (DrawingContext* values = FindDrawingContext(context)) {
    values->textColor = WindowTextColor();
    values->backColor = edit ? WindowColor() : ButtonFaceColor();
    values->backMode = OPAQUE;
  }
  return static_cast<std::int32_t>(edit ? WindowColorBrush() : ButtonFaceBrush());
}

std::int32_t DefaultHandling(PlatformHandle window, std::uint32_t message, std::uintptr_t wParam,
                             std::intptr_t lParam) {
  switch (message) {
    case WM_COMMAND: {
      const auto identifier = static_cast<std::uint32_t>(wParam & 0xFFFFu);
      const auto high = static_cast<std::uint32_t>((wParam >> 16) & 0xFFFFu);
      if (lParam != 0) {
        // A control's notification: its number is its identifier.
        RaiseGadgetEvent(GadgetEvent, window, static_cast<std::int32_t>(identifier));
      } else if (high != 0) {
        if (identifier == tabForward) {
          MoveFocusForward();
        } else if (identifier == tabBackward) {
          MoveFocusBackward();
        } else {
          RaiseGadgetEvent(ShortcutEvent, window, static_cast<std::int32_t>(identifier));
        }
      } else {
        RaiseGadgetEvent(ShortcutEvent, window,
                         static_cast<std::int32_t>(static_cast<std::uint32_t>(wParam)));
      }
      return 0;
    }
    case WM_CLOSE:
      // The window stays open; the program decides whether to close it.
      RaiseEvent(CloseRequestEvent, window);
      return 0;
    case WM_SIZE:
      if (QWidget* widget = WindowWidget(window)) {
        QCoreApplication::postEvent(widget, new ResizeMessage(wParam, lParam));
      }
      return 0;
    case resizeMessage:
      RaiseEvent(ResizeEvent, window);
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      return DefaultControlColors(message, wParam);
    default:
      return 0;
  }
}

std::uint64_t activationCounter = 0;

// The direct child of the window that holds the keyboard focus, nullptr when the focus
// is elsewhere or on the window itself.
QWidget* CurrentChild(QWidget* window) {
  for (QWidget* widget = QApplication::focusWidget(); widget != nullptr;
       widget = widget->parentWidget()) {
    if (widget->parentWidget() == window) return widget;
    if (widget->isWindow()) break;
  }
  return nullptr;
}

bool IsEligible(QObject* child) {
  auto* control = dynamic_cast<GadgetControl*>(child);
  auto* widget = qobject_cast<QWidget*>(child);
  return control != nullptr && widget != nullptr && control->IsTabStop() && widget->isEnabled() &&
         widget->isVisible();
}

// Not Qt::TabFocusReason: a field would select all its text, and a field that Tab enters
// keeps its caret and selection as they were. The window is told that the keyboard moved
// the focus, so that the style draws its focus mark on a button reached this way.
void GiveFocus(QObject* child) {
  auto* widget = static_cast<QWidget*>(child);
  widget->window()->setAttribute(Qt::WA_KeyboardFocusChange);
  widget->setFocus(Qt::OtherFocusReason);
}

FormWindow* ActiveForm() {
  return FormOf(QApplication::activeWindow());
}

}  // namespace

WindowAnswer WindowProcedure(PlatformHandle window, std::uint32_t message, std::uintptr_t wParam,
                             std::intptr_t lParam) {
  const WindowProcedureScope scope(window);
  if (const WindowHook hook = InstalledHook()) {
    const std::int32_t answer = hook(window, message, wParam, lParam);
    if (answer != HookDefault) return WindowAnswer{answer, true};
  }
  return WindowAnswer{DefaultHandling(window, message, wParam, lParam), false};
}

ResizeMessage::ResizeMessage(std::uintptr_t wParamValue, std::intptr_t lParamValue)
    : QEvent(Type()), wParam(wParamValue), lParam(lParamValue) {}

QEvent::Type ResizeMessage::Type() {
  static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

FormWindow::FormWindow() {
  // Mouse moves over the window itself are its own messages (WM_MOUSEMOVE).
  setMouseTracking(true);
  setFocusPolicy(Qt::NoFocus);
}

void FormWindow::SetBackground(PlatformHandle brush) {
  backgroundBrush_ = brush;
  BrushColor(brush, backgroundColor_);
  update();
}

void FormWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
  if (!closed_) WindowProcedure(handle_, WM_CLOSE, 0, 0);
}

void FormWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (closed_ || minimized_) return;
  WindowProcedure(handle_, WM_SIZE, SIZE_RESTORED, MakeLParam(width(), height()));
}

void FormWindow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
    activationStamp_ = ++activationCounter;
  }
  if (event->type() != QEvent::WindowStateChange || closed_) return;
  const bool minimized = (windowState() & Qt::WindowMinimized) != 0;
  if (minimized == minimized_) return;
  minimized_ = minimized;
  if (minimized) {
    WindowProcedure(handle_, WM_SIZE, SIZE_MINIMIZED, 0);
  } else {
    WindowProcedure(handle_, WM_SIZE, SIZE_RESTORED, MakeLParam(width(), height()));
  }
}

void FormWindow::paintEvent(QPaintEvent*) {
  if (closed_) return;
  // The hook may paint the window itself; otherwise the background brush fills it.
  if (WindowProcedure(handle_, WM_PAINT, 0, 0).fromHook) return;
  BrushColor(backgroundBrush_, backgroundColor_);
  QPainter painter(this);
  painter.fillRect(rect(), ToQColor(backgroundColor_));
}

void FormWindow::customEvent(QEvent* event) {
  if (event->type() != ResizeMessage::Type() || closed_) return;
  const auto* message = static_cast<ResizeMessage*>(event);
  WindowProcedure(handle_, resizeMessage, message->wParam, message->lParam);
}

FormWindow* FormOf(QObject* object) {
  QWidget* widget = nullptr;
  if (object == nullptr) return nullptr;
  if (object->isWidgetType()) {
    widget = static_cast<QWidget*>(object)->window();
  } else if (object->isWindowType()) {
    // A form window's QWindow: find the widget it belongs to among the open windows.
    auto* window = static_cast<QWindow*>(object);
    for (QWidget* topLevel : QApplication::topLevelWidgets()) {
      if (topLevel->windowHandle() == window) {
        widget = topLevel;
        break;
      }
    }
  }
  auto* form = dynamic_cast<FormWindow*>(widget);
  return form != nullptr && !form->IsClosed() ? form : nullptr;
}

FormWindow* FormFromHandle(PlatformHandle handle) {
  auto* form = dynamic_cast<FormWindow*>(WindowWidget(handle));
  return form != nullptr && !form->IsClosed() ? form : nullptr;
}

void Activate(QWidget* window) {
  if (window == nullptr || !window->isVisible()) return;
  window->raise();
  // Without a window manager a window is not active until it asks to be.
  window->activateWindow();
}

void MoveFocusForward() {
  FormWindow* window = ActiveForm();
  if (window == nullptr) return;
  QWidget* current = CurrentChild(window);
  bool passed = false;
  for (QObject* child : window->children()) {
    if (!IsEligible(child)) continue;
    if (passed || current == nullptr) {
      GiveFocus(child);
      return;
    }
    if (child == current) passed = true;
  }
  // The current child was the last eligible one: round to the first. A current child
  // that is not eligible itself is never passed, and then nothing happens.
  if (!passed) return;
  for (QObject* child : window->children()) {
    if (IsEligible(child)) {
      GiveFocus(child);
      return;
    }
  }
}

void MoveFocusBackward() {
  FormWindow* window = ActiveForm();
  if (window == nullptr) return;
  QWidget* current = CurrentChild(window);
  QObject* previous = nullptr;
  for (QObject* child : window->children()) {
    if (!IsEligible(child)) continue;
    if (child == current) {
      if (previous != nullptr) {
        GiveFocus(previous);
        return;
      }
      break;
    }
    previous = child;
  }
  // The first eligible child, a child that is not eligible, or none: go to the last one.
  QObject* last = nullptr;
  for (QObject* child : window->children()) {
    if (IsEligible(child)) last = child;
  }
  if (last != nullptr) GiveFocus(last);
}

}  // namespace quentara
