// Numbers to text and back. Everything here is independent of the C library's locale: the
// user interface sets the locale from the environment, and a German desktop must still read
// "5000.00" as five thousand and write the payment with a point. So the decimal point is
// never left to printf or strtod: formatting goes through std::to_chars and reading scans
// the number itself before std::from_chars converts it.

#include "text/number_format.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <system_error>

#include "text/single_precision.h"
#include "text/text_area.h"

namespace quentara {

namespace {

// A double's exact binary value has at most 1074 digits after the point (the smallest
// subnormal is 2^-1074); every decimal beyond that is a zero, so we let std::to_chars
// produce at most that many and add the rest ourselves.
constexpr std::int32_t exactDecimals = 1074;
// The largest count of decimals FormatFixed honours (six digits); a larger count is taken
// as this one. The payment field and the report ask for two.
constexpr std::int32_t maxDecimals = 999999;
// Sign, up to 309 integer digits of a double, the point and the exact decimals.
constexpr std::size_t fixedBufferSize = 1 + 309 + 1 + exactDecimals + 16;

// Writes `count` zeros at the area's end, as many as fit, and leaves the end on the
// terminator after them.
void AppendZeros(std::size_t count) {
  char* end = TextAreaEnd();
  std::size_t fits = TextAreaRoom(end) - 1;
  count = std::min(count, fits);
  std::memset(end, '0', count);
  end[count] = '\0';
  SetTextAreaEnd(end + count);
}

bool IsFloatSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Tells, for a number that std::from_chars found out of range, whether it is too large
// (true) or too small (false). `digits` runs from the first mantissa digit or point to the
// end of the exponent. Only the order of magnitude matters here: out-of-range numbers lie
// beyond 1e308 or below 1e-323, far from the boundary between the two cases.
bool IsTooLarge(const char* digits, const char* end) {
  // Decimal exponent of the first non-zero digit, counted as if the mantissa were 0.d...
  std::int64_t magnitude = 0;
  bool seenPoint = false;
  bool seenNonZero = false;
  const char* p = digits;
  for (; p < end && (IsDigit(*p) || *p == '.'); ++p) {
    if (*p == '.') {
      seenPoint = true;
    } else if (!seenNonZero) {
      if (*p != '0') {
        seenNonZero = true;
        if (!seenPoint) magnitude = 1;
      } else if (seenPoint) {
        --magnitude;
      }
    } else if (!seenPoint) {
      ++magnitude;
    }
  }
  if (!seenNonZero) return false;
  if (p < end && (*p == 'e' || *p == 'E')) {
    ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    // Saturate: a billion is far past either limit and keeps the sum from wrapping.
    std::int64_t exponent = 0;
    for (; p < end && IsDigit(*p); ++p) {
      exponent = std::min<std::int64_t>(exponent * 10 + (*p - '0'), 1'000'000'000);
    }
    magnitude += negative ? -exponent : exponent;
  }
  return magnitude > 0;
}

// Writes the value with 0 to 4 decimals from its exact binary value, in integers: a float is
// M x 2^E with M below 2^24, so M x 10^decimals fits 38 bits and the rounding at the last
// place (an exact tie to the even digit) needs only a shift and its remainder. Much quicker
// than the general conversion, which matters for a report of thousands of figures. The text
// is written backwards so that it ends just before `end`; returns its start, or nullptr for
// a value of 2^49 or more or another count of decimals.
char* FormatFixedQuickly(float value, std::int32_t decimals, char* end) {
  constexpr std::uint64_t powersOfTen[] = {1, 10, 100, 1000, 10000};
  if (decimals < 0 || decimals > 4) return nullptr;
  const std::uint32_t bits = std::bit_cast<std::uint32_t>(value);
  const std::uint32_t exponentField = (bits >> 23) & 0xFFu;
  const std::uint64_t mantissa =
      exponentField == 0 ? (bits & 0x7FFFFFu) : ((bits & 0x7FFFFFu) | 0x800000u);
  const std::int32_t exponent =
      exponentField == 0 ? -149 : static_cast<std::int32_t>(exponentField) - 150;
  if (exponent > 25) return nullptr;
  const std::uint64_t scaled = mantissa * powersOfTen[decimals];  // below 2^38
  std::uint64_t units = 0;                                        // of the last place
  if (exponent >= 0) {
    units = scaled << exponent;
  } else if (-exponent < 40) {
    const std::int32_t shift = -exponent;
    units = scaled >> shift;
    const std::uint64_t rest = scaled & ((std::uint64_t{1} << shift) - 1);
    const std::uint64_t half = std::uint64_t{1} << (shift - 1);
    if (rest > half || (rest == half && (units & 1) != 0)) ++units;
  }  // else: below 2^-40 of a unit, far less than half of one
  // Written from the last place leftwards: the decimals, the point, then the whole part
  // two digits at a time (at least one digit: 5 units of 0.01 are "0.05").
  static constexpr char digitPairs[] =
      "0001020304050607080910111213141516171819202122232425262728293031323334353637383940414243"
      "4445464748495051525354555657585960616263646566676869707172737475767778798081828384858687"
      "888990919293949596979899";
  std::uint64_t whole = units / powersOfTen[decimals];
  auto fraction = static_cast<std::uint32_t>(units % powersOfTen[decimals]);
  char* text = end;
  for (std::int32_t place = 0; place < decimals; ++place, fraction /= 10) {
    *--text = static_cast<char>('0' + fraction % 10);
  }
  if (decimals > 0) *--text = '.';
  for (; whole >= 100; whole /= 100) {
    text -= 2;
    text[0] = digitPairs[2 * (whole % 100)];
    text[1] = digitPairs[2 * (whole % 100) + 1];
  }
  if (whole >= 10) {
    text -= 2;
    text[0] = digitPairs[2 * whole];
    text[1] = digitPairs[2 * whole + 1];
  } else {
    *--text = static_cast<char>('0' + whole);
  }
  if (std::signbit(value)) *--text = '-';
  return text;
}

}  // namespace

std::size_t NumberLength(std::string_view text) {
  std::size_t at = 0;
  auto digitsFrom = [&text](std::size_t from) {
    while (from < text.size() && IsDigit(text[from])) ++from;
    return from;
  };
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
  const std::size_t mantissa = at;
  at = digitsFrom(at);
  std::size_t digits = at - mantissa;
  if (at < text.size() && text[at] == '.') {
    const std::size_t fraction = at + 1;
    at = digitsFrom(fraction);
    digits += at - fraction;
  }
  if (digits == 0) return 0;
  if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
    std::size_t exponent = at + 1;
    if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) ++exponent;
    const std::size_t exponentEnd = digitsFrom(exponent);
    if (exponentEnd > exponent) at = exponentEnd;
  }
  return at;
}

