// A small program on the window layer for the tests under a real window manager: one form
// centred on the screen with a field and three buttons. "Note" shows a message box titled
// "Please Note", "Untitled" one with an empty title, and "Quit" ends the probe. It prints
// "ready" once the form is up, "box up" before each box and "answer <n>" after it.
//
// With --on-its-own it needs no input but close requests (for a desktop where none can be
// typed or clicked), and its windows have colours of their own, to be found on a screenshot:
// once its form (pale lavender, not centred) is active it opens window 1, "Information"
// (light sky blue, 200 x 100), centred on the form, and prints "information up". A close
// request of window 1 closes it; once the form is active again the probe prints "box up" and
// shows the calculator's "Please Note" box (magenta inside; its text wraps when it is shown)
// over the form. A close request of the form ends it.

#include <QApplication>
#include <cstdio>
#include <cstring>

#include "tests/ui/probe_start.h"
#include "text/text_area.h"
#include "ui/drawing.h"
#include "ui/fonts_pictures.h"
#include "ui/gadgets.h"
#include "ui/message_boxes.h"
#include "ui/qt/qt_access.h"
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

// Window 1 opens the moment the form is active, which its field gaining the focus tells.
// That is no message of its own (a window's activation goes to it directly), so the hook
// acts on the field's notification; window 1's showing then ends the wait.
bool informationOpen = false;

std::int32_t OpenInformationOnActivation(PlatformHandle, std::uint32_t message,
                                         std::uintptr_t wParam, std::intptr_t) {
  const bool fieldFocused = message == WM_COMMAND && (wParam & 0xFFFF) == 13 &&
                            ((wParam >> 16) & 0xFFFF) == 0x100;  // EN_SETFOCUS
  if (fieldFocused && !informationOpen) {
    informationOpen = true;
    if (OpenFormWindow(1, 0, 0, 200, 100, 0x10C80002, "Information") != 0) {
      SetWindowBackground(WindowHandle(1), MakeSolidBrush(0x00FFE0C1));
      ShowFormWindow(1, WindowVisibility::Shown);
    }
  }
  return HookDefault;
}

// Once the form is active, window 1; once window 1 is closed and the form active again, the
// box over the form.
void RunOnItsOwn() {
  while (!informationOpen) WaitForEvent();
  Say("information up");
  while (WaitForEvent() != CloseRequestEvent || LastEventWindow() != 1) {
  }
  CloseFormWindow(1);
  // The form's activation is no message, and no message may follow it: Qt is asked.
  while (QApplication::activeWindow() != FormWindowWidget(0)) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
  }
  ShowBox("Please Note",
          "For proper alignment use a small non-proportional font (e.g. Courier 8) with NotePad");
  while (WaitForEvent() != CloseRequestEvent || LastEventWindow() != 0) {
  }
}

int main(int argc, char** argv) {
  const bool onItsOwn = argc > 1 && std::strcmp(argv[1], "--on-its-own") == 0;
  testing::StartLayer(argc, argv);

  // Centred on the screen, or on its own at 100, 150, where a window centred over it is not
  // centred on the screen.
  const bool opened = onItsOwn ? OpenFormWindow(0, 100, 150, 360, 200, 0x10CA0000, "Quentara probe")
                               : OpenFormWindow(0, 0, 0, 360, 200, 0x10CA0001, "Quentara probe");
  if (opened == 0) return 1;
  if (onItsOwn) {
    qApp->setStyleSheet(QStringLiteral("QMessageBox { background: rgb(255, 0, 255); }"));
    SetWindowBackground(WindowHandle(0), MakeSolidBrush(0x00F2E6E6));
    SetWindowHook(OpenInformationOnActivation);
  }
  SetGadgetParent(WindowHandle(0));
  CreateTextGadget(6, 10, 14, 100, 16, "Amount:", SS_RIGHT);
  CreateStringGadget(13, 120, 10, 100, 20, "5000.00", ES_RIGHT);
  CreateButtonGadget(3, 20, 80, 100, 25, "Note");
  CreateButtonGadget(4, 130, 80, 100, 25, "Untitled");
  CreateButtonGadget(5, 240, 80, 100, 25, "Quit");
  ShowFormWindow(0, WindowVisibility::Shown);
  FocusGadget(13);
  Say("ready");

  if (onItsOwn) {
    RunOnItsOwn();
    CloseAllFormWindows();
    Say("closed");
    return 0;
  }
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
