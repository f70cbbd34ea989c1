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

// Creates the gadget at its place in mainFormPlaces with `create` (one of the layer's
// CreateXGadget) and the rest of that call's arguments.
template <typename Create, typename... Rest>
void CreateInPlace(Create create, std::int32_t gadget, Rest... rest) {
  const GadgetPlace place = MainFormPlace(gadget);
  create(gadget, place.x, place.y, place.width, place.height, rest...);
}

// A label in maroon on the window's own colour; the labels keep the default font.
void CreateLabel(std::int32_t number, const char* text, std::uint32_t alignment) {
  CreateInPlace(CreateTextGadget, number, text, alignment);
  SetGadgetColors(number, maroon, windowColor);
}

void ApplyNewFont(std::int32_t gadget, const char* faceName, std::int32_t size) {
  ApplyGadgetFont(gadget, CreateFontByName(gadget, faceName, size, 0));
}
}  // namespace

PlatformHandle OpenMainForm() {
  if (OpenFormWindow(mainWindow, 246, -6, mainFormWidth, mainFormHeight, mainWindowFlags,
                     "Quentara") == 0) {
    return 0;
  }
  SetWindowBackground(WindowHandle(mainWindow), MakeSolidBrush(windowColor));
  if (SetGadgetParent(WindowHandle(mainWindow)) == 0) return 0;

  // Created in this order, which is also the order Tab walks through the buttons and fields.
  CreateInPlace(CreatePictureGadget, pictureGadget, PictureHandle(embeddedPictureNumber),
                WS_EX_CLIENTEDGE);

  CreateInPlace(CreateTextGadget, bannerText, "Vornicat", SS_CENTER);
  SetGadgetColors(bannerText, maroon, paleYellow);
  ApplyNewFont(bannerText, "Highlight LET", 26);

  CreateInPlace(CreateFrameGadget, inputFrame, "");
  ApplyNewFont(inputFrame, "Arial", 9);

  CreateInPlace(CreateButtonGadget, printButton, "Print Amortization Schedule");
  ApplyNewFont(printButton, "Verdana", 9);
  CreateInPlace(CreateButtonGadget, quitButton, "Quit");
  CreateInPlace(CreateButtonGadget, informationButton, "Information");

  CreateLabel(amountLabel, "Loan Amount (Dollars):", SS_RIGHT);

  // The subtitle lies inside the banner's rectangle, on the same pale yellow.
  CreateInPlace(CreateTextGadget, subtitleText, "Amortization Tables", 0u);
  SetGadgetColors(subtitleText, maroon, paleYellow);
  ApplyNewFont(subtitleText, "VAG Round", 12);

  CreateLabel(dateHint, "mm/dd/yyyy", SS_CENTER);
  CreateLabel(rateLabel, "Interest Rate (%):", SS_RIGHT);
  CreateLabel(lengthLabel, "Length of Loan (Years):", SS_RIGHT);
  CreateLabel(paymentLabel, "Calculated Monthly Payment:", SS_RIGHT);
  CreateLabel(dateLabel, "Date of First Payment:", SS_RIGHT);

  char* today = FormatDateMask("%mm/%dd/%yyyy", CurrentDate());
  CreateInPlace(CreateStringGadget, dateField, today, ES_RIGHT);
  SetTextAreaEnd(today);
  CreateInPlace(CreateStringGadget, amountField, "5000.00", ES_RIGHT);
  CreateInPlace(CreateStringGadget, rateField, "4.00", ES_RIGHT);
  CreateInPlace(CreateStringGadget, lengthField, "1.0", ES_RIGHT);
  // "blank" only holds the place until the first computation writes the payment.
  CreateInPlace(CreateStringGadget, paymentField, "blank", ES_RIGHT);

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
