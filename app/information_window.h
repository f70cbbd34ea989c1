#pragma once
// The information window: a heading and a fixed, read-only notice about the program. It
// is not modal and produces no command; opening it again replaces it.

#include <cstdint>

#include "ui/ui_types.h"

namespace quentara {

// The information window's gadgets; the heading has its font under its gadget number.
inline constexpr std::int32_t informationHeading = 18;
inline constexpr std::int32_t informationNotice = 19;

/// Opens window 1 centred on the active window (the main form), replacing an open one.
/// Returns its handle, or 0 when the window or its gadget parent could not be set up.
PlatformHandle OpenInformationWindow();

}  // namespace quentara
