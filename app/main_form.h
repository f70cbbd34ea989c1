#pragma once
// The main window of the calculator: the picture, the title block, the four input fields
// with their labels, the payment field and the three buttons. It only builds the form; the
// event loop and the schedule command give the gadgets their meaning.

#include <cstdint>

#include "ui/ui_types.h"

namespace quentara {

// Window numbers of the program.
inline constexpr std::int32_t mainWindow = 0;
inline constexpr std::int32_t informationWindow = 1;

// The main form's gadgets that only make up the form: the picture, the title block, the
// frame and the labels. A gadget with a font of its own has it under its gadget number.
inline constexpr std::int32_t pictureGadget = 0;
inline constexpr std::int32_t bannerText = 1;  // "Vornicat"
inline constexpr std::int32_t inputFrame = 2;
inline constexpr std::int32_t amountLabel = 6;
inline constexpr std::int32_t subtitleText = 7;  // "Amortization Tables"
inline constexpr std::int32_t rateLabel = 8;
inline constexpr std::int32_t lengthLabel = 9;
inline constexpr std::int32_t paymentLabel = 10;
inline constexpr std::int32_t dateLabel = 11;
inline constexpr std::int32_t dateHint = 17;  // "mm/dd/yyyy"

// The main form's gadgets that the commands read, write or answer to.
inline constexpr std::int32_t printButton = 3;
inline constexpr std::int32_t quitButton = 4;
inline constexpr std::int32_t informationButton = 5;
inline constexpr std::int32_t rateField = 12;
inline constexpr std::int32_t amountField = 13;
inline constexpr std::int32_t lengthField = 14;
inline constexpr std::int32_t paymentField = 15;
inline constexpr std::int32_t dateField = 16;

/// A gadget's place in its window's client area, in pixels.
struct GadgetPlace {
  std::int32_t gadget, x, y, width, height;
};

/// The size of the main form's client area.
inline constexpr std::int32_t mainFormWidth = 548;
inline constexpr std::int32_t mainFormHeight = 371;

/// Where OpenMainForm puts each gadget of the main form.
inline constexpr GadgetPlace mainFormPlaces[] = {
    {pictureGadget, 15, 80, 140, 263}, {bannerText, 85, 10, 375, 55},
    {inputFrame, 165, 75, 360, 190},   {printButton, 165, 280, 360, 35},
    {quitButton, 460, 325, 65, 25},    {informationButton, 170, 325, 95, 25},
    {amountLabel, 185, 155, 185, 15},  {subtitleText, 190, 45, 150, 20},
    {dateHint, 395, 105, 70, 16},      {rateLabel, 185, 185, 185, 15},
    {lengthLabel, 185, 215, 185, 15},  {paymentLabel, 185, 245, 185, 15},
    {dateLabel, 185, 125, 185, 15},    {dateField, 385, 120, 80, 20},
    {amountField, 385, 150, 80, 20},   {rateField, 385, 180, 80, 20},
    {lengthField, 385, 210, 80, 20},   {paymentField, 385, 240, 80, 20},
};

/// The place of a gadget of the main form; all zero for a number the form does not have.
constexpr GadgetPlace MainFormPlace(std::int32_t gadget) {
  for (const GadgetPlace& place : mainFormPlaces) {
    if (place.gadget == gadget) return place;
  }
  return {};
}

/// The picture the program carries, loaded under this number at start-up and shown by the
/// picture gadget.
inline constexpr std::int32_t embeddedPictureNumber = 0;

/// Builds window 0 while it is hidden, shows it, disables the print button and puts the
/// focus into the date field. Returns the window's handle, or 0 when the window or its
/// gadget parent could not be set up.
PlatformHandle OpenMainForm();

}  // namespace quentara
