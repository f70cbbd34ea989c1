// A small program on the window layer for the tests under a real window manager: one form
// centred on the screen with a field and three buttons. "Note" shows a message box titled
// "Please Note", "Untitled" one with an empty title, and "Quit" ends the probe. It prints
// "ready" once the form is up, "box up" before each box and "answer <n>" after it.

#include <cstdio>

#include "text/program_heap.h"
#include "text/text_area.h"
#include "ui/fonts_pictures.h"
#include "ui/gadgets.h"
#include "ui/outside.h"
#include "ui/windows.h"

using namespace quentara;

namespace {
void Say(const char* line) {
  std::printf("%s\n", line);
  std::fflush(stdout);
}

void ShowBox(const char* title, const char* text) {
  Say("box up");
  const std::int32_t answer = ShowMessageBox(title, text, 0);
  std::printf("answer %d\n", static_cast<int>(answer));
  std::fflush(stdout);
}
}  // namespace

int main(int argc, char** argv) {
  programHeap.Create();
  InitWindows(argc, argv);
  InitGadgets();
  InitPictureDecoders();
  InitFonts();
  InitPictures();
  AllocateTextArea();

  if (OpenFormWindow(0, 0, 0, 360, 200, 0x10CA0001, "Quentara probe") == 0) return 1;
  SetGadgetParent(WindowHandle(0));
  CreateTextGadget(6, 10, 14, 100, 16, "Amount:", SS_RIGHT);
  CreateStringGadget(13, 120, 10, 100, 20, "5000.00", ES_RIGHT);
  CreateButtonGadget(3, 20, 80, 100, 25, "Note");
  CreateButtonGadget(4, 130, 80, 100, 25, "Untitled");
  CreateButtonGadget(5, 240, 80, 100, 25, "Quit");
  ShowFormWindow(0, 0);
  FocusGadget(13);
  Say("ready");

  for (;;) {
    const std::int32_t code = WaitForEvent();
    if (code == CloseRequestEvent && LastEventWindow() == 0) break;
    if (code != GadgetEvent) continue;
    const std::int32_t gadget = LastEventGadget();
    if (gadget == 3) ShowBox("Please Note", "A box with a title.");
    if (gadget == 4) ShowBox("", "A box without a title.");
    if (gadget == 5) break;
  }
  CloseAllFormWindows();
  Say("closed");
  return 0;
}
