// The frame a window manager announces, asked in a real X server without a window manager
// (Xvfb): the test claims on the root window that one supports _NET_REQUEST_FRAME_EXTENTS,
// and answers for it, or not.

#include "ui/qt/window_system.h"

#include <gtest/gtest.h>

#include <QWidget>
#include <chrono>
#include <cstdlib>

#include "ui/windows.h"

// Xlib's macros (None, Bool, Status, ...) clash with Qt and GoogleTest: it comes last.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace quentara {
namespace {

using namespace std::chrono_literals;

class FrameExtents : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    StartWindowLayer();
    display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    Atom request = XInternAtom(display, "_NET_REQUEST_FRAME_EXTENTS", False);
    XChangeProperty(display, DefaultRootWindow(display),
                    XInternAtom(display, "_NET_SUPPORTED", False), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&request), 1);
    XSync(display, False);
  }
  static inline Display* display = nullptr;
};

TEST_F(FrameExtents, AreWhatTheWindowManagerSets) {
  QWidget window;
  long frame[4] = {3, 5, 21, 4};  // left, right, top, bottom
  XChangeProperty(display, window.winId(), XInternAtom(display, "_NET_FRAME_EXTENTS", False),
                  XA_CARDINAL, 32, PropModeReplace, reinterpret_cast<unsigned char*>(frame), 4);
  XSync(display, False);
  EXPECT_EQ(AskFrameExtents(&window), QMargins(3, 21, 5, 4));
}

TEST_F(FrameExtents, WithoutAnAnswerTheWaitEndsAfterTheCeiling) {
  QWidget window;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(AskFrameExtents(&window, 200ms), std::nullopt);
  // It waited for the answer rather than giving up at once.
  EXPECT_GE(std::chrono::steady_clock::now() - start, 200ms);
}

}  // namespace
}  // namespace quentara
