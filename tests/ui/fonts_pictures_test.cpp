// Fonts by face name and size, pictures from bitmap and icon files in memory, and the
// picture gadget.

#include "ui/fonts_pictures.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFrame>
#include <QImage>
#include <cstdint>
#include <string>
#include <vector>

#include "resources/embedded_picture.h"
#include "tests/ui/layer_fixture.h"
#include "ui/gadgets.h"

namespace quentara::testing {
namespace {

using Fonts = LayerTest;

TEST_F(Fonts, LoadingFontEighteenGrowsTheTableToTwentyEight) {
  EXPECT_EQ(FontSlotCount(), 10);
  EXPECT_NE(CreateFontByName(18, "Verdana", 10, FontBold), 0u);
  EXPECT_EQ(FontSlotCount(), 28);
  EXPECT_EQ(CreateFontByName(-1, "Verdana", 10, 0), 0u);
}

struct HeightCase {
  std::int32_t size;
  std::int32_t pixels;
};

inline void PrintTo(const HeightCase& row, std::ostream* out) {
  *out << row.size << " points";
}

class FontHeights : public LayerTest, public ::testing::WithParamInterface<HeightCase> {};

TEST_P(FontHeights, FollowTheScreensLogicalResolution) {
  EXPECT_EQ(FontPixelHeight(GetParam().size), GetParam().pixels);
}

// At 96 dots per inch: size * 96 / 72, rounded half away from zero.
INSTANTIATE_TEST_SUITE_P(
    Rows, FontHeights,
    ::testing::Values(HeightCase{8, 11}, HeightCase{9, 12}, HeightCase{10, 13}, HeightCase{12, 16},
                      HeightCase{26, 35}, HeightCase{0, 0}, HeightCase{1, 1}, HeightCase{-10, -13},
                      HeightCase{2147483647, -1}),
    [](const auto& info) {
      const std::int32_t size = info.param.size;
      return (size < 0 ? "Minus" + std::to_string(-size) : std::to_string(size)) + "Points";
    });

struct StyleCase {
  const char* name;
  std::uint32_t flags;
  FontFacts facts;
};

inline void PrintTo(const StyleCase& row, std::ostream* out) {
  *out << row.name;
}

class FontStyles : public LayerTest, public ::testing::WithParamInterface<StyleCase> {};

TEST_P(FontStyles, FollowTheFlags) {
  const StyleCase& row = GetParam();
  const FontFacts facts = FontFactsOf(CreateFontByName(18, "Verdana", 10, row.flags));
  EXPECT_EQ(facts.pixelHeight, row.facts.pixelHeight);
  EXPECT_EQ(facts.weight, row.facts.weight);
  EXPECT_EQ(facts.italic, row.facts.italic);
  EXPECT_EQ(facts.underline, row.facts.underline);
  EXPECT_EQ(facts.strikeOut, row.facts.strikeOut);
  EXPECT_EQ(facts.proofQuality, row.facts.proofQuality);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FontStyles,
    ::testing::Values(StyleCase{"Plain", 0, {13, 400, false, false, false, false}},
                      StyleCase{"Bold", 0x100, {13, 700, false, false, false, false}},
                      StyleCase{"Italic", 0x200, {13, 400, true, false, false, false}},
                      StyleCase{"Underlined", 0x4, {13, 400, false, true, false, false}},
                      StyleCase{"StruckOut", 0x8, {13, 400, false, false, true, false}},
                      StyleCase{"ProofQuality", 0x10, {13, 400, false, false, false, true}},
                      StyleCase{
                          "OtherBitsChangeNothing", 0x1, {13, 400, false, false, false, false}},
                      StyleCase{"Everything", 0x31C, {13, 700, true, true, true, true}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Fonts, LoadingANumberAgainFreesTheEarlierFont) {
  const PlatformHandle first = CreateFontByName(7, "VAG Round", 12, 0);
  const PlatformHandle second = CreateFontByName(7, "VAG Round", 12, 0);
  EXPECT_NE(first, second);
  EXPECT_EQ(FontFactsOf(first).pixelHeight, 0);
  EXPECT_EQ(FontFactsOf(second).pixelHeight, 16);
}

// A bitmap file of 2 x 2 pixels, 24 bits, stored bottom-up: the first row stored is the
// bottom row on screen. Stored: red, green (bottom); blue, white (top).
std::vector<unsigned char> TinyBitmap() {
  std::vector<unsigned char> file = {'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,  // file header
                                     40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0,
                                     16, 0, 0, 0, 0x13, 0x0B, 0, 0, 0x13, 0x0B, 0, 0, 0, 0, 0, 0, 0,
                                     0, 0, 0,
                                     // rows of 6 bytes padded to 8, each pixel blue, green, red
                                     0, 0, 255, 0, 255, 0, 0, 0,       // bottom: red, green
                                     255, 0, 0, 255, 255, 255, 0, 0};  // top: blue, white
  return file;
}

using Pictures = LayerTest;

TEST_F(Pictures, TheTopRowIsTheLastRowStored) {
  const std::vector<unsigned char> file = TinyBitmap();
  ASSERT_NE(LoadPictureFromMemory(0, file.data(), file.size()), 0u);
  EXPECT_EQ(PictureFactsOf(0).width, 2);
  EXPECT_EQ(PictureFactsOf(0).height, 2);
  EXPECT_EQ(PicturePixel(0, 0, 0), 0xFF0000u);  // blue
  EXPECT_EQ(PicturePixel(0, 1, 0), 0xFFFFFFu);  // white
  EXPECT_EQ(PicturePixel(0, 0, 1), 0x0000FFu);  // red
  EXPECT_EQ(PicturePixel(0, 1, 1), 0x00FF00u);  // green
  EXPECT_EQ(PicturePixel(0, 2, 0), 0xFFFFFFFFu);
}

TEST_F(Pictures, TheEmbeddedPictureLoadsWithItsTopRowLast) {
  ASSERT_NE(LoadPictureFromMemory(0, embeddedPicture, embeddedPictureSize), 0u);
  EXPECT_EQ(PictureFactsOf(0).width, 140);
  EXPECT_EQ(PictureFactsOf(0).height, 263);
  EXPECT_GE(PictureFactsOf(0).depth, 24);
  // Row 262 of the file (the last stored) is the top row; pixels are blue, green, red.
  for (const std::int32_t x : {0, 70, 139}) {
    const unsigned char* stored = embeddedPicture + 54 + 262 * 420 + x * 3;
    const Color expected = static_cast<Color>(stored[2]) | (static_cast<Color>(stored[1]) << 8) |
                           (static_cast<Color>(stored[0]) << 16);
    EXPECT_EQ(PicturePixel(0, x, 0), expected) << x;
  }
}

TEST_F(Pictures, LoadingNumberTwelveGrowsTheTableToTwentyTwo) {
  const std::vector<unsigned char> file = TinyBitmap();
  EXPECT_EQ(PictureSlotCount(), 10);
  EXPECT_NE(LoadPictureFromMemory(12, file.data(), file.size()), 0u);
  EXPECT_EQ(PictureSlotCount(), 22);
  EXPECT_EQ(PictureHandle(21), 0u);
  EXPECT_EQ(PictureHandle(22), 0u);
}

TEST_F(Pictures, UnrecognisedDataLeavesTheSlotAsItWas) {
  const std::vector<unsigned char> file = TinyBitmap();
  const PlatformHandle picture = LoadPictureFromMemory(3, file.data(), file.size());
  const unsigned char gif[] = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0};
  EXPECT_EQ(LoadPictureFromMemory(3, gif, sizeof gif), 0u);
  EXPECT_EQ(LoadPictureFromMemory(3, nullptr, 100), 0u);
  EXPECT_EQ(PictureHandle(3), picture);
  EXPECT_EQ(PicturePixel(3, 0, 0), 0xFF0000u);
}

TEST_F(Pictures, ABitmapWithoutItsHeaderEmptiesTheSlot) {
  const std::vector<unsigned char> file = TinyBitmap();
  LoadPictureFromMemory(3, file.data(), file.size());
  EXPECT_EQ(LoadPictureFromMemory(3, file.data(), 20), 0u);
  EXPECT_EQ(PictureHandle(3), 0u);
}

TEST_F(Pictures, ABitmapWithAHugeSizeIsRefused) {
  std::vector<unsigned char> file = TinyBitmap();
  file[18] = 0xFF;
  file[19] = 0xFF;
  file[20] = 0xFF;
  file[21] = 0x7F;
  EXPECT_EQ(LoadPictureFromMemory(4, file.data(), file.size()), 0u);
}

TEST_F(Pictures, BrokenPixelsLeaveABlackPictureOfTheStatedSize) {
  std::vector<unsigned char> file = TinyBitmap();
  file[28] = 7;  // bits per pixel no reader knows
  ASSERT_NE(LoadPictureFromMemory(5, file.data(), file.size()), 0u);
  EXPECT_EQ(PictureFactsOf(5).width, 2);
  EXPECT_EQ(PicturePixel(5, 1, 1), 0x000000u);
}

TEST_F(Pictures, LoadingANumberAgainFreesTheEarlierPicture) {
  const std::vector<unsigned char> file = TinyBitmap();
  const PlatformHandle first = LoadPictureFromMemory(0, file.data(), file.size());
  const PlatformHandle second = LoadPictureFromMemory(0, file.data(), file.size());
  EXPECT_NE(first, second);
  EXPECT_EQ(PictureHandle(0), second);
}

TEST_F(Pictures, AnIconDirectoryGivesItsFirstImage) {
  QImage image(3, 5, QImage::Format_ARGB32);
  image.fill(QColor(10, 20, 30));
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  ASSERT_TRUE(image.save(&buffer, "ICO"));
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
  ASSERT_NE(LoadPictureFromMemory(6, data, static_cast<std::size_t>(bytes.size())), 0u);
  EXPECT_EQ(PictureFactsOf(6).width, 3);
  EXPECT_EQ(PictureFactsOf(6).height, 5);
  EXPECT_EQ(PicturePixel(6, 2, 4), 0x1E140Au);
  // An entry that points past the data is no icon.
  std::vector<unsigned char> broken(data, data + bytes.size());
  broken[6 + 12] = 0xFF;
  broken[6 + 13] = 0xFF;
  EXPECT_EQ(LoadPictureFromMemory(6, broken.data(), broken.size()), 0u);
  EXPECT_NE(PictureHandle(6), 0u);
}

class PictureGadgets : public LayerTest {
 protected:
  void SetUp() override {
    LayerTest::SetUp();
    OpenActiveWindow();
  }
};

TEST_F(PictureGadgets, ShowThePictureFromTheTopLeftInsideASunkenEdge) {
  ASSERT_NE(LoadPictureFromMemory(0, embeddedPicture, embeddedPictureSize), 0u);
  ASSERT_NE(CreatePictureGadget(0, 15, 80, 140, 263, PictureHandle(0), WS_EX_CLIENTEDGE), 0u);
  auto* gadget = static_cast<QFrame*>(GadgetControlWidget(0));
  EXPECT_EQ(gadget->geometry(), QRect(15, 80, 140, 263));
  EXPECT_EQ(gadget->frameWidth(), 2);
  const QImage shown = gadget->grab().toImage();
  const Color topLeft = PicturePixel(0, 0, 0);
  const QColor expected(static_cast<int>(topLeft & 0xFF), static_cast<int>((topLeft >> 8) & 0xFF),
                        static_cast<int>((topLeft >> 16) & 0xFF));
  EXPECT_EQ(shown.pixelColor(2, 2), expected);
}

// Black and white columns on a screen scaled by 1.5 blend into greys where they fall across
// the screen's pixels; the nearest pixel would give jagged columns of uneven widths.
TEST_F(PictureGadgets, AtAFractionalScaleBlendNeighbouringPixels) {
  QImage stripes(20, 20, QImage::Format_RGB32);
  for (int x = 0; x < 20; ++x) {
    for (int y = 0; y < 20; ++y) stripes.setPixel(x, y, x % 2 == 0 ? 0xFF000000u : 0xFFFFFFFFu);
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  ASSERT_TRUE(stripes.save(&buffer, "BMP"));
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
  ASSERT_NE(LoadPictureFromMemory(0, data, static_cast<std::size_t>(bytes.size())), 0u);
  ASSERT_NE(CreatePictureGadget(0, 0, 0, 20, 20, PictureHandle(0), 0), 0u);
  QImage screen(30, 30, QImage::Format_RGB32);
  screen.setDevicePixelRatio(1.5);
  GadgetControlWidget(0)->render(&screen);
  int greys = 0;
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 30; ++x) greys += std::abs(qGray(screen.pixel(x, y)) - 128) < 108;
  }
  EXPECT_GT(greys, 30 * 30 / 4);
}

TEST_F(PictureGadgets, WithoutAPictureShowNothingButTheirFill) {
  ASSERT_NE(CreatePictureGadget(0, 0, 0, 40, 30, 0, 0), 0u);
  const QImage shown = GadgetControlWidget(0)->grab().toImage();
  const QColor first = shown.pixelColor(0, 0);
  for (int y = 0; y < 30; y += 7) {
    for (int x = 0; x < 40; x += 7) EXPECT_EQ(shown.pixelColor(x, y), first);
  }
}

}  // namespace
}  // namespace quentara::testing
