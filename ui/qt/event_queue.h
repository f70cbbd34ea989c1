#pragma once
// The window layer's event state, and the only code that changes it: the pending event
// that the window procedure raises (one slot, the last event raised wins), the messages
// handled and not yet reported by WaitForEvent, each with the event it left, the window and
// gadget of the last event, the program's hook, the window opened last, and how deep the
// thread is inside the window procedure. It knows nothing of Qt: the message pump decides
// where one message ends and the next begins.

#include <cstddef>
#include <cstdint>

#include "ui/ui_types.h"

namespace quentara {

/// Start-up and the layer's end: nothing pending or queued, no hook, no window opened.
void ResetEventState();

/// The hook the window procedure offers every message first (nullptr: none).
void InstallHook(WindowHook hook);
WindowHook InstalledHook();

/// The window OpenFormWindow opened last, 0 before the first.
void NoteOpenedWindow(PlatformHandle window);
PlatformHandle LastOpenedWindow();

/// The window procedure is handling a message of `window` for as long as this object lives:
/// the window is the last event window from now on, and windows are not deleted at once.
class WindowProcedureScope {
 public:
  explicit WindowProcedureScope(PlatformHandle window);
  ~WindowProcedureScope();
  WindowProcedureScope(const WindowProcedureScope&) = delete;
  WindowProcedureScope& operator=(const WindowProcedureScope&) = delete;
};
/// Whether the thread is inside the window procedure (of any window).
bool InsideWindowProcedure();

/// An event of `window` replaces the one pending.
void RaiseEvent(std::int32_t code, PlatformHandle window);
/// The same for an event that names a gadget (or a shortcut's identifier), which is the last
/// event gadget from now on.
void RaiseGadgetEvent(std::int32_t code, PlatformHandle window, std::int32_t gadget);

/// The message just handled is complete: it is queued with the event it left pending, and
/// the next message starts with nothing pending.
void FinishMessage(std::uint32_t message);
/// Messages handled and not yet reported.
std::size_t UnreportedMessages();
/// Reports the oldest handled message, which must exist: its pending event, with the window
/// and gadget that event named, else an event the program raised since it was handled, else
/// the message's own number. Nothing is pending afterwards.
std::int32_t ReportOldestMessage();

/// The event pending now, 0 for none.
std::int32_t PendingEvent();
/// The window that received the last message; after an event is reported, the window whose
/// message raised it.
PlatformHandle LastEventWindowHandle();
/// The gadget (or shortcut identifier) of the last gadget or shortcut event.
std::int32_t LastRaisedGadget();

/// For tests: forgets the pending event and the messages not yet reported, such as those
/// that building a test's windows raised.
void ForgetEvents();

}  // namespace quentara
