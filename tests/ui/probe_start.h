#pragma once
// Start-up of the small programs on the window layer that the X server tests run: the
// layer's tables as the calculator sets them up, without a picture or files.

#include "text/program_heap.h"
#include "text/text_area.h"
#include "ui/fonts_pictures.h"
#include "ui/gadgets.h"
#include "ui/windows.h"

namespace quentara::testing {

inline void StartLayer(int argc, char** argv) {
  programHeap.Create();
  InitWindows(argc, argv);
  InitGadgets();
  InitPictureDecoders();
  InitFonts();
  InitPictures();
  AllocateTextArea();
}

}  // namespace quentara::testing
