#pragma once
// The Qt widgets behind numbered windows and gadgets, for tests that drive the program's
// real windows (offscreen or under a real X server). The program itself never needs them.

#include <QWidget>
#include <cstdint>

namespace quentara {

/// The widget of open form window `number`, nullptr when it is not open.
QWidget* FormWindowWidget(std::int32_t number);
/// The control stored under gadget `number`, nullptr when there is none (any more).
QWidget* GadgetControlWidget(std::int32_t number);

}  // namespace quentara
