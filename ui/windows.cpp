// Numbered form windows on Qt: the window table, opening, placing, showing and closing
// windows, and WaitForEvent.
#include "ui/windows.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <array>
#include <vector>

#include "text/object_tables.h"
#include "text/text_area.h"
#include "ui/accessibility.h"
#include "ui/drawing.h"
#include "ui/fonts_pictures.h"
#include "ui/gadgets.h"
#include "ui/qt/event_queue.h"
#include "ui/qt/form_window.h"
#include "ui/qt/handle_registry.h"
#include "ui/qt/message_pump.h"
#include "ui/qt/qt_access.h"
#include "ui/qt/window_system.h"

namespace quentara {

namespace {

constexpr std::int32_t windowTableStep = 10;
constexpr std::uint32_t WS_POPUP = 0x80000000u;
constexpr std::uint32_t WS_VISIBLE = 0x10000000u;
// Accelerator flags of a shortcut entry.
constexpr std::uint8_t FVIRTKEY = 0x01;
constexpr std::uint8_t FNOINVERT = 0x02;
constexpr std::uint8_t FSHIFT = 0x04;
constexpr std::uint8_t FCONTROL = 0x08;
constexpr std::uint8_t FALT = 0x10;
constexpr std::uint16_t VK_TAB = 0x09;
// Qt's limit for a widget's size.
constexpr std::int32_t largestWindowSide = 16777215;

struct ShortcutEntry {
  std::uint8_t flags = 0;
  std::uint16_t key = 0;
  std::uint16_t identifier = 0;
};

struct WindowSlot {
  PlatformHandle handle = 0;
  std::int32_t shortcutCount = 0;
  std::array<ShortcutEntry, 2> shortcutEntries{};
};

ObjectTable<WindowSlot>& WindowTable() {
  static ObjectTable<WindowSlot>& table = MakeObjectTable<WindowSlot>();
  return table;
}

// The background brush every window starts with, made once at start-up.
PlatformHandle defaultWindowBrush = 0;

WindowSlot* FindWindowSlot(PlatformHandle handle) {
  if (handle == 0) return nullptr;
  for (WindowSlot& slot : WindowTable()) {
    if (slot.handle == handle) return &slot;
  }
  return nullptr;
}

FormWindow* FormOfNumber(std::int32_t number) {
  WindowSlot* slot = FindSlot(WindowTable(), number);
  return slot != nullptr ? FormFromHandle(slot->handle) : nullptr;
}

Qt::WindowFlags WindowFlagsOf(std::uint32_t style) {
  Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint;
  // An overlapped window always has a title bar; only a pop-up can do without one.
  const bool caption = (style & WS_CAPTION) == WS_CAPTION || (style & WS_POPUP) == 0;
  if (caption) {
    flags |= Qt::WindowTitleHint;
  } else {
    flags |= Qt::FramelessWindowHint;
  }
  if ((style & WS_SYSMENU) != 0) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  if ((style & WS_MINIMIZEBOX) != 0) flags |= Qt::WindowMinimizeButtonHint;
  // WS_MAXIMIZEBOX is not passed on: a form window has a fixed size and cannot be
  // maximised.
  return flags;
}

// The frame a new window will get. Qt learns a window's frame only once it is shown, so
// the frame of a form window already on screen stands in; before any window is shown, the
// window manager is asked, if it can tell; without a window manager the frame is none.
QMargins ExpectedFrame(FormWindow* form) {
  QWidget* model = QApplication::activeWindow();
  if (FormOf(model) == nullptr || !model->isVisible()) {
    model = nullptr;
    for (const WindowSlot& slot : WindowTable()) {
      FormWindow* form = FormFromHandle(slot.handle);
      if (form != nullptr && form->isVisible()) {
        model = form;
        break;
      }
    }
  }
  if (model == nullptr) return AskFrameExtents(form).value_or(QMargins());
  const QRect inner = model->geometry();
  const QRect outer = model->frameGeometry();
  return QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                  outer.right() - inner.right(), outer.bottom() - inner.bottom());
}

// Where the outer window's top-left corner goes (integer halvings, remainders dropped).
QPoint OuterPosition(std::int32_t x, std::int32_t y, std::int64_t outerWidth,
                     std::int64_t outerHeight, bool centreOnScreen, bool centreOnActive) {
  QWidget* active = centreOnActive ? QApplication::activeWindow() : nullptr;
  if (active != nullptr) {
    const QRect r = active->frameGeometry();
    const std::int64_t left = r.x() - outerWidth / 2 + r.width() / 2;
    const std::int64_t top = r.y() - outerHeight / 2 + r.height() / 2;
    // Raised to the screen's origin, not limited at the right or bottom.
    return QPoint(static_cast<int>(std::max<std::int64_t>(left, 0)),
                  static_cast<int>(std::max<std::int64_t>(top, 0)));
  }
  if (centreOnScreen || centreOnActive) {
    QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen != nullptr ? screen->geometry() : QRect(0, 0, 0, 0);
    const std::int64_t screenWidth = area.width();
    const std::int64_t screenHeight = area.height();
    const std::int64_t left = screenWidth / 2 - std::min(outerWidth, screenWidth) / 2;
    const std::int64_t top = screenHeight / 2 - std::min(outerHeight, screenHeight) / 2;
    return QPoint(area.x() + static_cast<int>(left), area.y() + static_cast<int>(top));
  }
  return QPoint(x, y);
}

// When the active window closes, the window that was active before it becomes active
// again; without a window manager nobody would do that.
void ActivatePreviousForm() {
  FormWindow* best = nullptr;
  for (const WindowSlot& slot : WindowTable()) {
    FormWindow* form = FormFromHandle(slot.handle);
    if (form == nullptr || !form->isVisible() || form->isMinimized()) continue;
    if (best == nullptr || form->ActivationStamp() > best->ActivationStamp()) best = form;
  }
  Activate(best);
}

}  // namespace

