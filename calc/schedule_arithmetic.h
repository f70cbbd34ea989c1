#pragma once
// The arithmetic of an annuity loan: the fixed monthly payment, then row by row each
// month's interest, payment, principal, remaining balance and the running totals. Every
// value is kept in single precision; each formula is evaluated in double precision from its
// single-precision operands and rounded once, when its result is stored. Those rounding
// points decide every digit the form and the report show, so each formula below is written
// exactly once, in the order the report depends on.

#include <cstdint>

#include <quentara/calculator.h>

namespace quentara {

/// Values of one computation; all start at 0.
struct ScheduleState {
  float loanAmount = 0;
  float balance = 0;
  float annualRate = 0;  ///< percent per year as typed: 4.00 means 4 %
  float loanYears = 0;
  float monthlyRate = 0;
  std::int32_t monthCount = 0;
  float growthBase = 0;
  float growthFactor = 0;
  float monthlyPayment = 0;
  float payment = 0;
  float interest = 0;
  float principal = 0;
  float totalPaid = 0;
  float totalInterest = 0;
  float totalPrincipal = 0;
  std::int32_t rowIndex = 0;
};

/// The end-of-loan threshold: the single-precision number nearest to 0.01.
inline constexpr float endOfLoanThreshold = 0.01f;

/// loanYears x 12 rounded to the nearest integer, a half going to the even one;
/// -2147483648 when the product is not a number or outside the 32-bit range.
/// MonthCountOf(0.375f) == 4.
std::int32_t MonthCountOf(float loanYears);

/// The longest loan that is scheduled: 601 monthly payments (50 years and 1 month).
inline constexpr std::int32_t maxScheduledMonths = 601;
/// Whether loanYears x 12, rounded as the month count is, is above 601: also for products
/// beyond the 32-bit range and positive infinity, whose month count reads as -2147483648.
/// Zero, negative and not-a-number lengths are not too long. LoanIsTooLong(601.5f / 12) ==
/// true (602 months).
bool LoanIsTooLong(float loanYears);

/// The smallest size of a rate other than 0, in percent per year. Next to 1, single
/// precision keeps too few digits of a smaller monthly rate: the payment would come out up
/// to 30 % wrong.
inline constexpr float smallestRate = 0.01f;
/// Why a loan is not scheduled, or None when it is. Only the first that applies is given,
/// in this order: more than 601 monthly payments (TooLong); fewer than one (TooShort); an
/// amount of 0.01 or less (AmountTooSmall); a rate other than 0 that is smaller than 0.01
/// either way (RateTooSmall; -0.01 and 0.01 as typed are scheduled). The first due date is
/// judged apart.
calculator::RefusalReason LoanRefusalOf(const ScheduleState& loan);
/// The same in the words of the message that refuses the loan, or nullptr when it is
/// scheduled.
const char* LoanRefusalMessage(const ScheduleState& loan);

/// From balance, loanAmount, annualRate and loanYears to monthlyRate, monthCount,
/// growthBase, growthFactor and monthlyPayment; payment starts as monthlyPayment, the totals
/// and the row index at 0. A rate of 0 pays the amount in equal parts: loanAmount /
/// monthCount, rounded once.
void ComputePayment(ScheduleState& state);

/// Whether another row begins: rowIndex has not passed monthCount and the balance is above
/// the threshold (a balance that is not a number ends the schedule).
bool ScheduleRowBegins(const ScheduleState& state);

/// One row: interest, the final-row rule, principal, the totals and the new balance.
void ComputeScheduleRow(ScheduleState& state);

/// Moves on to the next row (the row index wraps like a 32-bit integer).
void AdvanceScheduleRow(ScheduleState& state);

}  // namespace quentara
