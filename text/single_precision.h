#pragma once
// Storing a double-precision result as one of the calculator's single-precision values, and
// the power the payment formula needs, rounded the same way. Header-only with no other
// dependency, so that the number formatting and the schedule arithmetic (which the loan
// library carries without the rest of this layer) round in one place.

#include <cmath>
#include <limits>

namespace quentara {

/// A double-precision result stored in single precision: to nearest, ties to even, and an
/// infinity of the same sign at or beyond half a unit above the largest float.
/// RoundToSingle(0.1) == 0.1f. Never undefined, whatever the value.
inline float RoundToSingle(double value) {
  constexpr double largest = std::numeric_limits<float>::max();
  // 2^128 - 2^103: halfway between the largest float and 2^128; the tie goes to the even
  // 2^128, an infinity, as the hardware's rounding would give.
  constexpr double overflowEdge = 0x1.ffffffp127;
  if (value >= overflowEdge) return std::numeric_limits<float>::infinity();
  if (value <= -overflowEdge) return -std::numeric_limits<float>::infinity();
  // Between the largest float and the edge the value rounds down to the largest float; a
  // cast would be undefined there.
  if (value > largest) return std::numeric_limits<float>::max();
  if (value < -largest) return -std::numeric_limits<float>::max();
  return static_cast<float>(value);  // a not-a-number stays one
}

/// pow of the two values widened to double, rounded once to single precision.
/// Power(2.0f, 10.0f) == 1024.0f.
inline float Power(float base, float exponent) {
  return RoundToSingle(std::pow(static_cast<double>(base), static_cast<double>(exponent)));
}

}  // namespace quentara
