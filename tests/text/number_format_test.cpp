#include "text/number_format.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <string>

#include "text/text_area.h"

namespace quentara {
namespace {

constexpr float inf = std::numeric_limits<float>::infinity();
constexpr float nan = std::numeric_limits<float>::quiet_NaN();
constexpr std::int32_t int32Min = std::numeric_limits<std::int32_t>::min();

std::string Fixed(float value, std::int32_t decimals) {
  SetTextAreaEnd(TextAreaStart());
  std::string text = FormatFixed(value, decimals);
  SetTextAreaEnd(TextAreaStart());
  return text;
}

struct FixedRow {
  float value;
  std::int32_t decimals;
  const char* text;
};

constexpr FixedRow fixedRows[] = {
    {5000.0f, 2, "5000.00"},
    {0.1f, 2, "0.10"},
    {-0.001f, 2, "-0.00"},
    {-0.0f, 2, "-0.00"},
    {4.0f, 0, "4"},
    {100.1f, -1, "100.099998"},
    {100.1f, -7, "100.099998"},
    {0.005f, 2, "0.00"},
    {2.675f, 2, "2.67"},
    {123456.78f, 2, "123456.78"},
    {16777217.0f, 2, "16777216.00"},
    {425.74933f, 2, "425.75"},
    {0.125f, 2, "0.12"},
    {0.375f, 2, "0.38"},
    {0.1f, 30, "0.100000001490116119384765625000"},
    {3.4028235e38f, 0, "340282346638528859811704183484516925440"},
    {0.25f, 1, "0.2"},  // exact ties go to the even digit
    {0.75f, 1, "0.8"},
    {2.5f, 0, "2"},
    {-3.5f, 0, "-4"},
    {0.00005f, 4, "0.0000"},  // held as 0.0000499999987...
    {1e-45f, 2, "0.00"},      // the smallest subnormal
    {-1e-45f, 4, "-0.0000"},
    {562949953421312.0f, 2, "562949953421312.00"},    // 2^49
    {1125899906842624.0f, 2, "1125899906842624.00"},  // 2^50
    {-1073741824.0f, 3, "-1073741824.000"},
    {inf, 2, "inf"},
    {-inf, 2, "-inf"},
    {nan, 2, "nan"},
    {-nan, 2, "nan"},
};

TEST(FormatFixed, WritesTheFloatsExactDigitsRoundedAtTheLastPlace) {
  for (const FixedRow& row : fixedRows) {
    EXPECT_EQ(Fixed(row.value, row.decimals), row.text) << row.value << " " << row.decimals;
  }
}

// Every 99991st float, positive and negative, with 0 to 4 decimals: the digits are those the
// standard library's exact conversion of the widened value gives.
TEST(FormatFixed, AgreesWithTheExactConversionOfTheWidenedValue) {
  for (std::uint64_t bits = 0; bits <= 0xFFFFFFFFu; bits += 99991) {
    const float value = std::bit_cast<float>(static_cast<std::uint32_t>(bits));
    if (!std::isfinite(value)) continue;
    for (std::int32_t decimals = 0; decimals <= 4; ++decimals) {
      char expected[400];
      std::to_chars_result end =
          std::to_chars(expected, expected + sizeof expected, static_cast<double>(value),
                        std::chars_format::fixed, decimals);
      ASSERT_EQ(Fixed(value, decimals), std::string(expected, end.ptr)) << bits;
    }
  }
}

TEST(FormatFixed, DecimalsBeyondTheExactDigitsAreZeros) {
  std::string text = Fixed(0.5f, 3000);
  EXPECT_EQ(text, "0.5" + std::string(2999, '0'));
}

TEST(FormatFixed, HugeDecimalCountIsCutAtTheAreaEnd) {
  SetTextAreaEnd(TextAreaStart());
  char* text = FormatFixed(1.0f, 999999);
  EXPECT_EQ(text, TextAreaStart());
  EXPECT_EQ(TextAreaEnd(), TextAreaLimit() - 1);
  EXPECT_EQ(std::string(text), "1." + std::string(textAreaSize - 3, '0'));
}

TEST(FormatFixed, ContinuesTheExpressionAtTheAreaEnd) {
  SetTextAreaEnd(TextAreaStart());
  char* expression = AppendText("Payment: ");
  FormatFixed(425.74933f, 2);
  EXPECT_STREQ(expression, "Payment: 425.75");
  SetTextAreaEnd(TextAreaStart());
}

TEST(FormatInteger, WritesPlainDecimal) {
  for (auto [value, text] : {std::pair<std::int32_t, const char*>{0, "0"},
                             {int32Min, "-2147483648"},
                             {2147483647, "2147483647"},
                             {-7, "-7"}}) {
    SetTextAreaEnd(TextAreaStart());
    EXPECT_STREQ(FormatInteger(value), text);
  }
}

struct IntegerRow {
  const char* text;
  std::int32_t value;
};

constexpr IntegerRow integerRows[] = {
    {"  42abc", 42},
    {"-7", -7},
    {"+5", 5},
    {"- 5", 0},
    {"--5", 0},
    {"3.9", 3},
    {"", 0},
    {nullptr, 0},
    {"\t5", 0},
    {"4294967297", 1},
    {"2147483648", int32Min},
    {"-2147483648", int32Min},
    {"-4294967297", -1},
    {"99999999999999999999", 1661992959},
    {"  -0012x", -12},
};

TEST(ParseInteger, ReadsSpacesSignAndDigitsWrapping) {
  for (const IntegerRow& row : integerRows) {
    EXPECT_EQ(ParseInteger(row.text), row.value) << (row.text ? row.text : "absent");
  }
}

struct FloatRow {
  const char* text;
  float value;
};

constexpr FloatRow floatRows[] = {
    {"5000.00", 5000.0f},
    {"5,000.00", 5.0f},
    {"  1.5e2x", 150.0f},
    {"abc", 0.0f},
    {"", 0.0f},
    {" \t\n\v\f\r7", 7.0f},
    {"0.1", 0x1.99999ap-4f},
    {".5", 0.5f},
    {"5.", 5.0f},
    {".", 0.0f},
    {"-.", 0.0f},
    {"1e", 1.0f},
    {"1e+", 1.0f},
    {"2E-1", 0.2f},
    {"1.2.3", 1.2f},
    {"+3", 3.0f},
    {"0x10", 0.0f},
    {"inf", 0.0f},
    {"nan", 0.0f},
    {"1e39", inf},
    {"-1e39", -inf},
    {"3.40282356e38", 3.4028235e38f},
    {"3.4028236e38", inf},
    {"1e-40", 0x1.16c2p-133f},
    {"0.000001e330", inf},
    {"-0.000001e330", -inf},
    {"1000e-327", 0.0f},
    {"1e99999999999999999999", inf},
    {"0e99999999999999999999", 0.0f},
};

TEST(ParseFloat, ReadsTheLongestNumberPrefixRoundedToSingle) {
  for (const FloatRow& row : floatRows) {
    EXPECT_EQ(ParseFloat(row.text), row.value) << row.text;
  }
}

TEST(ParseFloat, TooSmallKeepsItsSign) {
  EXPECT_TRUE(std::signbit(ParseFloat("-1e-50")));
  EXPECT_TRUE(std::signbit(ParseFloat("-1e-400")));
  EXPECT_FALSE(std::signbit(ParseFloat("1e-400")));
}

TEST(Modulo, TruncatesTowardZero) {
  struct {
    std::int32_t dividend, divisor, remainder;
  } rows[] = {{2004, 4, 0},      {-7, 4, -3},      {7, -4, 3},
              {12, 12, 0},       {2004, 100, 4},   {5, 0, 0},
              {int32Min, -1, 0}, {int32Min, 4, 0}, {-2147483647, 10, -7}};
  for (auto row : rows) {
    EXPECT_EQ(Modulo(row.dividend, row.divisor), row.remainder)
        << row.dividend << " " << row.divisor;
  }
}

// Puts the C library into a locale whose decimal separator is a comma, as the user
// interface does on a German desktop, and restores everything afterwards. When no such
// locale is installed it compiles one into a temporary folder.
class CommaLocale {
 public:
  CommaLocale() {
    if (const char* path = std::getenv("LOCPATH")) oldPath_ = path, hadPath_ = true;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8"}) {
      if (Enter(name)) return;
    }
    folder_ =
        std::filesystem::temp_directory_path() / ("quentara-locale-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder_);
    std::string command =
        "localedef -i de_DE -f UTF-8 " + (folder_ / "de_DE.UTF-8").string() + " >/dev/null 2>&1";
    if (std::system(command.c_str()) == 0) {
      setenv("LOCPATH", folder_.c_str(), 1);
      Enter("de_DE.UTF-8");
    }
  }
  ~CommaLocale() {
    std::setlocale(LC_ALL, "C");
    if (hadPath_) {
      setenv("LOCPATH", oldPath_.c_str(), 1);
    } else {
      unsetenv("LOCPATH");
    }
    if (!folder_.empty()) std::filesystem::remove_all(folder_);
  }
  bool Active() const { return active_; }

 private:
  bool Enter(const char* name) {
    active_ = std::setlocale(LC_ALL, name) != nullptr && *std::localeconv()->decimal_point == ',';
    return active_;
  }
  std::filesystem::path folder_;
  std::string oldPath_;
  bool hadPath_ = false;
  bool active_ = false;
};

TEST(NumberFormat, CommaLocaleChangesNoDigit) {
  CommaLocale locale;
  if (!locale.Active()) {
    // CI installs the locale sources, so there the check must really run.
    const char* ci = std::getenv("CI");
    if (ci != nullptr && std::string(ci) == "true") FAIL() << "no locale with a decimal comma";
    GTEST_SKIP() << "no locale with a decimal comma available";
  }
  char check[16];
  std::snprintf(check, sizeof check, "%.2f", 1.5);
  ASSERT_STREQ(check, "1,50");
  EXPECT_EQ(Fixed(1234.5f, 2), "1234.50");
  EXPECT_EQ(Fixed(100.1f, -1), "100.099998");
  EXPECT_EQ(ParseFloat("1234.5"), 1234.5f);
  EXPECT_EQ(ParseFloat("1,5"), 1.0f);
}

}  // namespace
}  // namespace quentara
