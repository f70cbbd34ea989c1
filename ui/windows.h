#pragma once
// Numbered form windows and the one event loop of the program. The program opens a window
// by number, builds gadgets in it and then calls WaitForEvent again and again, acting on
// the event codes it returns. Every message of a form window is offered to the program's
// hook first; Tab and Shift+Tab move the focus among the window's tab stops in the order
// they were created.

#include <cstdint>

#include "ui/ui_types.h"

namespace quentara {

// Flag bits of OpenFormWindow besides the window style bits.
inline constexpr std::uint32_t WindowCentreOnScreen = 0x1;
inline constexpr std::uint32_t WindowCentreOnActive = 0x2;
inline constexpr std::uint32_t WindowInvisible = 0x10000000;
inline constexpr std::uint32_t WS_CAPTION = 0x00C00000;
inline constexpr std::uint32_t WS_SYSMENU = 0x00080000;
inline constexpr std::uint32_t WS_MINIMIZEBOX = 0x00020000;
inline constexpr std::uint32_t WS_MAXIMIZEBOX = 0x00010000;

/// Start-up: creates the Qt application object if there is none yet (with the given
/// arguments), empties the window table (10 slots) and clears the hook and event state.
void InitWindows(int argc = 0, char** argv = nullptr);
/// Start-up of the whole window layer, in this order: the window table (InitWindows, with
/// the arguments), the gadget table, the picture decoders, the font and picture tables, and
/// last the temporary text area. The program's start-up and the tests that bring up the
/// layer call this, so that both set it up alike.
void StartWindowLayer(int argc = 0, char** argv = nullptr);
/// Opens a top-level window whose inner area is width x height, closing an earlier window
/// of the number first. Returns its handle, or 0 (also for a number outside 0..65535).
/// The window has a fixed size; a position to centre it on is taken from the screen or
/// the active window with the window's frame, which the window system makes known only
/// once a window is shown (none without a window manager).
PlatformHandle OpenFormWindow(std::int32_t number, std::int32_t x, std::int32_t y,
                              std::int32_t width, std::int32_t height, std::uint32_t flags,
                              const char* title);
/// Closes the window if the number is open. From that moment the window and its controls
/// send nothing. It is deleted at once, or at the next WaitForEvent when it is closed while
/// the window procedure of any window runs (from the hook, or from a wait nested in an
/// event), since a Qt event of this very window may then be on the stack.
void CloseFormWindow(std::int32_t number);
/// Closes every open window, from the highest number down to 0.
void CloseAllFormWindows();
/// Program end: closes every window as CloseAllFormWindows does and deletes them, then takes
/// the rest of the layer down in this order: the gadget, picture, font and window tables go
/// back to the heap, every font, brush and picture is released, and the application object
/// is deleted last. Called from outside any event; nothing of the layer is used afterwards.
void EndWindows();
enum class WindowVisibility : std::uint8_t { Shown, Hidden };
/// Shown shows the window (and makes it active), Hidden hides it. Activation is
/// asynchronous on X11: the focus notifications it causes come with the next messages.
void ShowFormWindow(std::int32_t number, WindowVisibility visibility);
PlatformHandle WindowHandle(std::int32_t number);
PlatformHandle CurrentWindowHandle();
/// Installs the hook (nullptr removes it).
void SetWindowHook(WindowHook hook);
/// Waits for the next platform message, handles it and returns the pending event code, or
/// the message's own number when it raised no event (512 a mouse move, 256 a key going
/// down, 257 a key coming up, 258 a typed character, 15 the window being exposed, 274 the
/// window system's close request, ...). Idle work (a blinking caret) is no message.
/// Messages that arrive together are handled together, and the last event raised wins.
/// A typed character reaches its field with the call after the one of its key press.
std::int32_t WaitForEvent();
/// Number of the window that received the last message, -1 when it is not in the table
/// (or before any message). After an event, the window whose message raised it.
std::int32_t LastEventWindow();
std::int32_t LastEventGadget();
/// Slots in the window table (for tests).
std::int32_t WindowSlotCount();

}  // namespace quentara
