#pragma once
// Start-up of the small programs on the window layer that the X server tests run: the
// layer as the calculator sets it up, without a picture or files.

#include "ui/windows.h"

namespace quentara::testing {

inline void StartLayer(int argc, char** argv) {
  StartWindowLayer(argc, argv);
}

}  // namespace quentara::testing
