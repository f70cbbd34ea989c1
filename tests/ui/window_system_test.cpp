// The platform the program asks Qt for.

#include "ui/qt/window_system.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/ui/ui_test_support.h"

namespace quentara::testing {
namespace {

struct PlatformCase {
  const char* name;
  const char* waylandDisplay;
  const char* display;
  const char* chosen;  // QT_QPA_PLATFORM
  std::vector<std::string> arguments;
  const char* expected;  // nullptr: Qt's own choice
};

inline void PrintTo(const PlatformCase& row, std::ostream* out) {
  *out << row.name;
}

class PreferredPlatformRows : public ::testing::TestWithParam<PlatformCase> {};

TEST_P(PreferredPlatformRows, PutX11FirstOnAWaylandDesktopWithXWayland) {
  const PlatformCase& row = GetParam();
  auto value = [](const char* text) {
    return text != nullptr ? std::optional<std::string>(text) : std::nullopt;
  };
  EnvironmentGuard wayland("WAYLAND_DISPLAY", value(row.waylandDisplay));
  EnvironmentGuard x11("DISPLAY", value(row.display));
  EnvironmentGuard chosen("QT_QPA_PLATFORM", value(row.chosen));
  std::vector<std::string> arguments = row.arguments;
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  const char* platform = PreferredPlatform(static_cast<int>(arguments.size()), argv.data());
  if (row.expected == nullptr) {
    EXPECT_EQ(platform, nullptr);
  } else {
    ASSERT_NE(platform, nullptr);
    EXPECT_STREQ(platform, row.expected);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PreferredPlatformRows,
    ::testing::Values(
        PlatformCase{
            "WaylandWithXWayland", "wayland-0", ":0", nullptr, {"quentara"}, "xcb;wayland"},
        PlatformCase{"WaylandAlone", "wayland-0", nullptr, nullptr, {"quentara"}, nullptr},
        PlatformCase{"X11Alone", nullptr, ":0", nullptr, {"quentara"}, nullptr},
        PlatformCase{"EmptyDisplay", "wayland-0", "", nullptr, {"quentara"}, nullptr},
        PlatformCase{"ChosenInTheEnvironment", "wayland-0", ":0", "wayland", {"quentara"}, nullptr},
        PlatformCase{"ChosenOnTheCommandLine",
                     "wayland-0",
                     ":0",
                     nullptr,
                     {"quentara", "-platform", "wayland"},
                     nullptr},
        PlatformCase{"ChosenWithTwoDashes",
                     "wayland-0",
                     ":0",
                     nullptr,
                     {"quentara", "--platform", "wayland"},
                     nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quentara::testing
