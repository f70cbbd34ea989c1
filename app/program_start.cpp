// Start-up, the event loop that turns gadget events into the calculator's commands, and
// the print button's command.
#include "app/program_start.h"

#include "app/gadget_colors.h"
#include "app/information_window.h"
#include "app/main_form.h"
#include "app/program_end.h"
#include "app/schedule_command.h"
#include "calc/schedule_report.h"
#include "files/program_folder.h"
#include "files/text_file.h"
#include "resources/embedded_picture.h"
#include "text/program_heap.h"
#include "ui/fonts_pictures.h"
#include "ui/gadgets.h"
#include "ui/message_boxes.h"
#include "ui/program_starter.h"
#include "ui/windows.h"

namespace quentara {

namespace {
void StartUp(int argc, char** argv) {
  programHeap.Create();
  DetermineProgramFolder();
  // The file table and the window layer's tables depend on none of each other: the file
  // table comes first, and then the whole window layer in one piece.
  InitTextFiles();
  StartWindowLayer(argc, argv);
  CreateGadgetColorList();
  CreateScheduleTable();
  // A picture that cannot be loaded leaves the picture gadget empty; nothing else depends
  // on it.
  LoadPictureFromMemory(embeddedPictureNumber, embeddedPicture, embeddedPictureSize);
}

// What the event loop does once a command has run.
enum class AfterCommand : std::uint8_t { GoOn, Quit };

AfterCommand RunGadgetCommand(std::int32_t gadget) {
  switch (gadget) {
    case paymentField:
      WriteScheduleReport();
      return AfterCommand::GoOn;
    case printButton:
      OpenReportInEditor();
      return AfterCommand::GoOn;
    case quitButton:
      return AfterCommand::Quit;
    case informationButton:
      OpenInformationWindow();
      return AfterCommand::GoOn;
    default:
      // The input fields notify on every key and focus change; labels, the frame, the
      // picture and the information window's gadgets have nothing to do.
      return AfterCommand::GoOn;
  }
}
}  // namespace

std::int32_t OpenReportInEditor() {
  ShowMessageBox("Please Note",
                 "For proper alignment use a small non-proportional font (e.g. Courier 8) with "
                 "NotePad",
                 0);
  // The editor starts in the program's folder, where the last computation wrote the
  // report; the program's windows stay painted meanwhile, but no click, key or close
  // request is handled until the editor has ended.
  StartProgram("notepad.exe", "Loan.txt", "", StartAndWait);
  return 0;
}

int RunProgram(int argc, char** argv) {
  StartUp(argc, argv);
  if (OpenMainForm() == 0) EndProgram();
  // The form is shown but its labels paint only once the loop takes its first events, so
  // the colours are in place from the first paint.
  SetWindowHook(GadgetColorHook);

  bool quitRequested = false;
  while (!quitRequested) {
    const std::int32_t lastEvent = WaitForEvent();
    if (lastEvent == CloseRequestEvent) {
      const std::int32_t window = LastEventWindow();
      if (window == mainWindow) {
        quitRequested = true;
      } else if (window == informationWindow) {
        CloseFormWindow(informationWindow);
      }
    } else if (lastEvent == GadgetEvent) {
      quitRequested = RunGadgetCommand(LastEventGadget()) == AfterCommand::Quit;
    }
  }
  CloseFormWindow(mainWindow);
  EndProgram();
}

}  // namespace quentara
