#pragma once
// Unsigned integers of any size, for the one question of a loan that 128 bits cannot settle:
// on which side of a half cent the exact payment falls, which takes (1 + r)^n in full. Only
// what that needs: products, powers and comparison. Used only where the fast estimate of
// the payment is too close to a half cent to trust, so plainness wins over speed.

#include <compare>
#include <cstdint>
#include <vector>

namespace quentara::loan {

__extension__ using Uint128 = unsigned __int128;
__extension__ using Int128 = __int128;

class WideUnsigned {
 public:
  explicit WideUnsigned(Uint128 value);
  /// base^exponent.
  static WideUnsigned Power(std::uint64_t base, std::uint32_t exponent);

  WideUnsigned operator*(const WideUnsigned& other) const;
  friend std::strong_ordering operator<=>(const WideUnsigned& a, const WideUnsigned& b);
  friend bool operator==(const WideUnsigned& a, const WideUnsigned& b) = default;

 private:
  WideUnsigned() = default;
  void Trim();

  std::vector<std::uint64_t> limbs_;  // least significant first, no leading zero limbs
};

}  // namespace quentara::loan
