// Typed amounts, rates and lengths of a loan read as the exact decimals they are: nothing
// passes through binary floating point, so "6.375" is 6375 thousandths and "0.125" years is
// exactly an eighth. Any number of digits is read; only the value decides what is allowed.

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "quentara/loan.h"

namespace quentara::loan {

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// A number of the grammar [sign] digits [. digits] [e|E [sign] digits], taken apart. Its
// digits are addressed by the power of ten they stand for, so the exponent and the point
// never have to be applied to a copy of the text.
class DecimalText {
 public:
  // False when the text is not a number of the grammar.
  bool Read(std::string_view text);

  // The digit standing for 10^power (0 outside the digits written).
  int Digit(std::int64_t power) const {
    const std::int64_t index = firstPower_ - power;
    if (index < 0 || index >= Length()) return 0;
    const auto at = static_cast<std::size_t>(index);
    return (at < whole_.size() ? whole_[at] : fraction_[at - whole_.size()]) - '0';
  }

  // value x 10^scale, which must be whole and below 10^19 (low >= -scale, top + scale <= 18).
  std::uint64_t Scaled(std::int64_t scale) const {
    std::uint64_t value = 0;
    for (std::int64_t power = top; power >= -scale; --power) {
      value = value * 10 + static_cast<std::uint64_t>(Digit(power));
    }
    return value;
  }

  bool negative = false;
  bool zero = true;  // every digit 0
  // The powers of ten of the first and the last digit that is not 0 (when not zero).
  std::int64_t top = 0, low = 0;

 private:
  std::int64_t Length() const {
    return static_cast<std::int64_t>(whole_.size() + fraction_.size());
  }

  std::string_view whole_, fraction_;  // the digits before and after the point
  std::int64_t firstPower_ = 0;        // the power of ten of the first digit written
};

bool DecimalText::Read(std::string_view text) {
  std::size_t at = 0;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
  const std::size_t wholeStart = at;
  while (at < text.size() && IsDigit(text[at])) ++at;
  whole_ = text.substr(wholeStart, at - wholeStart);
  if (at < text.size() && text[at] == '.') {
    const std::size_t fractionStart = ++at;
    while (at < text.size() && IsDigit(text[at])) ++at;
    fraction_ = text.substr(fractionStart, at - fractionStart);
  }
  if (whole_.empty() && fraction_.empty()) return false;
  // An exponent beyond 10^15 says no more than one of 10^15 about any text that fits in
  // memory: far out of every range, or far below every digit that counts.
  constexpr std::int64_t exponentLimit = 1'000'000'000'000'000;
  std::int64_t exponent = 0;
  if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
    ++at;
    bool exponentNegative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
      exponentNegative = text[at++] == '-';
    }
    const std::size_t exponentStart = at;
    while (at < text.size() && IsDigit(text[at])) {
      exponent = std::min(exponent * 10 + (text[at] - '0'), exponentLimit);
      ++at;
    }
    if (at == exponentStart) return false;
    if (exponentNegative) exponent = -exponent;
  }
  if (at != text.size()) return false;

  firstPower_ = static_cast<std::int64_t>(whole_.size()) - 1 + exponent;
  for (std::int64_t index = 0; index < Length(); ++index) {
    if (Digit(firstPower_ - index) == 0) continue;
    if (zero) top = firstPower_ - index;
    low = firstPower_ - index;
    zero = false;
  }
  return true;
}

template <class Value>
Result<Value> Refused(LoanError error, LoanField field) {
  Result<Value> result;
  result.problem.error = error;
  result.problem.field = field;
  return result;
}

// Whole cents from minAmount (0.01) up to `most`.
Result<Cents> ParseMoney(std::string_view text, LoanField field, Cents most) {
  DecimalText number;
  if (!number.Read(text)) return Refused<Cents>(LoanError::NotANumber, field);
  if (number.zero) return Refused<Cents>(LoanError::OutOfRange, field);
  if (number.negative) return Refused<Cents>(LoanError::Negative, field);
  // Below 10^16 dollars, the cents stay below 10^18, far inside 64 bits.
  if (number.top >= 16) return Refused<Cents>(LoanError::OutOfRange, field);
  if (number.low < -2) return Refused<Cents>(LoanError::FractionOfCent, field);
  const auto cents = static_cast<Cents>(number.Scaled(2));
  if (cents > most) return Refused<Cents>(LoanError::OutOfRange, field);
  return {cents, {}};
}

}  // namespace