void InitWindows(int argc, char** argv) {
  if (QCoreApplication::instance() == nullptr) {
    // Qt keeps a reference to the argument count for the application's whole life.
    static int storedArgc = 0;
    static char programName[] = "quentara";
    static char* fallbackArgv[] = {programName, nullptr};
    if (argc <= 0 || argv == nullptr) {
      argc = 1;
      argv = fallbackArgv;
    }
    // The arguments, and the platform the layer prefers where the person has not chosen.
    static std::vector<char*> arguments;
    arguments.assign(argv, argv + argc);
    static char platformOption[] = "-platform";
    if (char* platform = PreferredPlatform(argc, argv)) {
      arguments.push_back(platformOption);
      arguments.push_back(platform);
    }
    arguments.push_back(nullptr);
    storedArgc = static_cast<int>(arguments.size()) - 1;
    new QApplication(storedArgc, arguments.data());
    SetDesktopIdentity();
  }
  InstallMessagePump();
  InstallAccessibility();
  ObjectTable<WindowSlot>& table = WindowTable();
  table.assign(windowTableStep, WindowSlot{});
  ResetEventState();
  defaultWindowBrush = MakeSolidBrush(ButtonFaceColor());
}

void StartWindowLayer(int argc, char** argv) {
  InitWindows(argc, argv);
  InitGadgets();
  InitPictureDecoders();
  InitFonts();
  InitPictures();
  AllocateTextArea();
}

PlatformHandle OpenFormWindow(std::int32_t number, std::int32_t x, std::int32_t y,
                              std::int32_t width, std::int32_t height, std::uint32_t flags,
                              const char* title) {
  if (!IsObjectNumber(number)) return 0;
  GrowObjectTable(WindowTable(), number, windowTableStep);
  if (WindowTable()[static_cast<std::size_t>(number)].handle != 0) CloseFormWindow(number);

  const bool centreOnActive = (flags & WindowCentreOnActive) != 0;
  const bool centreOnScreen = (flags & WindowCentreOnScreen) != 0 && !centreOnActive;
  std::uint32_t style = flags & ~(WindowCentreOnScreen | WindowCentreOnActive);
  if (style == 0 || style == WindowInvisible) style |= WS_CAPTION;
  // The caller's bit asks for an invisible window; the style bit of the same value makes
  // one visible.
  style ^= WindowInvisible;
  const bool visible = (style & WS_VISIBLE) != 0;

  auto* form = new FormWindow;
  const PlatformHandle handle = Handles().windows.Add(form);
  if (handle == 0) {
    delete form;
    return 0;
  }
  form->SetHandle(handle);
  form->setWindowFlags(WindowFlagsOf(style));
  form->setWindowTitle(QString::fromLatin1(title != nullptr ? title : ""));
  const int innerWidth = std::clamp(width, 0, largestWindowSide);
  const int innerHeight = std::clamp(height, 0, largestWindowSide);
  // The inner area is exactly the requested size, and the window keeps it.
  form->setFixedSize(innerWidth, innerHeight);
  form->SetBackground(defaultWindowBrush);

  // Only a centred window needs its frame: its outer window is centred, frame included.
  const QMargins frame = centreOnScreen || centreOnActive ? ExpectedFrame(form) : QMargins();
  const std::int64_t outerWidth = std::int64_t{innerWidth} + frame.left() + frame.right();
  const std::int64_t outerHeight = std::int64_t{innerHeight} + frame.top() + frame.bottom();
  QPoint position = OuterPosition(x, y, outerWidth, outerHeight, centreOnScreen, centreOnActive);
  // A window whose frame the window manager was asked for exists already, and Qt places an
  // existing window by its inner area.
  if (form->testAttribute(Qt::WA_WState_Created)) position += QPoint(frame.left(), frame.top());
  form->move(position);

  WindowSlot& slot = WindowTable()[static_cast<std::size_t>(number)];
  slot.handle = handle;
  slot.shortcutCount = 2;
  slot.shortcutEntries[0] = ShortcutEntry{FVIRTKEY | FNOINVERT, VK_TAB, tabForward};
  slot.shortcutEntries[1] = ShortcutEntry{FVIRTKEY | FNOINVERT | FSHIFT, VK_TAB, tabBackward};
  NoteOpenedWindow(handle);

  if (visible) {
    form->show();
    Activate(form);
  }
  return handle;
}

