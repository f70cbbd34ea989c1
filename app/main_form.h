#pragma once
// The main window of the calculator: the picture, the title block, the four input fields
// with their labels, the payment field and the three buttons. It only builds the form; the
// event loop and the schedule command give the gadgets their meaning.

#include "ui/ui_types.h"

namespace quentara {

/// Builds window 0 while it is hidden, shows it, disables the print button and puts the
/// focus into the date field. Returns the window's handle, or 0 when the window or its
/// gadget parent could not be set up.
PlatformHandle OpenMainForm();

}  // namespace quentara
