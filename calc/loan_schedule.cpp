// The payment and the rows of a loan in exact cents. The monthly rate is kept as the exact
// fraction rate / 1200; each interest is that fraction of the balance rounded half up to the
// cent in integer arithmetic, and the payment's cent is settled exactly whenever a
// floating-point estimate cannot vouch for it.
//
// Why no figure can overflow, for every loan within the limits of the header (amount A at
// most 10^15 cents, rate at most 1000 %, so a monthly rate r at most 10/12, n at most 1200
// months, own and extra payments at most 10^17 cents):
// - The monthly rate is p / q in lowest terms with p <= 10^18 and q <= 1200 x 10^15 < 2^61.
// - The balance never grows: the computed payment is round(A r / (1 - (1 + r)^-n)) >=
//   round(A r), the first interest (the formula exceeds A r and rounding keeps the order),
//   and an own payment is refused unless it exceeds the first interest. So the first
//   principal is >= 0; a smaller balance has no larger interest, so every later principal
//   is >= 0 as well, and every balance is <= A <= 10^15.
// - An interest is round(B r) <= 10^15 x 10/12 + 1; the product 2 B p + q that gives it is
//   <= 2 x 10^33 + 2^61 < 2^111, well inside 128 bits.
// - The computed payment is at most A (1 + r) + 1 < 2^51 (the formula is at most A (1 + r)
//   for n >= 1); a row's payment is the regular payment plus an extra of at most the
//   balance, or balance + interest, so below 2^57.
// - The total interest is at most n (A r + 1) <= 1200 x (8.4 x 10^14 + 1) < 1.01 x 10^18,
//   and the total paid is that plus A (the principal paid is exactly A): both below 2^63.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numeric>

#include "dates/calendar.h"
#include "loan_dates.h"
#include "quentara/loan.h"
#include "wide_unsigned.h"

namespace quentara::loan {

namespace {

// The monthly rate rate / 1200 as part / whole in lowest terms; 0 / 1 for no interest.
struct MonthlyRate {
  std::uint64_t part = 0, whole = 1;
};

MonthlyRate MonthlyRateOf(Rate rate) {
  std::uint64_t whole = 1200;
  for (std::int32_t i = 0; i < rate.scale; ++i) whole *= 10;
  const auto part = static_cast<std::uint64_t>(rate.units);
  if (part == 0) return {};
  const std::uint64_t divisor = std::gcd(part, whole);
  return {part / divisor, whole / divisor};
}

LoanProblem Problem(LoanError error, LoanField field) {
  LoanProblem problem;
  problem.error = error;
  problem.field = field;
  return problem;
}

// The terms that the payment depends on.
LoanProblem CheckPaymentTerms(const LoanTerms& terms) {
  if (terms.amount < 0) return Problem(LoanError::Negative, LoanField::Amount);
  if (terms.amount < minAmount || terms.amount > maxAmount) {
    return Problem(LoanError::OutOfRange, LoanField::Amount);
  }
  if (terms.rate.units < 0) return Problem(LoanError::Negative, LoanField::Rate);
  if (terms.rate.scale < 0 || terms.rate.scale > maxRateDecimals) {
    return Problem(LoanError::TooManyDecimals, LoanField::Rate);
  }
  std::int64_t mostUnits = maxRatePercent;  // 1000 x 10^15 < 2^63
  for (std::int32_t i = 0; i < terms.rate.scale; ++i) mostUnits *= 10;
  if (terms.rate.units > mostUnits) return Problem(LoanError::OutOfRange, LoanField::Rate);
  if (terms.months < 1 || terms.months > maxMonths) {
    return Problem(LoanError::OutOfRange, LoanField::Months);
  }
  return {};
}

// Whether the exact payment X = A p G / (q (G - Q)), with G = (q + p)^n and Q = q^n, is at
// least cents + 1/2, that is whether its half-up rounding exceeds `cents`.
class PaymentHalves {
 public:
  PaymentHalves(Cents amount, MonthlyRate rate, std::int32_t months)
      : twiceAmountPart_(Uint128{2} * static_cast<std::uint64_t>(amount) * rate.part),
        whole_(rate.whole),
        grown_(WideUnsigned::Power(rate.whole + rate.part, static_cast<std::uint32_t>(months))),
        kept_(WideUnsigned::Power(rate.whole, static_cast<std::uint32_t>(months))) {}

