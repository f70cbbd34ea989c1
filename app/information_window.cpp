// Builds the information window, window 1: its heading and its read-only notice.
#include "app/information_window.h"

#include "app/gadget_colors.h"
#include "app/main_form.h"
#include "text/text_area.h"
#include "ui/accessibility.h"
#include "ui/drawing.h"
#include "ui/fonts_pictures.h"
#include "ui/gadgets.h"
#include "ui/windows.h"

namespace quentara {

namespace {
constexpr std::uint32_t informationWindowFlags =
    WindowInvisible | WS_CAPTION | WS_SYSMENU | WindowCentreOnActive;  // 0x10C80002
static_assert(informationWindowFlags == 0x10C80002);

constexpr Color skyBlue = 0x00FFE0C1;  // red 193, green 224, blue 255
constexpr Color blue = 0xFF0000;

// The notice's paragraphs, joined by an empty line (two line ends) each.
constexpr const char* firstParagraph =
    "Quentara works out the monthly payment and the full schedule of any loan.";
constexpr const char* secondParagraph =
    "In the future, I hope to implement a way to pay off your loan faster... by simply "
    "overwriting the amount in the 'Calculated Monthly Payment' field.";
constexpr const char* thirdParagraph = "Your loan length, etc. would be reduced accordingly.";
constexpr const char* lineEnd = "\r\n";

// Read-only, multi-line, and asking for both centred and right-aligned text; the window
// layer wraps such a field's lines at its width.
constexpr std::uint32_t noticeStyle = ES_READONLY | ES_MULTILINE | ES_RIGHT | ES_CENTER;
static_assert(noticeStyle == 0x807);

// The background brush of the window opened last. Each opening makes its own and deletes
// the one before, whose window is closed by then.
PlatformHandle backgroundBrush = 0;
}  // namespace

PlatformHandle OpenInformationWindow() {
  // An open window 1 is closed by the window layer first, so a second click replaces it.
  if (OpenFormWindow(informationWindow, 250, 12, 400, 300, informationWindowFlags, "Information") ==
      0) {
    return 0;
  }
  DeleteBrush(backgroundBrush);
  backgroundBrush = MakeSolidBrush(skyBlue);
  SetWindowBackground(WindowHandle(informationWindow), backgroundBrush);
  if (SetGadgetParent(WindowHandle(informationWindow)) == 0) return 0;

  // The heading's font and colour record replace those of an earlier opening, as the
  // background brush does, so opening the window again and again accumulates nothing.
  CreateTextGadget(informationHeading, 100, 10, 185, 20, "General Information", SS_CENTER);
  SetGadgetColors(informationHeading, blue, skyBlue);
  ApplyGadgetFont(informationHeading,
                  CreateFontByName(informationHeading, "Verdana", 10, FontBold));

  char* notice = TextAreaEnd();
  AppendText(firstParagraph);
  AppendText(lineEnd);
  AppendText(lineEnd);
  AppendText(secondParagraph);
  AppendText(lineEnd);
  AppendText(lineEnd);
  AppendText(thirdParagraph);
  CreateStringGadget(informationNotice, 35, 95, 320, 140, notice, noticeStyle);
  SetTextAreaEnd(notice);
  // Screen readers read the notice under its heading.
  RelateLabelToGadget(informationHeading, informationNotice);

  ShowFormWindow(informationWindow, WindowVisibility::Shown);
  return CurrentWindowHandle();
}

}  // namespace quentara
