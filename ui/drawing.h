#pragma once
// The few drawing services the program uses to colour its labels: solid brushes, the
// system's button-face colour, the drawing context a control hands to the window hook when
// it asks for its colours, and a window's background brush.

#include <cstdint>

#include "ui/ui_types.h"

namespace quentara {

/// Background modes of a drawing context.
inline constexpr std::int32_t TRANSPARENT = 1;
inline constexpr std::int32_t OPAQUE = 2;

PlatformHandle MakeSolidBrush(Color color);
void DeleteBrush(PlatformHandle brush);
/// The system's button-face colour now.
Color ButtonFaceColor();
/// The context is the wParam of a control-colour message.
void SetContextTextColor(std::uintptr_t context, Color color);
void SetContextBackColor(std::uintptr_t context, Color color);
void SetContextBackMode(std::uintptr_t context, std::int32_t mode);
/// Replaces the background brush of the window.
void SetWindowBackground(PlatformHandle window, PlatformHandle brush);

}  // namespace quentara
