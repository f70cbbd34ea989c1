#pragma once
// Types shared by the window layer's operations. Handles are opaque numbers that name a
// window, control, font, brush, picture or process of this layer; 0 names nothing. A handle
// is never reused, so a stale one names nothing rather than something else.

#include <cstdint>

namespace quentara {

using PlatformHandle = std::uintptr_t;
/// A colour 0x00BBGGRR: red in the low byte.
using Color = std::uint32_t;

/// The hook's answer that leaves a message to the window layer.
inline constexpr std::int32_t HookDefault = static_cast<std::int32_t>(0xE0E0E0E1u);

/// The program's window hook: offered every message of every form window first.
using WindowHook = std::int32_t (*)(PlatformHandle window, std::uint32_t message,
                                    std::uintptr_t wParam, std::intptr_t lParam);

// Event codes of WaitForEvent.
inline constexpr std::int32_t CloseRequestEvent = 16;
inline constexpr std::int32_t GadgetEvent = 13100;
inline constexpr std::int32_t ShortcutEvent = 13101;
inline constexpr std::int32_t ResizeEvent = 5;

// Message numbers the layer hands to the hook; the program's hook knows them by these
// numbers.
inline constexpr std::uint32_t WM_SIZE = 0x0005;
inline constexpr std::uint32_t WM_PAINT = 0x000F;
inline constexpr std::uint32_t WM_CLOSE = 0x0010;
inline constexpr std::uint32_t WM_KEYDOWN = 0x0100;
inline constexpr std::uint32_t WM_KEYUP = 0x0101;
inline constexpr std::uint32_t WM_CHAR = 0x0102;
inline constexpr std::uint32_t WM_COMMAND = 0x0111;
inline constexpr std::uint32_t WM_CTLCOLOREDIT = 0x0133;
inline constexpr std::uint32_t WM_CTLCOLORLISTBOX = 0x0134;
inline constexpr std::uint32_t WM_CTLCOLORSTATIC = 0x0138;
inline constexpr std::uint32_t WM_MOUSEMOVE = 0x0200;
inline constexpr std::uint32_t WM_LBUTTONDOWN = 0x0201;
inline constexpr std::uint32_t WM_LBUTTONUP = 0x0202;
/// The private message by which a resize becomes ResizeEvent.
inline constexpr std::uint32_t resizeMessage = 12504;

}  // namespace quentara
