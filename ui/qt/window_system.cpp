// The choice of the window system, the program's identity on the desktop, and what is
// asked of an X11 window system directly: exact titles and the frame a window manager will
// give a window.
#include "ui/qt/window_system.h"

#ifdef QUENTARA_WITH_XCB
#include <xcb/xcb.h>
#endif

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QWindow>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <thread>
#include <vector>

namespace quentara {

namespace {

#ifdef QUENTARA_WITH_XCB
xcb_connection_t* X11Connection() {
  auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
  if (application == nullptr) return nullptr;
  auto* x11 = application->nativeInterface<QNativeInterface::QX11Application>();
  return x11 != nullptr ? x11->connection() : nullptr;
}

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
  const xcb_intern_atom_cookie_t cookie =
      xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
  if (reply == nullptr) return XCB_ATOM_NONE;
  const xcb_atom_t atom = reply->atom;
  std::free(reply);
  return atom;
}

// The 32-bit values of a property, empty when it is not there.
std::vector<std::uint32_t> CardinalProperty(xcb_connection_t* connection, xcb_window_t window,
                                            xcb_atom_t property, xcb_atom_t type) {
  std::vector<std::uint32_t> values;
  const xcb_get_property_cookie_t cookie =
      xcb_get_property(connection, 0, window, property, type, 0, 1024);
  xcb_get_property_reply_t* reply = xcb_get_property_reply(connection, cookie, nullptr);
  if (reply == nullptr) return values;
  if (reply->format == 32) {
    const auto* data = static_cast<const std::uint32_t*>(xcb_get_property_value(reply));
    const int count = xcb_get_property_value_length(reply) / 4;
    values.assign(data, data + count);
  }
  std::free(reply);
  return values;
}

xcb_window_t RootOf(xcb_connection_t* connection) {
  const xcb_setup_t* setup = xcb_get_setup(connection);
  const xcb_screen_iterator_t screens = xcb_setup_roots_iterator(setup);
  return screens.rem > 0 ? screens.data->root : xcb_window_t{XCB_WINDOW_NONE};
}

bool WindowManagerSupports(xcb_connection_t* connection, xcb_atom_t feature) {
  const std::vector<std::uint32_t> supported = CardinalProperty(
      connection, RootOf(connection), Atom(connection, "_NET_SUPPORTED"), XCB_ATOM_ATOM);
  for (const std::uint32_t atom : supported) {
    if (atom == feature) return true;
  }
  return false;
}

#endif

// The menu entry's name (without ".desktop"), which is also the name of the icon it shows,
// and the window class it expects (StartupWMClass).
constexpr char desktopEntryName[] = "org.quentara.Quentara";
constexpr char windowClass[] = "Quentara";

bool IsSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

}  // namespace

char* PreferredPlatform(int argc, char** argv) {
  // Under Qt's Wayland platform a program cannot place its windows, so the information
  // window and the message boxes would not open over the main form, and a compositor that
  // leaves the title bars to the program gets Qt's own: message boxes without a title and
  // fixed-size windows with a maximise button. Through XWayland the compositor's window
  // manager draws the frames from the windows' own hints and keeps their places.
  static char xcbFirst[] = "xcb;wayland";
  if (IsSet("QT_QPA_PLATFORM")) return nullptr;
  for (int i = 1; i < argc && argv != nullptr && argv[i] != nullptr; ++i) {
    std::string_view argument = argv[i];
    // Qt takes "--platform" as "-platform".
    if (argument.starts_with("--")) argument.remove_prefix(1);
    if (argument == "-platform") return nullptr;
  }
  return IsSet("WAYLAND_DISPLAY") && IsSet("DISPLAY") ? xcbFirst : nullptr;
}

void SetDesktopIdentity() {
  // Qt names the X11 class of every window after the application.
  QCoreApplication::setApplicationName(QLatin1String(windowClass));
  QGuiApplication::setDesktopFileName(QLatin1String(desktopEntryName));
  // The installation puts the program into <prefix>/share/quentara and the icon into the
  // hicolor theme under <prefix>/share/icons, which the desktop need not search (a prefix
  // other than ~/.local).
  const QString installedIcons =
      QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../icons"));
  QStringList searchPaths = QIcon::themeSearchPaths();
  if (QFileInfo(installedIcons).isDir() && !searchPaths.contains(installedIcons)) {
    searchPaths.append(installedIcons);
    QIcon::setThemeSearchPaths(searchPaths);
  }
  const QIcon icon = QIcon::fromTheme(QLatin1String(desktopEntryName));
  if (!icon.isNull() && !icon.availableSizes().isEmpty()) QApplication::setWindowIcon(icon);
}

bool OnWaylandThroughX11() {
  return QGuiApplication::platformName() == QLatin1String("xcb") && IsSet("WAYLAND_DISPLAY");
}

void SetExactWindowTitle(QWidget* window, const QString& title) {
#ifdef QUENTARA_WITH_XCB
  xcb_connection_t* connection = X11Connection();
  if (connection == nullptr || window == nullptr) return;
  const auto id = static_cast<xcb_window_t>(window->winId());
  const QByteArray utf8 = title.toUtf8();
  const QByteArray latin1 = title.toLatin1();
  xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, Atom(connection, "_NET_WM_NAME"),
                      Atom(connection, "UTF8_STRING"), 8, static_cast<std::uint32_t>(utf8.size()),
                      utf8.constData());
  xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                      static_cast<std::uint32_t>(latin1.size()), latin1.constData());
  xcb_flush(connection);
#else
  (void)window;
  (void)title;
#endif
}

std::optional<QMargins> AskFrameExtents(QWidget* window, std::chrono::milliseconds ceiling) {
#ifdef QUENTARA_WITH_XCB
  using namespace std::chrono_literals;
  xcb_connection_t* connection = X11Connection();
  if (connection == nullptr || window == nullptr) return std::nullopt;
  const xcb_atom_t request = Atom(connection, "_NET_REQUEST_FRAME_EXTENTS");
  if (!WindowManagerSupports(connection, request)) return std::nullopt;
  const auto id = static_cast<xcb_window_t>(window->winId());
  const xcb_atom_t extents = Atom(connection, "_NET_FRAME_EXTENTS");

  xcb_client_message_event_t message{};
  message.response_type = XCB_CLIENT_MESSAGE;
  message.format = 32;
  message.window = id;
  message.type = request;
  xcb_send_event(connection, 0, RootOf(connection),
                 XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                 reinterpret_cast<const char*>(&message));
  xcb_flush(connection);

  // The window manager answers by setting the property on the window, so the property is
  // read until it is there (a reply to each read comes straight from the X server).
  const auto deadline = std::chrono::steady_clock::now() + ceiling;
  for (;;) {
    const std::vector<std::uint32_t> values =
        CardinalProperty(connection, id, extents, XCB_ATOM_CARDINAL);
    if (values.size() == 4) {
      // left, right, top, bottom, in the screen's pixels
      const qreal ratio = window->devicePixelRatioF();
      auto scaled = [ratio](std::uint32_t value) {
        return static_cast<int>(static_cast<qreal>(value) / ratio + 0.5);
      };
      return QMargins(scaled(values[0]), scaled(values[2]), scaled(values[1]), scaled(values[3]));
    }
    if (std::chrono::steady_clock::now() > deadline) return std::nullopt;
    std::this_thread::sleep_for(5ms);
  }
#else
  (void)window;
  (void)ceiling;
  return std::nullopt;
#endif
}

}  // namespace quentara
