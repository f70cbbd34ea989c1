// Checks that an X11 window answers the window manager's liveness check: sends it the
// _NET_WM_PING client message, as a window manager does before it offers to end a program
// that seems to hang, and waits for the answer on the root window. Prints "answered" and
// exits 0 when the answer came within the given seconds, else prints "no answer" and
// exits 1. Usage: x_wm_ping <window id> [seconds, default 30]

#include <X11/Xlib.h>
#include <poll.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: %s <window id> [seconds]\n", argv[0]);
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "cannot open the display\n");
    return 2;
  }
  const Window window = std::strtoul(argv[1], nullptr, 0);
  const int seconds = argc == 3 ? std::atoi(argv[2]) : 30;
  const Window root = DefaultRootWindow(display);
  const Atom protocols = XInternAtom(display, "WM_PROTOCOLS", False);
  const Atom ping = XInternAtom(display, "_NET_WM_PING", False);
  // The answer goes to the root window for whoever listens to its children's changes.
  XSelectInput(display, root, StructureNotifyMask | SubstructureNotifyMask);

  // A stamp of our own, so that an answer to someone else's ping does not count.
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  const long stamp = static_cast<long>(
      std::chrono::duration_cast<std::chrono::milliseconds>(now).count() & 0x7FFFFFFF);
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = protocols;
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(ping);
  event.xclient.data.l[1] = stamp;
  event.xclient.data.l[2] = static_cast<long>(window);
  XSendEvent(display, window, False, NoEventMask, &event);
  XFlush(display);

  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (std::chrono::steady_clock::now() < deadline) {
    while (XPending(display) > 0) {
      XEvent answer{};
      XNextEvent(display, &answer);
      if (answer.type == ClientMessage && answer.xclient.message_type == protocols &&
          static_cast<Atom>(answer.xclient.data.l[0]) == ping &&
          answer.xclient.data.l[1] == stamp &&
          static_cast<Window>(answer.xclient.data.l[2]) == window) {
        std::puts("answered");
        XCloseDisplay(display);
        return 0;
      }
    }
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    poll(&connection, 1, 100);
  }
  std::puts("no answer");
  XCloseDisplay(display);
  return 1;
}