  // Every payment in range is below 2^51 cents; `cents` is below 2^52 here, so (2 cents + 1)
  // q < 2^53 x 2^61 fits 128 bits, and so does 2 A p <= 2 x 10^33.
  bool ReachesHalfAbove(Cents cents) const {
    if (cents < 0) return true;
    // X >= m + 1/2  <=>  2 A p G >= M (G - Q) with M = (2m + 1) q  <=>  M Q >= (M - 2 A p) G.
    const Uint128 m = (Uint128{2} * static_cast<std::uint64_t>(cents) + 1) * whole_;
    if (m <= twiceAmountPart_) return true;
    return WideUnsigned(m) * kept_ >= WideUnsigned(m - twiceAmountPart_) * grown_;
  }

 private:
  Uint128 twiceAmountPart_;
  std::uint64_t whole_;
  WideUnsigned grown_, kept_;
};

// The half-up rounding of the exact payment, searched from a candidate cent.
Cents SettlePayment(Cents amount, MonthlyRate rate, std::int32_t months, Cents candidate) {
  const PaymentHalves halves(amount, rate, months);
  constexpr Cents ceiling = Cents{1} << 51;  // above every payment in range
  candidate = std::clamp<Cents>(candidate, 0, ceiling);
  // Bracket the answer between `below`, whose next half the payment reaches, and `above`,
  // whose next half it does not; the answer is above. The candidate is nearly always right.
  Cents below = candidate - 1, above = candidate;
  for (Cents step = 1; !halves.ReachesHalfAbove(below); step *= 2) {
    above = below;
    below = candidate - 1 - step;
  }
  for (Cents step = 1; above < ceiling && halves.ReachesHalfAbove(above); step *= 2) {
    below = above;
    above = std::min(candidate + step, ceiling);
  }
  while (above - below > 1) {
    const Cents middle = below + (above - below) / 2;
    (halves.ReachesHalfAbove(middle) ? below : above) = middle;
  }
  return above;
}

Cents PaymentOf(Cents amount, MonthlyRate rate, std::int32_t months) {
  if (rate.part == 0) return (2 * amount + months) / (2 * months);
  // The estimate: A r / -expm1(-n log1p(r)). Each of its five steps is within a few units
  // in the last place, and expm1 shrinks the relative error of its argument for the
  // negative arguments it gets here, so the estimate is within some 20 units of the last
  // place; the tolerance allows 4096.
  const long double r = static_cast<long double>(rate.part) / static_cast<long double>(rate.whole);
  const long double estimate = static_cast<long double>(amount) * r /
                               -std::expm1(-static_cast<long double>(months) * std::log1p(r));
  if (!(estimate >= 0 && estimate < 0x1p51L)) return SettlePayment(amount, rate, months, amount);
  const long double tolerance = estimate * 4096 * std::numeric_limits<long double>::epsilon();
  const auto candidate = static_cast<Cents>(std::floor(estimate + 0.5L));
  const long double fromLowerHalf = estimate - (static_cast<long double>(candidate) - 0.5L);
  const long double toUpperHalf = (static_cast<long double>(candidate) + 0.5L) - estimate;
  // Huge payments, whose estimate cannot tell cents apart, always take the exact way.
  if (tolerance < 0.25L && fromLowerHalf > tolerance && toUpperHalf > tolerance) return candidate;
  return SettlePayment(amount, rate, months, candidate);
}

// The row (1 for the first) that falls due in the date's month, counted from the first due
// date's month; beyond the schedule when outside it.
std::int64_t RowOfMonth(Date first, Date date) {
  return (std::int64_t{date.year} - first.year) * 12 + (date.month - first.month) + 1;
}

LoanProblem CheckExtras(const LoanTerms& terms) {
  const Date first = terms.firstDueDate;
  for (std::size_t i = 0; i < terms.extras.size(); ++i) {
    const ExtraPayment& extra = terms.extras[i];
    LoanProblem problem = Problem(LoanError::None, LoanField::Extra);
    problem.extraIndex = static_cast<std::int32_t>(i);
    problem.date = extra.date;
    if (extra.amount < 0) {
      problem.error = LoanError::Negative;
    } else if (extra.amount < 1 || extra.amount > maxPayment) {
      problem.error = LoanError::OutOfRange;
    } else if (!IsCalendarDate(extra.date.year, extra.date.month, extra.date.day)) {
      problem.error = LoanError::InvalidDate;
    } else if (i > 0 && !(terms.extras[i - 1].date < extra.date)) {
      problem.error = LoanError::ExtrasOutOfOrder;
    } else {
      const std::int64_t row = RowOfMonth(first, extra.date);
      const std::int32_t dueDay = DueDay(first.day, extra.date.year, extra.date.month);
      if (row >= 1 && row <= terms.months && extra.date.day == dueDay) continue;
      // The due dates around it: in its own month's row when that comes after it, else the
      // next row's; either may lie outside the schedule.
      std::int64_t after = extra.date.day < dueDay ? row : row + 1;
      std::int64_t before = after - 1;
      after = std::max<std::int64_t>(after, 1);
      before = std::min<std::int64_t>(before, terms.months);
      problem.error = LoanError::NotADueDate;
      if (before >= 1) problem.before = DueDateOfRow(first, static_cast<std::int32_t>(before));
      if (after <= terms.months) {
        problem.after = DueDateOfRow(first, static_cast<std::int32_t>(after));
      }
    }
    return problem;
  }
  return {};
}

}  // namespace

LoanProblem CheckFirstDueDate(Date date) {
  LoanProblem problem;
  problem.field = LoanField::FirstDueDate;
  problem.date = date;
  const bool thirtyDays = date.month == 4 || date.month == 6 || date.month == 9 || date.month == 11;
  if (thirtyDays && date.day == 31) {
    problem.error = LoanError::ThirtyDayMonth;
  } else if (date.year < firstDueYear || date.year > lastDueYear ||
             !IsCalendarDate(date.year, date.month, date.day)) {
    problem.error = LoanError::InvalidDate;
  }
  return problem;
}

Result<Cents> ComputePayment(const LoanTerms& terms) {
  Result<Cents> result;
  result.problem = CheckPaymentTerms(terms);
  if (result.problem.error == LoanError::None) {
    result.value = PaymentOf(terms.amount, MonthlyRateOf(terms.rate), terms.months);
  }
  return result;
}

ScheduleWalker::ScheduleWalker(const LoanTerms& terms) : terms_(terms) {}

LoanProblem ScheduleWalker::Start() {
  walking_ = false;
  number_ = 0;
  LoanProblem problem = CheckPaymentTerms(terms_);
  if (problem.error == LoanError::None) problem = CheckFirstDueDate(terms_.firstDueDate);
  if (problem.error == LoanError::None && terms_.ownPayment != 0 &&
      (terms_.ownPayment < 0 || terms_.ownPayment > maxPayment)) {
    problem = Problem(terms_.ownPayment < 0 ? LoanError::Negative : LoanError::OutOfRange,
                      LoanField::Payment);
  }
  if (problem.error != LoanError::None) return problem;

  const MonthlyRate rate = MonthlyRateOf(terms_.rate);
  rateWhole_ = rate.whole;
  twiceRatePart_ = 2 * rate.part;    // <= 2 x 10^18 < 2^64
  twiceRateWhole_ = 2 * rate.whole;  // < 2^62
  // Every balance is at most the amount, so 64 bits hold every 2 B p + q when they hold it
  // for the amount.
  narrow_ = Uint128{twiceRatePart_} * static_cast<std::uint64_t>(terms_.amount) + rateWhole_ <=
            std::numeric_limits<std::uint64_t>::max();

  if (terms_.ownPayment != 0) {
    const Cents firstInterest = Interest(terms_.amount);
    if (terms_.ownPayment <= firstInterest) {
      problem = Problem(LoanError::PaymentTooSmall, LoanField::Payment);
      problem.interest = firstInterest;
      return problem;
    }
  }
  problem = CheckExtras(terms_);
  if (problem.error != LoanError::None) return problem;

  payment_ =
      terms_.ownPayment != 0 ? terms_.ownPayment : PaymentOf(terms_.amount, rate, terms_.months);
  balance_ = terms_.amount;
  totalPaid_ = totalInterest_ = 0;
  dueDate_ = terms_.firstDueDate;
  nextExtra_ = 0;
  FindNextExtra();
  walking_ = true;
  return {};
}

Cents ScheduleWalker::Interest(Cents balance) const {
  // round(B p / q) half up = floor((2 B p + q) / 2q); the balance is never negative.
  const auto b = static_cast<std::uint64_t>(balance);
  if (narrow_) return static_cast<Cents>((b * twiceRatePart_ + rateWhole_) / twiceRateWhole_);
  return static_cast<Cents>((Uint128{b} * twiceRatePart_ + rateWhole_) / twiceRateWhole_);
}

void ScheduleWalker::FindNextExtra() {
  nextExtraRow_ = nextExtra_ < terms_.extras.size()
                      ? static_cast<std::int32_t>(
                            RowOfMonth(terms_.firstDueDate, terms_.extras[nextExtra_].date))
                      : 0;
}

bool ScheduleWalker::Next(ScheduleRow& row) {
  if (!walking_) return false;
  ++number_;
  if (number_ > 1) {
    if (++dueDate_.month > 12) {
      dueDate_.month = 1;
      ++dueDate_.year;
    }
    dueDate_.day = DueDay(terms_.firstDueDate.day, dueDate_.year, dueDate_.month);
  }
  const Cents interest = Interest(balance_);
  const Cents owed = balance_ + interest;
  const bool extraDue = number_ == nextExtraRow_;
  Cents payment = 0, principal = 0, extra = 0;
  if (number_ == terms_.months || payment_ >= owed) {
    // The last row pays what is owed; an extra on its date has nothing left to pay.
    payment = owed;
    principal = balance_;
    balance_ = 0;
  } else {
    // The regular payment leaves something owed (it is below balance + interest), so the
    // extra is cut to that.
    principal = payment_ - interest;
    balance_ -= principal;
    if (extraDue) {
      extra = std::min(terms_.extras[nextExtra_].amount, balance_);
      principal += extra;
      balance_ -= extra;
    }
    payment = payment_ + extra;
  }
  if (extraDue) {
    ++nextExtra_;
    FindNextExtra();
  }
  totalPaid_ += payment;
  totalInterest_ += interest;
  if (balance_ == 0) walking_ = false;

  row.number = number_;
  row.dueDate = dueDate_;
  row.payment = payment;
  row.interest = interest;
  row.principal = principal;
  row.extra = extra;
  row.balance = balance_;
  row.totalPaid = totalPaid_;
  row.totalInterest = totalInterest_;
  row.totalPrincipal = terms_.amount - balance_;
  return true;
}

std::int32_t ScheduleWalker::UnusedExtras() const {
  return static_cast<std::int32_t>(terms_.extras.size() - nextExtra_);
}

Result<LoanSummary> SummarizeLoan(const LoanTerms& terms) {
  Result<LoanSummary> result;
  ScheduleWalker walker(terms);
  result.problem = walker.Start();
  if (result.problem.error != LoanError::None) return result;
  ScheduleRow row;
  while (walker.Next(row)) {
  }
  result.value = SummarizeWalk(terms, walker, row);
  return result;
}

LoanSummary SummarizeWalk(const LoanTerms& terms, const ScheduleWalker& walker,
                          const ScheduleRow& lastRow) {
  LoanSummary summary;
  summary.payment = summary.computedPayment = walker.RegularPayment();
  summary.payments = summary.computedPayments = lastRow.number;
  summary.totalPaid = lastRow.totalPaid;
  summary.totalInterest = summary.computedInterest = lastRow.totalInterest;
  summary.totalPrincipal = lastRow.totalPrincipal;
  summary.lastPayment = lastRow.payment;
  summary.payoffDate = lastRow.dueDate;
  summary.unusedExtras = walker.UnusedExtras();
  if (terms.ownPayment != 0 || !terms.extras.empty()) {
    LoanTerms computed = terms;
    computed.ownPayment = 0;
    computed.extras = {};
    // The same terms, less the ones that could be refused: no own payment and no extras.
    const LoanSummary plain = SummarizeLoan(computed).value;
    summary.computedPayment = plain.payment;
    summary.computedPayments = plain.payments;
    summary.computedInterest = plain.totalInterest;
  }
  return summary;
}

}  // namespace quentara::loan
