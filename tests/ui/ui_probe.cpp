// A small program on the window layer, for the test in a real X server: one form with a
// label, two fields and a button. It prints every event WaitForEvent returns, one line
// each ("event <code> gadget <LastEventGadget> window <LastEventWindow>"), and the text of
// field 13 after each of its gadget events, and ends on a close request of its window.

#include <cstdio>

#include "text/text_area.h"
#include "ui/fonts_pictures.h"
#include "ui/gadgets.h"
#include "ui/windows.h"

using namespace quentara;

int main(int argc, char** argv) {
  StartWindowLayer(argc, argv);

  // Centred on the 1280 x 1024 screen: 1280/2 - 360/2 = 460, 1024/2 - 200/2 = 412.
  if (OpenFormWindow(0, 0, 0, 360, 200, 0x10CA0001, "Quentara probe") == 0) return 1;
  SetGadgetParent(WindowHandle(0));
  CreateTextGadget(6, 10, 14, 100, 16, "Amount:", SS_RIGHT);
  CreateStringGadget(13, 120, 10, 100, 20, "", ES_RIGHT);
  CreateStringGadget(14, 120, 40, 100, 20, "1.0", ES_RIGHT);
  CreateButtonGadget(3, 120, 80, 100, 25, "Press");
  ShowFormWindow(0, WindowVisibility::Shown);
  FocusGadget(13);
  std::printf("ready\n");
  std::fflush(stdout);

  for (;;) {
    const std::int32_t code = WaitForEvent();
    std::printf("event %d gadget %d window %d\n", static_cast<int>(code),
                static_cast<int>(LastEventGadget()), static_cast<int>(LastEventWindow()));
    if (code == GadgetEvent && LastEventGadget() == 13) {
      std::printf("text13=%s\n", ReadGadgetText(13));
      SetTextAreaEnd(TextAreaStart());
    }
    std::fflush(stdout);
    if (code == CloseRequestEvent && LastEventWindow() == 0) break;
  }
  CloseAllFormWindows();
  std::printf("closed\n");
  std::fflush(stdout);
  return 0;
}