char* FormatFixed(float value, std::int32_t decimals) {
  char* start = TextAreaEnd();
  if (std::isnan(value)) return WriteTextAt(start, "nan", 3);
  if (std::isinf(value)) {
    return value < 0 ? WriteTextAt(start, "-inf", 4) : WriteTextAt(start, "inf", 3);
  }
  // -1 asks for the default of six decimals; any other count below 0 is taken the same
  // way, and counts above 999999 are cut to it.
  if (decimals < 0) decimals = 6;
  decimals = std::min(decimals, maxDecimals);

  char quick[48];
  char* quickEnd = quick + sizeof quick;
  if (const char* text = FormatFixedQuickly(value, decimals, quickEnd)) {
    return WriteTextAt(start, text, static_cast<std::size_t>(quickEnd - text));
  }
  char buffer[fixedBufferSize];
  std::int32_t exact = std::min(decimals, exactDecimals);
  // Widening to double is exact, so the digits are those of the float's binary value,
  // rounded once at the last requested place (an exact tie goes to the even digit, as the
  // C library's own fixed notation does).
  std::to_chars_result written = std::to_chars(
      buffer, buffer + sizeof buffer, static_cast<double>(value), std::chars_format::fixed, exact);
  WriteTextAt(start, buffer, static_cast<std::size_t>(written.ptr - buffer));
  if (decimals > exact) AppendZeros(static_cast<std::size_t>(decimals - exact));
  return start;
}

char* FormatInteger(std::int32_t value) {
  char buffer[16];
  std::to_chars_result written = std::to_chars(buffer, buffer + sizeof buffer, value);
  return WriteTextAt(TextAreaEnd(), buffer, static_cast<std::size_t>(written.ptr - buffer));
}

std::int32_t ParseInteger(const char* text) {
  if (text == nullptr) return 0;
  const char* p = text;
  while (*p == ' ') ++p;
  bool negative = false;
  if (*p == '-' || *p == '+') negative = *p++ == '-';
  // Unsigned arithmetic wraps modulo 2^32 by definition, which is exactly the reading the
  // calculator wants for an overlong digit run.
  std::uint32_t value = 0;
  for (; IsDigit(*p); ++p) value = value * 10u + static_cast<std::uint32_t>(*p - '0');
  if (negative) value = 0u - value;
  return static_cast<std::int32_t>(value);
}

float ParseFloat(const char* text) {
  if (text == nullptr) return 0.0f;
  const char* p = text;
  while (IsFloatSpace(*p)) ++p;
  // The longest number prefix; what follows it, an exponent without digits included, is not
  // part of the number.
  const char* end = p + NumberLength(p);
  if (end == p) return 0.0f;
  bool negative = false;
  if (*p == '-' || *p == '+') negative = *p++ == '-';

  double magnitude = 0.0;
  std::from_chars_result read = std::from_chars(p, end, magnitude, std::chars_format::general);
  if (read.ec == std::errc::result_out_of_range) {
    // Beyond a double in either direction is beyond a float too.
    magnitude = IsTooLarge(p, end) ? std::numeric_limits<double>::infinity() : 0.0;
  } else if (read.ec != std::errc()) {
    magnitude = 0.0;  // cannot happen for the prefix scanned above
  }
  return RoundToSingle(negative ? -magnitude : magnitude);
}

std::int32_t Modulo(std::int32_t dividend, std::int32_t divisor) {
  // The two cases the hardware division cannot do; the calculator never asks for them.
  if (divisor == 0) return 0;
  if (divisor == -1) return 0;  // also covers -2147483648 / -1, which would overflow
  return dividend % divisor;
}

}  // namespace quentara
