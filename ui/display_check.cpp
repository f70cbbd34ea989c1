// Whether there is a display to show the program on, asked before Qt is started, so that a
// missing one is one clear line instead of Qt's abort.

#include "ui/display_check.h"

#ifdef QUENTARA_WITH_XCB
#include <xcb/xcb.h>
#endif

#include <cstdlib>
#include <string_view>

namespace quentara {

std::string MissingDisplay(int argc, char** argv) {
  const char* chosen = std::getenv("QT_QPA_PLATFORM");
  std::string_view platform = chosen != nullptr ? chosen : "";
  const char* display = std::getenv("DISPLAY");
  for (int i = 1; i + 1 < argc && argv != nullptr && argv[i] != nullptr; ++i) {
    std::string_view argument = argv[i];
    // Qt takes "--platform" as "-platform", and the last of a repeated option wins.
    if (argument.starts_with("--")) argument.remove_prefix(1);
    if (argument == "-platform") platform = argv[i + 1];
    if (argument == "-display") display = argv[i + 1];
  }
  // "xcb:option=value" is X11 with an option of the platform.
  platform = platform.substr(0, platform.find(':'));
  if (!platform.empty() && platform != "xcb") return "";
  // On Wayland Qt chooses, and falls back to XWayland's X display by itself.
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  if (platform.empty() && wayland != nullptr && *wayland != '\0') return "";
  if (display == nullptr || *display == '\0') {
    return platform.empty() ? "neither DISPLAY nor WAYLAND_DISPLAY is set" : "DISPLAY is not set";
  }
#ifdef QUENTARA_WITH_XCB
  xcb_connection_t* connection = xcb_connect(display, nullptr);
  const bool opened = xcb_connection_has_error(connection) == 0;
  xcb_disconnect(connection);
  if (!opened) return std::string("the X display ") + display + " cannot be opened";
#endif
  return "";
}

}  // namespace quentara
