// Builds the calculator's main form, window 0, with every gadget in its place.
#include "app/main_form.h"

#include "app/gadget_colors.h"
#include "dates/dates.h"
#include "text/text_area.h"
#include "ui/accessibility.h"
#include "ui/drawing.h"
#include "ui/fonts_pictures.h"
#include "ui/gadgets.h"
#include "ui/windows.h"

namespace quentara {

namespace {
constexpr std::uint32_t mainWindowFlags = WindowInvisible | WS_CAPTION | WS_SYSMENU |
                                          WS_MINIMIZEBOX | WindowCentreOnScreen;  // 0x10CA0001
static_assert(mainWindowFlags == 0x10CA0001);

constexpr Color windowColor = 0x00F2E6E6;  // red 230, green 230, blue 242
constexpr Color maroon = 0x000080;         // red 128
constexpr Color paleYellow = 0xB7FDFF;     // red 255, green 253, blue 183

// A label in maroon on the window's own colour; the labels keep the default font.
void CreateLabel(std::int32_t number, std::int32_t x, std::int32_t y, std::int32_t width,
                 std::int32_t height, const char* text, std::uint32_t alignment) {
  CreateTextGadget(number, x, y, width, height, text, alignment);
  SetGadgetColors(number, maroon, windowColor);
}

void ApplyNewFont(std::int32_t gadget, const char* faceName, std::int32_t size) {
  ApplyGadgetFont(gadget, CreateFontByName(gadget, faceName, size, 0));
}
}  // namespace

PlatformHandle OpenMainForm() {
  if (OpenFormWindow(mainWindow, 246, -6, 548, 371, mainWindowFlags, "Quentara") == 0) return 0;
  SetWindowBackground(WindowHandle(mainWindow), MakeSolidBrush(windowColor));
  if (SetGadgetParent(WindowHandle(mainWindow)) == 0) return 0;

  // Created in this order, which is also the order Tab walks through the buttons and fields.
  CreatePictureGadget(pictureGadget, 15, 80, 140, 263, PictureHandle(embeddedPictureNumber),
                      WS_EX_CLIENTEDGE);

  CreateTextGadget(bannerText, 85, 10, 375, 55, "Vornicat", SS_CENTER);
  SetGadgetColors(bannerText, maroon, paleYellow);
  ApplyNewFont(bannerText, "Highlight LET", 26);

  CreateFrameGadget(inputFrame, 165, 75, 360, 190, "");
  ApplyNewFont(inputFrame, "Arial", 9);

  CreateButtonGadget(printButton, 165, 280, 360, 35, "Print Amortization Schedule");
  ApplyNewFont(printButton, "Verdana", 9);
  CreateButtonGadget(quitButton, 460, 325, 65, 25, "Quit");
  CreateButtonGadget(informationButton, 170, 325, 95, 25, "Information");

  CreateLabel(amountLabel, 185, 155, 185, 15, "Loan Amount (Dollars):", SS_RIGHT);

  // The subtitle lies inside the banner's rectangle, on the same pale yellow.
  CreateTextGadget(subtitleText, 190, 45, 150, 20, "Amortization Tables", 0);
  SetGadgetColors(subtitleText, maroon, paleYellow);
  ApplyNewFont(subtitleText, "VAG Round", 12);

  CreateLabel(dateHint, 395, 105, 70, 16, "mm/dd/yyyy", SS_CENTER);
  CreateLabel(rateLabel, 185, 185, 185, 15, "Interest Rate (%):", SS_RIGHT);
  CreateLabel(lengthLabel, 185, 215, 185, 15, "Length of Loan (Years):", SS_RIGHT);
  CreateLabel(paymentLabel, 185, 245, 185, 15, "Calculated Monthly Payment:", SS_RIGHT);
  CreateLabel(dateLabel, 185, 125, 185, 15, "Date of First Payment:", SS_RIGHT);

  char* today = FormatDateMask("%mm/%dd/%yyyy", CurrentDate());
  CreateStringGadget(dateField, 385, 120, 80, 20, today, ES_RIGHT);
  SetTextAreaEnd(today);
  CreateStringGadget(amountField, 385, 150, 80, 20, "5000.00", ES_RIGHT);
  CreateStringGadget(rateField, 385, 180, 80, 20, "4.00", ES_RIGHT);
  CreateStringGadget(lengthField, 385, 210, 80, 20, "1.0", ES_RIGHT);
  // "blank" only holds the place until the first computation writes the payment.
  CreateStringGadget(paymentField, 385, 240, 80, 20, "blank", ES_RIGHT);

  // For screen readers: which label names which field, the date's format, what the picture
  // shows, that "blank" is no payment, and that a computed payment is announced, since the
  // focus goes on to the amount field.
  RelateLabelToGadget(dateLabel, dateField);
  RelateLabelToGadget(amountLabel, amountField);
  RelateLabelToGadget(rateLabel, rateField);
  RelateLabelToGadget(lengthLabel, lengthField);
  RelateLabelToGadget(paymentLabel, paymentField);
  DescribeGadgetByLabel(dateHint, dateField);
  NameGadget(pictureGadget, "A parrot on a branch");
  SetFieldPlaceholder(paymentField, "blank", "Not calculated yet");
  AnnounceGadgetWrites(paymentField);

  ShowFormWindow(mainWindow, WindowVisibility::Shown);
  SetGadgetDisabled(printButton, GadgetState::Disabled);
  FocusGadget(dateField);
  return CurrentWindowHandle();
}

}  // namespace quentara
