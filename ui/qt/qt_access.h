#pragma once
// The Qt widgets behind numbered windows and gadgets. The layer's own Qt code reaches a
// control by its number through them (screen readers' names and labels), and so do tests
// that drive the program's real windows (offscreen or under a real X server); the window
// program cannot include this header.

#include <QWidget>
#include <cstdint>

namespace quentara {

/// The widget of open form window `number`, nullptr when it is not open.
QWidget* FormWindowWidget(std::int32_t number);
/// The control stored under gadget `number`, nullptr when there is none (any more).
QWidget* GadgetControlWidget(std::int32_t number);

}  // namespace quentara
