#pragma once
// Whether the program has a display to show its windows on, asked before Qt is started: Qt
// itself would end the program with an abort and advice to reinstall it. It decides nothing
// about which platform Qt then uses.

#include <string>

namespace quentara {

/// Why no window can be shown, "" when one can. Nothing is named to show windows on (no
/// platform chosen, neither DISPLAY nor WAYLAND_DISPLAY set), or the X display that would
/// be used (DISPLAY, or -display among the arguments) cannot be opened. A platform chosen
/// by the person other than X11 (QT_QPA_PLATFORM, -platform), and a Wayland display, are
/// left to Qt.
std::string MissingDisplay(int argc, char** argv);

}  // namespace quentara
