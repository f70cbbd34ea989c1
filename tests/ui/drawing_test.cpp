// Colours: a label paints itself in the colours its window's hook answers, filling its
// whole rectangle; without an answer it takes the system's; a window paints its
// background brush.

#include "ui/drawing.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>

#include "tests/ui/layer_fixture.h"
#include "ui/fonts_pictures.h"
#include "ui/gadgets.h"
#include "ui/qt/drawing_context.h"

namespace quentara::testing {
namespace {

PlatformHandle labelBrush = 0;
std::uintptr_t keptContext = 0;

// Colours gadget 1 red on pale yellow, and leaves everything else.
std::int32_t ColouringHook(PlatformHandle, std::uint32_t message, std::uintptr_t wParam,
                           std::intptr_t lParam) {
  if (message != WM_CTLCOLORSTATIC || static_cast<PlatformHandle>(lParam) != GadgetHandle(1)) {
    return HookDefault;
  }
  keptContext = wParam;
  SetContextTextColor(wParam, 0x0000FF);
  SetContextBackMode(wParam, TRANSPARENT);
  SetContextBackColor(wParam, 0xB7FDFF);
  return static_cast<std::int32_t>(labelBrush);
}

QColor Rgb(Color color) {
  return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                static_cast<int>((color >> 16) & 0xFF));
}

bool HasPixelNear(const QImage& image, const QColor& wanted, int tolerance) {
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QColor pixel = image.pixelColor(x, y);
      if (std::abs(pixel.red() - wanted.red()) <= tolerance &&
          std::abs(pixel.green() - wanted.green()) <= tolerance &&
          std::abs(pixel.blue() - wanted.blue()) <= tolerance) {
        return true;
      }
    }
  }
  return false;
}

class Colours : public LayerTest {
 protected:
  void SetUp() override {
    LayerTest::SetUp();
    window_ = OpenActiveWindow();
    CreateTextGadget(1, 20, 20, 200, 40, "Vornicat", SS_CENTER);
    ApplyGadgetFont(1, CreateFontByName(1, "Arial", 20, FontBold));
    CreateTextGadget(2, 20, 80, 200, 40, "Amount:", SS_RIGHT);
    ApplyGadgetFont(2, CreateFontByName(2, "Arial", 20, FontBold));
    labelBrush = MakeSolidBrush(0xB7FDFF);
  }

  static QImage Picture(std::int32_t gadget) {
    return GadgetControlWidget(gadget)->grab().toImage();
  }

  QWidget* window_ = nullptr;
};

TEST_F(Colours, AnAnsweredBrushFillsTheWholeLabelAndTheTextTakesItsColour) {
  SetWindowHook(ColouringHook);
  const QImage image = Picture(1);
  const QColor paleYellow(255, 253, 183);
  for (const QPoint corner : {QPoint(0, 0), QPoint(199, 0), QPoint(0, 39), QPoint(199, 39)}) {
    EXPECT_EQ(image.pixelColor(corner), paleYellow) << corner.x() << "," << corner.y();
  }
  EXPECT_TRUE(HasPixelNear(image, QColor(255, 0, 0), 40));
}

TEST_F(Colours, WithoutAnAnswerALabelHasTheSystemColours) {
  SetWindowHook(ColouringHook);
  const QImage image = Picture(2);
  const QColor face = Rgb(ButtonFaceColor());
  EXPECT_EQ(image.pixelColor(0, 0), face);
  EXPECT_EQ(image.pixelColor(199, 39), face);
  EXPECT_FALSE(HasPixelNear(image, QColor(255, 0, 0), 40));
  EXPECT_TRUE(HasPixelNear(image, QColor(0, 0, 0), 40));
}

TEST_F(Colours, AContextNamesNothingOnceThePaintIsOver) {
  SetWindowHook(ColouringHook);
  Picture(1);
  ASSERT_NE(keptContext, 0u);
  EXPECT_EQ(FindDrawingContext(keptContext), nullptr);
  // Writing through a stale context is harmless: the next paint is as the hook says.
  SetContextTextColor(keptContext, 0x123456);
  SetContextBackMode(keptContext, OPAQUE);
  SetContextBackColor(keptContext, 0x654321);
  const QImage image = Picture(1);
  EXPECT_EQ(image.pixelColor(0, 0), QColor(255, 253, 183));
  EXPECT_TRUE(HasPixelNear(image, QColor(255, 0, 0), 40));
}

TEST_F(Colours, ADeletedBrushLeavesTheLabelUnfilled) {
  SetWindowHook(ColouringHook);
  DeleteBrush(labelBrush);
  const QImage image = Picture(1);
  EXPECT_NE(image.pixelColor(0, 0), QColor(255, 253, 183));
}

TEST_F(Colours, AWindowPaintsItsBackgroundBrush) {
  const QImage before = window_->grab().toImage();
  EXPECT_EQ(before.pixelColor(290, 190), Rgb(ButtonFaceColor()));
  SetWindowBackground(WindowHandle(0), MakeSolidBrush(0x00F2E6E6));
  const QImage after = window_->grab().toImage();
  EXPECT_EQ(after.pixelColor(290, 190), QColor(230, 230, 242));
}

TEST_F(Colours, AFrameFillsNothingButLeavesTheWindowsColour) {
  SetWindowBackground(WindowHandle(0), MakeSolidBrush(0x00F2E6E6));
  CreateFrameGadget(5, 10, 130, 280, 60, "");
  const QImage image = window_->grab().toImage();
  EXPECT_EQ(image.pixelColor(150, 160), QColor(230, 230, 242));
  EXPECT_NE(image.pixelColor(10, 130), QColor(230, 230, 242));  // its etched edge
}

TEST_F(Colours, AReadOnlyFieldAsksAsAStaticAndAnEditableOneAsAnEdit) {
  CreateStringGadget(19, 20, 130, 100, 40, "notice", 0x807);
  CreateStringGadget(13, 130, 130, 100, 20, "5000", ES_RIGHT);
  const QImage readOnly = Picture(19);
  const QImage editable = Picture(13);
  EXPECT_EQ(readOnly.pixelColor(10, 30), Rgb(ButtonFaceColor()));
  EXPECT_EQ(editable.pixelColor(10, 10), Rgb(0xFFFFFF));
}

}  // namespace
}  // namespace quentara::testing
