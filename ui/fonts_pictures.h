#pragma once
// Fonts loaded by face name and point size under a number, and pictures built from bitmap
// file images held in memory, shown by picture gadgets.

#include <cstddef>
#include <cstdint>

#include "ui/ui_types.h"

namespace quentara {

// Style flags of CreateFontByName.
inline constexpr std::uint32_t FontBold = 0x100;
inline constexpr std::uint32_t FontItalic = 0x200;
inline constexpr std::uint32_t FontUnderline = 0x4;
inline constexpr std::uint32_t FontStrikeOut = 0x8;
inline constexpr std::uint32_t FontProofQuality = 0x10;

void InitFonts();
/// Program end: the font table is given back to the heap (the fonts go with the registry).
void EndFonts();
/// A font of `size` points (pixel height from the screen's logical vertical resolution:
/// 9 pt is 12 px at 96 dpi) stored under `number`, replacing the font there. Returns its
/// handle, 0 on failure. A face the system lacks is replaced by the closest it has.
PlatformHandle CreateFontByName(std::int32_t number, const char* faceName, std::int32_t size,
                                std::uint32_t flags);
/// Pixel height CreateFontByName gives a size at the current screen (for tests).
std::int32_t FontPixelHeight(std::int32_t size);
/// Details of a stored font (for tests).
struct FontFacts {
  std::int32_t pixelHeight = 0;
  std::int32_t weight = 0;
  bool italic = false, underline = false, strikeOut = false, proofQuality = false;
};
FontFacts FontFactsOf(PlatformHandle font);
std::int32_t FontSlotCount();

void InitPictureDecoders();
void InitPictures();
/// Program end: the picture table is given back to the heap.
void EndPictures();
/// Builds a picture from a bitmap file image ("BM") or an icon directory of `size` bytes
/// and stores it under `number`; returns its handle, or 0 (the slot then stays as it was
/// for unrecognised data).
PlatformHandle LoadPictureFromMemory(std::int32_t number, const unsigned char* data,
                                     std::size_t size);
/// The handle under `number`, 0 when empty or beyond the table.
PlatformHandle PictureHandle(std::int32_t number);
struct PictureFacts {
  std::int32_t width = 0, height = 0, depth = 0;
};
PictureFacts PictureFactsOf(std::int32_t number);
/// Colour 0x00BBGGRR of a pixel of the stored picture (for tests).
Color PicturePixel(std::int32_t number, std::int32_t x, std::int32_t y);
std::int32_t PictureSlotCount();
/// A gadget showing the picture at its own size from its top-left corner; flags are the
/// extended style (WS_EX_CLIENTEDGE for a sunken edge).
PlatformHandle CreatePictureGadget(std::int32_t number, std::int32_t x, std::int32_t y,
                                   std::int32_t width, std::int32_t height,
                                   PlatformHandle pictureHandle, std::uint32_t flags);

}  // namespace quentara
