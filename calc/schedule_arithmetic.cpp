// The payment and the rows of an annuity loan in single precision, and which loans are not
// scheduled. Built into the loan library, so it uses nothing of the program's other layers
// but the single-precision rounding.

#include "calc/schedule_arithmetic.h"

#include <cmath>
#include <limits>

#include "calc/message_texts.h"
#include "text/single_precision.h"

namespace quentara {

namespace {
// Stores a formula's double-precision result in one of the named single-precision values.
float Store(double value) {
  return RoundToSingle(value);
}
}  // namespace

std::int32_t MonthCountOf(float loanYears) {
  // The product of a float and 12 is exact in double precision.
  double months = std::nearbyint(static_cast<double>(loanYears) * 12.0);
  if (!(months >= -2147483648.0 && months <= 2147483647.0)) {
    return std::numeric_limits<std::int32_t>::min();
  }
  return static_cast<std::int32_t>(months);
}

bool LoanIsTooLong(float loanYears) {
  // The rounded product, not MonthCountOf: a product out of the 32-bit range must count as
  // too long rather than as the most negative month count.
  return std::nearbyint(static_cast<double>(loanYears) * 12.0) > maxScheduledMonths;
}

calculator::RefusalReason LoanRefusalOf(const ScheduleState& loan) {
  using calculator::RefusalReason;
  // Each row is one line of the report, and nothing else bounds the loan's length: a typed
  // length of a million years would fill the disk. The month count cannot tell, since it
  // wraps for lengths beyond the 32-bit range.
  if (LoanIsTooLong(loan.loanYears)) return RefusalReason::TooLong;
  // No month, or a length read as 0: the payment would divide by zero months.
  if (MonthCountOf(loan.loanYears) < 1) return RefusalReason::TooShort;
  // Not above the end-of-loan threshold: the schedule would have no row at all.
  if (!(loan.loanAmount > endOfLoanThreshold)) return RefusalReason::AmountTooSmall;
  if (loan.annualRate != 0.0f && std::fabs(loan.annualRate) < smallestRate) {
    return RefusalReason::RateTooSmall;
  }
  return RefusalReason::None;
}

const char* LoanRefusalMessage(const ScheduleState& loan) {
  using calculator::RefusalReason;
  switch (LoanRefusalOf(loan)) {
    case RefusalReason::None:
      return nullptr;
    case RefusalReason::TooLong:
      return loanTooLongMessage;
    case RefusalReason::TooShort:
      return loanTooShortMessage;
    case RefusalReason::AmountTooSmall:
      return amountTooSmallMessage;
    case RefusalReason::RateTooSmall:
      return rateTooSmallMessage;
    case RefusalReason::ThirtyDayMonth:
    case RefusalReason::InvalidDate:
      break;  // the first due date's, judged apart
  }
  return nullptr;
}

void ComputePayment(ScheduleState& s) {
  s.monthlyRate = Store(static_cast<double>(s.annualRate) / 100.0 / 12.0);
  s.monthCount = MonthCountOf(s.loanYears);
  s.growthBase = Store(static_cast<double>(s.monthlyRate) + 1.0);
  s.growthFactor = Power(s.growthBase, static_cast<float>(s.monthCount));
  if (s.annualRate == 0.0f) {
    // Without interest the annuity formula is 0 / 0; the payment is an equal part.
    s.monthlyPayment = Store(static_cast<double>(s.loanAmount) / s.monthCount);
  } else {
    // A = amount, g = growth factor, r = monthly rate: A * g / ((g - 1) / r). A zero month
    // count divides by zero (infinity), which flows on into the rows, where the final-row
    // rule handles it; the calculator refuses such a loan before it writes any row.
    const double g = s.growthFactor;
    s.monthlyPayment = Store((static_cast<double>(s.loanAmount) * g) / ((g - 1.0) / s.monthlyRate));
  }
  s.payment = s.monthlyPayment;
  s.totalPaid = 0;
  s.totalInterest = 0;
  s.totalPrincipal = 0;
  s.rowIndex = 0;
}

bool ScheduleRowBegins(const ScheduleState& s) {
  if (s.monthCount < s.rowIndex) return false;
  return s.balance > endOfLoanThreshold;  // false for a balance that is not a number
}

void ComputeScheduleRow(ScheduleState& s) {
  const double balance = s.balance;
  s.interest = Store(balance * s.annualRate / 1200.0);
  // The loan ends in the first row whose opening balance is below the payment: that row
  // pays the balance and its interest. A payment that is not a number ends it as well.
  if (!(s.balance >= s.payment)) s.payment = Store(balance + s.interest);
  const double payment = s.payment;
  const double interest = s.interest;
  s.principal = Store(payment - interest);
  s.totalPaid = Store(static_cast<double>(s.totalPaid) + payment);
  s.totalInterest = Store(static_cast<double>(s.totalInterest) + interest);
  s.totalPrincipal = Store(static_cast<double>(s.totalPrincipal) + s.principal);
  // The difference is taken again in double precision, not from the stored principal.
  s.balance = Store(balance - (payment - interest));
}

void AdvanceScheduleRow(ScheduleState& s) {
  s.rowIndex = static_cast<std::int32_t>(static_cast<std::uint32_t>(s.rowIndex) + 1u);
}

}  // namespace quentara
