#pragma once
// The window layer for a test, brought up by the start-up the program itself calls, on Qt's
// offscreen platform (the screen of tests/ui/offscreen.json).

#include "tests/ui/ui_test_support.h"
#include "ui/windows.h"

namespace quentara::testing {

inline void StartOffscreenLayer() {
  UseOffscreenScreen();
  StartWindowLayer();
}

}  // namespace quentara::testing
