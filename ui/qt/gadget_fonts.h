#pragma once
// The fonts gadgets are given: a stored font by its handle, the default GUI font for
// the handle -1, and the system font for a handle that names no font (any more).

#include <QFont>

#include "ui/ui_types.h"

namespace quentara {

/// The default GUI font: "Arial" at the pixel height of 8 points. Made on first
/// use and kept for the program's life, under the same handle.
PlatformHandle PlatformGuiFont();
/// The font a gadget gets for a handle.
QFont GadgetFont(PlatformHandle font);

}  // namespace quentara