Result<Cents> ParseAmount(std::string_view text) {
  return ParseMoney(text, LoanField::Amount, maxAmount);
}

Result<Cents> ParsePayment(std::string_view text) {
  return ParseMoney(text, LoanField::Payment, maxPayment);
}

Result<Cents> ParseExtra(std::string_view text) {
  return ParseMoney(text, LoanField::Extra, maxPayment);
}

Result<Rate> ParseRate(std::string_view text) {
  DecimalText number;
  if (!number.Read(text)) return Refused<Rate>(LoanError::NotANumber, LoanField::Rate);
  if (number.zero) return {};
  if (number.negative) return Refused<Rate>(LoanError::Negative, LoanField::Rate);
  if (number.top > 3) return Refused<Rate>(LoanError::OutOfRange, LoanField::Rate);
  if (number.low < -maxRateDecimals) {
    return Refused<Rate>(LoanError::TooManyDecimals, LoanField::Rate);
  }
  // Below 10^4 with at most 15 decimals: units below 10^19, inside 64 unsigned bits.
  const std::int64_t scale = std::max<std::int64_t>(0, -number.low);
  const std::uint64_t units = number.Scaled(scale);
  std::uint64_t most = maxRatePercent;
  for (std::int64_t i = 0; i < scale; ++i) most *= 10;
  if (units > most) return Refused<Rate>(LoanError::OutOfRange, LoanField::Rate);
  return {{static_cast<std::int64_t>(units), static_cast<std::int32_t>(scale)}, {}};
}

Result<std::int32_t> ParseYears(std::string_view text) {
  DecimalText number;
  if (!number.Read(text)) return Refused<std::int32_t>(LoanError::NotANumber, LoanField::Years);
  // Below 0.001 years is below 0.012 months, above 10^4 years far above the longest loan.
  if (number.negative && !number.zero) {
    return Refused<std::int32_t>(LoanError::Negative, LoanField::Years);
  }
  if (number.zero || number.top >= 4 || number.top < -3) {
    return Refused<std::int32_t>(LoanError::OutOfRange, LoanField::Years);
  }
  // Twice the months, 24 x years, as its whole part and whether nothing is left over: the
  // fraction is multiplied digit by digit from its last digit up, its carry being the
  // whole part it adds.
  std::int64_t whole = 0;
  for (std::int64_t power = number.top; power >= 0; --power)
    whole = whole * 10 + number.Digit(power);
  std::int64_t carry = 0;
  bool exact = true;
  for (std::int64_t power = std::min<std::int64_t>(number.low, 0); power < 0; ++power) {
    const std::int64_t product = 24 * number.Digit(power) + carry;
    if (product % 10 != 0) exact = false;
    carry = product / 10;
  }
  const std::int64_t twiceMonths = 24 * whole + carry;  // floor(24 x years)
  // An even floor means the months lie less than a half above twiceMonths / 2; an odd one a
  // half or more, an exact half going to the even month.
  std::int64_t months = twiceMonths / 2;
  if (twiceMonths % 2 != 0 && (!exact || months % 2 != 0)) ++months;
  if (months < 1 || months > maxMonths) {
    return Refused<std::int32_t>(LoanError::OutOfRange, LoanField::Years);
  }
  return {static_cast<std::int32_t>(months), {}};
}

Result<std::int32_t> ParseMonths(std::string_view text) {
  DecimalText number;
  if (!number.Read(text)) return Refused<std::int32_t>(LoanError::NotANumber, LoanField::Months);
  if (number.zero) return Refused<std::int32_t>(LoanError::OutOfRange, LoanField::Months);
  if (number.negative) return Refused<std::int32_t>(LoanError::Negative, LoanField::Months);
  if (number.low < 0) return Refused<std::int32_t>(LoanError::NotWhole, LoanField::Months);
  if (number.top >= 4) return Refused<std::int32_t>(LoanError::OutOfRange, LoanField::Months);
  const auto months = static_cast<std::int32_t>(number.Scaled(0));
  if (months > maxMonths) return Refused<std::int32_t>(LoanError::OutOfRange, LoanField::Months);
  return {months, {}};
}

}  // namespace quentara::loan
