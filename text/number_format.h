#pragma once
// Numbers to text and back, and the remainder that the due dates and the report need. This layer
// turns typed text into numbers and back; it never decides what is acceptable input: the caller
// does. No result depends on the user's locale or environment.
//
// Numbers are single precision; each operation works in double precision inside and rounds
// its result to single precision once, when it returns (text/single_precision.h).

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quentara {

/// Writes `value` widened to double in fixed notation with `decimals` decimals (-1: six)
/// at the area's end; returns the start (result rule of the text area).
/// FormatFixed(-0.001f, 2) == "-0.00"; FormatFixed(425.74933f, 2) == "425.75".
/// Infinities give "inf" and "-inf", not-a-number gives "nan" (its sign is dropped).
/// A value exactly halfway between two results rounds to the even last digit:
/// FormatFixed(0.125f, 2) == "0.12". Decimals below -1 count as -1, above 999999 as 999999;
/// a result longer than the room left in the area is cut where the area ends.
char* FormatFixed(float value, std::int32_t decimals);
/// FormatInteger(-2147483648) == "-2147483648", written at the area's end.
char* FormatInteger(std::int32_t value);
/// Leading spaces (code 32 only), one optional sign, then decimal digits, wrapping modulo
/// 2^32; everything else ends the number. ParseInteger("  42abc") == 42; nullptr gives 0.
std::int32_t ParseInteger(const char* text);
/// Leading white space, an optional sign, digits with at most one '.', an optional exponent;
/// the longest such prefix, else 0. ParseFloat("  1.5e2x") == 150.0f; nullptr gives 0.
float ParseFloat(const char* text);
/// The length of the number that begins the text: an optional sign, digits with at most one
/// '.' and at least one digit, then an optional exponent ("e" or "E", an optional sign and at
/// least one digit); 0 when the text does not begin with one. Nothing is skipped first.
/// NumberLength("1.5e2x") == 5; NumberLength("1e") == 1; NumberLength(" 5") == 0.
std::size_t NumberLength(std::string_view text);
/// Remainder of the division truncated toward zero: Modulo(-7, 4) == -3.
/// A divisor of 0 and the pair (-2147483648, -1) give 0.
std::int32_t Modulo(std::int32_t dividend, std::int32_t divisor);

}  // namespace quentara
