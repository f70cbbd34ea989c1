#pragma once
// The event loop's view of Qt's events: which of them are messages of the program's
// windows (input, exposure, close requests, the layer's own posted messages), their
// message numbers, and the two things that happen before any control
// sees a key: Tab and Shift+Tab become shortcuts of the active form window, and a typed
// character is taken apart from its key press.

#include <cstdint>

namespace quentara {

// Platform message numbers WaitForEvent may return besides those of ui_types.h.
inline constexpr std::uint32_t WM_SYSKEYDOWN = 0x0104;
inline constexpr std::uint32_t WM_SYSCOMMAND = 0x0112;
inline constexpr std::uint32_t WM_SYSKEYUP = 0x0105;
inline constexpr std::uint32_t WM_LBUTTONDBLCLK = 0x0203;
inline constexpr std::uint32_t WM_RBUTTONDOWN = 0x0204;
inline constexpr std::uint32_t WM_RBUTTONUP = 0x0205;
inline constexpr std::uint32_t WM_RBUTTONDBLCLK = 0x0206;
inline constexpr std::uint32_t WM_MBUTTONDOWN = 0x0207;
inline constexpr std::uint32_t WM_MBUTTONUP = 0x0208;
inline constexpr std::uint32_t WM_MBUTTONDBLCLK = 0x0209;
inline constexpr std::uint32_t WM_MOUSEWHEEL = 0x020A;

/// Installs the application-wide event filter (once).
void InstallMessagePump();
/// Program end, before the application object goes: removes and deletes the filter.
void RemoveMessagePump();

/// Lets Qt handle events, waiting when there are none, until at least one platform message
/// of a form window has been handled, and hands each message handled to the event queue
/// (FinishMessage) with the event it left pending.
///
/// Qt hands events over in batches: everything that has arrived when the loop wakes up is
/// handled in one go. Each message's own event is kept apart, so that WaitForEvent can still
/// report them one message at a time, in order. Idle work (a caret blinking, repainting,
/// deferred deletion) is not a message and does not end the wait.
void HandleNextMessages();

}  // namespace quentara
