#pragma once
// The window system the program runs on, and what the layer asks of an X11 window system
// directly where Qt has no call for it: a window's title exactly as given, and the frame a
// window manager will put around a window before that window is first shown. Elsewhere
// (another window system, the offscreen platform of the tests) these leave all to Qt.

#include <QMargins>
#include <QString>
#include <QWidget>
#include <chrono>
#include <optional>

namespace quentara {

/// The platform to ask Qt for, nullptr to leave the choice to Qt. On a Wayland desktop that
/// also offers X11 through XWayland (WAYLAND_DISPLAY and DISPLAY both set) it is
/// "xcb;wayland": X11 first, Qt's Wayland platform when the X server cannot be reached.
/// A platform the person chose (QT_QPA_PLATFORM, or -platform among the arguments) wins.
char* PreferredPlatform(int argc, char** argv);

/// Gives the program the identity the desktop knows it by, before its first window: the
/// X11 class "Quentara" (the menu entry's StartupWMClass) and the Wayland app id
/// "org.quentara.Quentara" (the menu entry's name), and as every window's icon the one the
/// menu entry names, looked up in the icon theme and in the installation the program
/// belongs to (<prefix>/share/icons beside <prefix>/share/quentara). Without an installed
/// icon the window system's default icon stays.
void SetDesktopIdentity();

/// Whether the program runs as an X11 client on a Wayland desktop (through XWayland).
bool OnWaylandThroughX11();

/// Makes the title the window system shows exactly `title`, also when it is empty: Qt
/// alone would put the program's name in an empty title bar. Creates the native window
/// when it does not exist yet; a later setWindowTitle undoes it.
void SetExactWindowTitle(QWidget* window, const QString& title);

/// How long AskFrameExtents waits for the window manager's answer.
inline constexpr std::chrono::milliseconds frameExtentsCeiling{3000};

/// The frame (in Qt's pixels) the window manager will give the window, created but not yet
/// shown, when the window manager can say so before the window is mapped
/// (_NET_REQUEST_FRAME_EXTENTS). Waits at most `ceiling` for the answer. nullopt without
/// such a window manager, or when it does not answer in time.
std::optional<QMargins> AskFrameExtents(QWidget* window,
                                        std::chrono::milliseconds ceiling = frameExtentsCeiling);

}  // namespace quentara
