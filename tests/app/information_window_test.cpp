// The information window replaces what an earlier opening made instead of piling it up.
#include "app/information_window.h"

#include <gtest/gtest.h>

#include "app/gadget_colors.h"
#include "tests/support/layer_start.h"
#include "ui/qt/handle_registry.h"

namespace quentara {
namespace {

TEST(InformationWindow, OpeningItAgainLeavesNoBrushBehind) {
  testing::StartOffscreenLayer();
  CreateGadgetColorList();
  ASSERT_NE(OpenInformationWindow(), 0u);
  const std::size_t brushes = Handles().brushes.Count();
  OpenInformationWindow();
  OpenInformationWindow();
  EXPECT_EQ(Handles().brushes.Count(), brushes);
}

}  // namespace
}  // namespace quentara
