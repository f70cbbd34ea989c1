#include "text/single_precision.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace quentara {
namespace {

constexpr float inf = std::numeric_limits<float>::infinity();

TEST(Power, RoundsTheDoublePowerOnce) {
  // 360 products of single-precision steps would drift to 0x1.8171b0p+2 instead.
  EXPECT_EQ(Power(1.005f, 360.0f), 0x1.8171b4p+2f);
  EXPECT_EQ(Power(2.0f, 10.0f), 1024.0f);
  EXPECT_EQ(Power(10.0f, 39.0f), inf);
  EXPECT_EQ(Power(0.0f, -1.0f), inf);
  EXPECT_TRUE(std::isnan(Power(-8.0f, 1.0f / 3.0f)));
}

}  // namespace
}  // namespace quentara