void CloseFormWindow(std::int32_t number) {
  WindowSlot* slot = FindSlot(WindowTable(), number);
  if (slot == nullptr || slot->handle == 0) return;
  const PlatformHandle handle = slot->handle;
  *slot = WindowSlot{};
  auto* form = dynamic_cast<FormWindow*>(WindowWidget(handle));
  Handles().windows.Remove(handle);
  if (form == nullptr) return;
  const bool wasActive = QApplication::activeWindow() == form;
  // From here on the window and its controls send nothing, and the controls cannot be
  // reached by number; the gadget table keeps their stale handles.
  form->MarkClosed();
  form->hide();
  // Inside the window procedure, of whichever window, a Qt event of this very window may be
  // on the stack; the window then goes at the next WaitForEvent.
  if (!InsideWindowProcedure()) {
    delete form;
  } else {
    form->deleteLater();
  }
  if (wasActive) ActivatePreviousForm();
}

void CloseAllFormWindows() {
  for (auto number = static_cast<std::int32_t>(WindowTable().size()) - 1; number >= 0; --number) {
    CloseFormWindow(number);
  }
}

void EndWindows() {
  CloseAllFormWindows();
  // A window closed while the window procedure ran (none, when the program ends from
  // outside any message) would still be waiting to be deleted.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EndGadgets();
  EndPictures();
  EndFonts();
  WindowTable().clear();
  WindowTable().shrink_to_fit();
  ResetEventState();
  ReleaseHandles();
  RemoveMessagePump();
  delete QCoreApplication::instance();
}

void ShowFormWindow(std::int32_t number, WindowVisibility visibility) {
  FormWindow* form = FormOfNumber(number);
  if (form == nullptr) return;
  if (visibility == WindowVisibility::Hidden) {
    form->hide();
    return;
  }
  if (form->isMinimized()) {
    form->showNormal();
  } else {
    form->show();
  }
  // Showing a window normally makes it the active one; without a window manager Qt does
  // not do that by itself.
  Activate(form);
}

PlatformHandle WindowHandle(std::int32_t number) {
  WindowSlot* slot = FindSlot(WindowTable(), number);
  return slot != nullptr ? slot->handle : 0;
}

PlatformHandle CurrentWindowHandle() {
  return LastOpenedWindow();
}

void SetWindowHook(WindowHook hook) {
  InstallHook(hook);
}

std::int32_t WaitForEvent() {
  // Messages that arrived together were all handled by one wait; they are reported one
  // per call, each with the event it raised, as if they had been taken one at a time.
  if (UnreportedMessages() == 0) HandleNextMessages();
  return ReportOldestMessage();
}

std::int32_t LastEventWindow() {
  const PlatformHandle handle = LastEventWindowHandle();
  // No message yet is no window, rather than the first closed slot.
  if (handle == 0) return -1;
  const ObjectTable<WindowSlot>& table = WindowTable();
  for (std::size_t number = 0; number < table.size(); ++number) {
    if (table[number].handle == handle) return static_cast<std::int32_t>(number);
  }
  return -1;
}

std::int32_t LastEventGadget() {
  return LastRaisedGadget();
}

std::int32_t WindowSlotCount() {
  return static_cast<std::int32_t>(WindowTable().size());
}

std::uint32_t ShortcutIdentifier(PlatformHandle window, std::int32_t virtualKey, bool shift,
                                 bool control, bool alt) {
  const WindowSlot* slot = FindWindowSlot(window);
  if (slot == nullptr) return 0;
  for (std::int32_t index = 0; index < slot->shortcutCount; ++index) {
    const ShortcutEntry& entry = slot->shortcutEntries[static_cast<std::size_t>(index)];
    if (entry.key != virtualKey) continue;
    if (shift != ((entry.flags & FSHIFT) != 0) || control != ((entry.flags & FCONTROL) != 0) ||
        alt != ((entry.flags & FALT) != 0)) {
      continue;
    }
    return entry.identifier;
  }
  return 0;
}

QWidget* FormWindowWidget(std::int32_t number) {
  return FormOfNumber(number);
}

}  // namespace quentara
