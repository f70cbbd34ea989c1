// Unsigned integers of any size, for the few payments whose cent only exact arithmetic can
// decide: multiplying, raising to a power and comparing, nothing more.

#include "wide_unsigned.h"

namespace quentara::loan {

WideUnsigned::WideUnsigned(Uint128 value) {
  while (value != 0) {
    limbs_.push_back(static_cast<std::uint64_t>(value));
    value >>= 64;
  }
}

void WideUnsigned::Trim() {
  while (!limbs_.empty() && limbs_.back() == 0) limbs_.pop_back();
}

WideUnsigned WideUnsigned::operator*(const WideUnsigned& other) const {
  WideUnsigned product;
  if (limbs_.empty() || other.limbs_.empty()) return product;
  product.limbs_.assign(limbs_.size() + other.limbs_.size(), 0);
  for (std::size_t i = 0; i < limbs_.size(); ++i) {
    // limb * limb + limb + carry < 2^128, so the sum never overflows.
    std::uint64_t carry = 0;
    for (std::size_t j = 0; j < other.limbs_.size(); ++j) {
      const Uint128 sum =
          static_cast<Uint128>(limbs_[i]) * other.limbs_[j] + product.limbs_[i + j] + carry;
      product.limbs_[i + j] = static_cast<std::uint64_t>(sum);
      carry = static_cast<std::uint64_t>(sum >> 64);
    }
    product.limbs_[i + other.limbs_.size()] = carry;
  }
  product.Trim();
  return product;
}

WideUnsigned WideUnsigned::Power(std::uint64_t base, std::uint32_t exponent) {
  WideUnsigned result(1);
  WideUnsigned square(base);
  while (exponent != 0) {
    if ((exponent & 1u) != 0) result = result * square;
    exponent >>= 1;
    if (exponent != 0) square = square * square;
  }
  return result;
}

std::strong_ordering operator<=>(const WideUnsigned& a, const WideUnsigned& b) {
  if (a.limbs_.size() != b.limbs_.size()) return a.limbs_.size() <=> b.limbs_.size();
  for (std::size_t i = a.limbs_.size(); i-- > 0;) {
    if (a.limbs_[i] != b.limbs_[i]) return a.limbs_[i] <=> b.limbs_[i];
  }
  return std::strong_ordering::equal;
}

}  // namespace quentara::loan
