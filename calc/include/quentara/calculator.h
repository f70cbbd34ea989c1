#pragma once
// The desktop calculator's own figures: its monthly payment and the rows of its Loan.txt
// report, every value in single precision and rounded where the calculator stores it, with
// the calculator's refusals and their texts. For figures exact to the cent use
// <quentara/loan.h>; this header reproduces what the calculator shows. Plain values in and
// out: no exceptions, nothing printed, and walking the rows allocates nothing.
//
//   quentara::calculator::Terms terms{5000.0f, 4.0f, 1.0f, {2004, 1, 31}};
//   quentara::calculator::RowWalker walker(terms);
//   if (const quentara::calculator::Refusal refusal = walker.Start(); refusal.message)
//     std::puts(refusal.message);
//   for (quentara::calculator::Row row; walker.Next(row);)
//     std::printf("%.2f\n", row.payment);  // 425.75 twelve times

#include <cstdint>

#include <quentara/loan.h>

namespace quentara::calculator {

using loan::Date;

/// A loan as the calculator's fields give it.
struct Terms {
  float amount = 0;
  float ratePercent = 0;  ///< yearly: 4.00 is 4 %
  float years = 0;        ///< x 12 to the nearest month, a half to the even one
  Date firstDueDate;      ///< the walker's first row; each later row a month after
};

/// Why the calculator does not schedule a loan, in the order it tells them.
enum class RefusalReason : std::uint8_t {
  None,
  TooLong,         ///< more than 601 monthly payments
  TooShort,        ///< fewer than one
  AmountTooSmall,  ///< 0.01 or less
  RateTooSmall,    ///< other than 0, and between -0.01 and 0.01
  ThirtyDayMonth,  ///< a first due date on the 31st of a month of 30 days
  InvalidDate,     ///< a first due date that is no day, or with a year outside 1800 to 2200
};

struct Refusal {
  RefusalReason reason = RefusalReason::None;
  /// The calculator's own message, e.g. "The loan amount is too small: enter more than
  /// 0.01."; nullptr for None. Static text.
  const char* message = nullptr;
};

/// The payment, or why there is none (then value is 0).
struct Payment {
  float value = 0;
  Refusal refusal;
};

/// The monthly payment A g / ((g - 1) / r) with r = rate / 1200 and g = (1 + r)^months
/// (amount / months for a rate of 0), each step rounded to single precision. Checks the
/// amount, the rate and the length, not the date. For amounts or rates near the largest
/// float the payment may be infinite or not a number, as the calculator shows it.
/// ComputePayment({5000.0f, 4.0f, 1.0f}).value prints as 425.75.
Payment ComputePayment(const Terms& terms);

/// One row as the report shows it. balance is what is owed after the row.
struct Row {
  std::int32_t number = 0;  ///< 1 for the first row
  Date dueDate;
  float balance = 0, payment = 0, interest = 0, principal = 0;
  float totalPaid = 0, totalInterest = 0, totalPrincipal = 0;
};

/// Gives the rows of the calculator's schedule one at a time: up to months + 1 rows, while
/// the balance is above 0.01; the row whose opening balance is below the payment pays that
/// balance and its interest.
class RowWalker {
 public:
  explicit RowWalker(const Terms& terms) : terms_(terms) {}
  /// Judges the loan, then the first due date, and computes the payment; Next gives rows
  /// only after a Start without a refusal.
  Refusal Start();
  /// The next row; false once the schedule is complete (row untouched).
  bool Next(Row& row);
  /// The computed monthly payment.
  float MonthlyPayment() const { return monthlyPayment_; }

 private:
  Terms terms_;
  bool walking_ = false;
  std::int32_t monthCount_ = 0, rowIndex_ = 0;
  float monthlyPayment_ = 0, payment_ = 0, balance_ = 0;
  float totalPaid_ = 0, totalInterest_ = 0, totalPrincipal_ = 0;
};

}  // namespace quentara::calculator
