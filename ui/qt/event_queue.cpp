// The event state of the window layer, kept here alone and changed only by these functions.
#include "ui/qt/event_queue.h"

#include <deque>

namespace quentara {

namespace {

// One platform message as WaitForEvent reports it: its number, and the event it left
// pending with the gadget and window that event named.
struct HandledMessage {
  std::uint32_t message = 0;
  PlatformHandle window = 0;
  std::int32_t pendingEvent = 0;
  PlatformHandle pendingWindow = 0;
  std::int32_t lastEventGadget = 0;
};

struct EventState {
  std::int32_t pendingEvent = 0;
  // The window whose message raised pendingEvent.
  PlatformHandle pendingWindow = 0;
  PlatformHandle lastEventWindowHandle = 0;
  std::int32_t lastEventGadget = 0;
  WindowHook hook = nullptr;
  PlatformHandle currentWindowHandle = 0;
  // Messages handled and not yet reported by WaitForEvent, oldest first.
  std::deque<HandledMessage> handledMessages;
  // How deep the program's thread is inside the window procedure.
  std::int32_t procedureDepth = 0;
};

EventState& State() {
  static EventState state;
  return state;
}

void ClearPending() {
  State().pendingEvent = 0;
  State().pendingWindow = 0;
}

}  // namespace

void ResetEventState() {
  State() = EventState{};
}

void InstallHook(WindowHook hook) {
  State().hook = hook;
}

WindowHook InstalledHook() {
  return State().hook;
}

void NoteOpenedWindow(PlatformHandle window) {
  State().currentWindowHandle = window;
}

PlatformHandle LastOpenedWindow() {
  return State().currentWindowHandle;
}

WindowProcedureScope::WindowProcedureScope(PlatformHandle window) {
  ++State().procedureDepth;
  State().lastEventWindowHandle = window;
}

WindowProcedureScope::~WindowProcedureScope() {
  --State().procedureDepth;
}

bool InsideWindowProcedure() {
  return State().procedureDepth != 0;
}

void RaiseEvent(std::int32_t code, PlatformHandle window) {
  State().pendingEvent = code;
  State().pendingWindow = window;
}

void RaiseGadgetEvent(std::int32_t code, PlatformHandle window, std::int32_t gadget) {
  RaiseEvent(code, window);
  State().lastEventGadget = gadget;
}

void FinishMessage(std::uint32_t message) {
  EventState& state = State();
  state.handledMessages.push_back(HandledMessage{message, state.lastEventWindowHandle,
                                                 state.pendingEvent, state.pendingWindow,
                                                 state.lastEventGadget});
  ClearPending();
}

std::size_t UnreportedMessages() {
  return State().handledMessages.size();
}

std::int32_t ReportOldestMessage() {
  EventState& state = State();
  const HandledMessage handled = state.handledMessages.front();
  state.handledMessages.pop_front();

  std::int32_t result = static_cast<std::int32_t>(handled.message);
  state.lastEventWindowHandle = handled.window;
  if (handled.pendingEvent != 0) {
    result = handled.pendingEvent;
    state.lastEventGadget = handled.lastEventGadget;
    state.lastEventWindowHandle = handled.pendingWindow;
  } else if (state.pendingEvent != 0) {
    // Raised by the program since the message was handled, and not replaced by it.
    result = state.pendingEvent;
    state.lastEventWindowHandle = state.pendingWindow;
  }
  ClearPending();
  return result;
}

std::int32_t PendingEvent() {
  return State().pendingEvent;
}

PlatformHandle LastEventWindowHandle() {
  return State().lastEventWindowHandle;
}

std::int32_t LastRaisedGadget() {
  return State().lastEventGadget;
}

void ForgetEvents() {
  ClearPending();
  State().handledMessages.clear();
}

}  // namespace quentara
