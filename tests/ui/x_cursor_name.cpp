// Prints the name of the mouse cursor the X server shows now (XFixes), as the cursor theme
// names it ("left_ptr", "watch", ...), or an empty line for a cursor without a name. The
// tests move the pointer over a window first. Usage: x_cursor_name

#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

#include <cstdio>

int main() {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "cannot open the display\n");
    return 1;
  }
  int eventBase = 0;
  int errorBase = 0;
  if (XFixesQueryExtension(display, &eventBase, &errorBase) == 0) {
    std::fprintf(stderr, "the X server has no XFixes extension\n");
    return 1;
  }
  XFixesCursorImage* cursor = XFixesGetCursorImage(display);
  if (cursor == nullptr) return 1;
  std::printf("%s\n", cursor->name != nullptr ? cursor->name : "");
  XFree(cursor);
  XCloseDisplay(display);
  return 0;
}
