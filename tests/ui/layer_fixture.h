#pragma once
// A fresh window layer for every test: the offscreen screen, the layer set up by the
// program's own start-up of it, and every window closed afterwards.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <cstdint>
#include <vector>

#include "tests/support/layer_start.h"
#include "tests/ui/ui_test_support.h"
#include "ui/gadgets.h"
#include "ui/qt/event_queue.h"
#include "ui/qt/form_window.h"
#include "ui/qt/qt_access.h"
#include "ui/windows.h"

namespace quentara::testing {

class LayerTest : public ::testing::Test {
 protected:
  void SetUp() override { StartOffscreenLayer(); }

  void TearDown() override {
    SetWindowHook(nullptr);
    CloseAllFormWindows();
    DeliverPostedEvents();
  }

  /// Opens a visible window of 300 x 200 and makes it the parent of new gadgets. It asks to
  /// become the active window; WaitUntilActive waits until it is.
  static QWidget* OpenActiveWindow(std::int32_t number = 0) {
    OpenFormWindow(number, 100, 100, 300, 200, 0, "Test");
    SetGadgetParent(WindowHandle(number));
    QWidget* window = FormWindowWidget(number);
    return window;
  }
};

/// Every WM_COMMAND the hook is offered: (window number, identifier, notification code).
struct Notification {
  std::int32_t window;
  std::uint32_t identifier;
  std::uint32_t code;
  friend bool operator==(const Notification&, const Notification&) = default;
};

inline std::vector<Notification>& RecordedNotifications() {
  static std::vector<Notification> notifications;
  return notifications;
}

inline std::int32_t RecordingHook(PlatformHandle window, std::uint32_t message,
                                  std::uintptr_t wParam, std::intptr_t) {
  if (message == WM_COMMAND) {
    std::int32_t number = -1;
    for (std::int32_t candidate = 0; candidate < WindowSlotCount(); ++candidate) {
      if (WindowHandle(candidate) == window) number = candidate;
    }
    RecordedNotifications().push_back(
        Notification{number, static_cast<std::uint32_t>(wParam & 0xFFFF),
                     static_cast<std::uint32_t>((wParam >> 16) & 0xFFFF)});
  }
  return HookDefault;
}

inline void PrintTo(const Notification& n, std::ostream* out) {
  *out << "{window " << n.window << ", id " << n.identifier << ", code 0x" << std::hex << n.code
       << std::dec << "}";
}

}  // namespace quentara::testing
