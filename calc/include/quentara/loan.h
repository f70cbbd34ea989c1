#pragma once
// Loan schedules exact to the cent, as lenders compute them: the amount in whole cents, the
// yearly rate as the exact decimal that was typed, the payment and each month's interest
// rounded half up to the cent, every other figure an exact sum of cents. Plain values in and
// out: no exceptions, no process exit, nothing printed, and walking a schedule allocates
// nothing. What to tell the person about a refused loan is the caller's choice;
// DescribeLoanProblem offers a sentence.
//
//   using namespace quentara::loan;
//   LoanTerms terms;
//   terms.amount = ParseAmount("15000").value;  // 1500000 cents
//   terms.rate = ParseRate("8").value;
//   terms.months = 60;
//   terms.firstDueDate = {2004, 1, 31};
//   ScheduleWalker walker(terms);
//   if (LoanProblem problem = walker.Start(); problem.error != LoanError::None)
//     return DescribeLoanProblem(problem);
//   for (ScheduleRow row; walker.Next(row);) ...  // row 1: interest 10000, principal 20415
//
// <quentara/calculator.h> gives the desktop calculator's own single-precision figures.

#include <compare>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace quentara::loan {

/// Money as a whole number of cents: 123456 is 1234.56.
using Cents = std::int64_t;

/// The loans this engine schedules. Every figure of a schedule within these limits fits its
/// type (the bounds are worked out where the schedule is computed).
inline constexpr Cents minAmount = 1;                         ///< 0.01
inline constexpr Cents maxAmount = 1'000'000'000'000'000;     ///< 10000000000000.00
inline constexpr Cents maxPayment = 100'000'000'000'000'000;  ///< own and extra payments
inline constexpr std::int64_t maxRatePercent = 1000;          ///< yearly, inclusive
inline constexpr std::int32_t maxRateDecimals = 15;
inline constexpr std::int32_t maxMonths = 1200;
inline constexpr std::int32_t firstDueYear = 1800, lastDueYear = 2200;  ///< of the first date

/// A yearly rate in percent, exactly: units / 10^scale percent. 6.375 is {6375, 3}.
struct Rate {
  std::int64_t units = 0;
  std::int32_t scale = 0;  ///< 0 to maxRateDecimals
};

/// A calendar day. Dates compare in calendar order.
struct Date {
  std::int32_t year = 0, month = 0, day = 0;
  friend constexpr auto operator<=>(const Date&, const Date&) = default;
};

/// A one-off payment on top of the regular one, all of it towards the principal.
struct ExtraPayment {
  Date date;  ///< a due date of the schedule
  Cents amount = 0;
};

/// What a loan is made of. The schedule's first row falls due on firstDueDate; each later
/// row a month after, on the same day of the month, cut to the month's length.
struct LoanTerms {
  Cents amount = 0;
  Rate rate;
  std::int32_t months = 0;
  Date firstDueDate;
  Cents ownPayment = 0;  ///< paid every month instead of the computed payment; 0 for none
  std::span<const ExtraPayment> extras;  ///< in date order, one per date; not copied
};

/// The value a problem is about.
enum class LoanField : std::uint8_t {
  None,
  Amount,
  Rate,
  Years,
  Months,
  FirstDueDate,
  Payment,
  Extra,
};

enum class LoanError : std::uint8_t {
  None,
  NotANumber,  ///< not [sign] digits [. digits] [e [sign] digits]
  Negative,
  FractionOfCent,    ///< money with more than two decimals
  TooManyDecimals,   ///< a rate with more than maxRateDecimals
  NotWhole,          ///< months with a fraction
  OutOfRange,        ///< outside the limits above
  ThirtyDayMonth,    ///< the 31st of April, June, September or November
  InvalidDate,       ///< no day of the calendar, or a first year outside 1800 to 2200
  PaymentTooSmall,   ///< an own payment not above the first month's interest
  NotADueDate,       ///< an extra payment on a day that is no due date of the schedule
  ExtrasOutOfOrder,  ///< extra payments not in date order, or two on one date
};

/// Why a loan cannot be scheduled; error None when it can.
struct LoanProblem {
  LoanError error = LoanError::None;
  LoanField field = LoanField::None;
  std::int32_t extraIndex = -1;  ///< the extra payment, for field Extra
  Date date;                     ///< the date in question, for the date problems
  Date before, after;            ///< NotADueDate: the due dates around it; year 0 for none
  Cents interest = 0;            ///< PaymentTooSmall: the first month's interest
};

/// A sentence for the person: what is wrong and what is allowed, without a final full
/// stop, e.g. "the amount must be whole cents (at most 2 decimal places)" or "the first due
/// date 04/31/2004 is not a day of the calendar: April has 30 days".
std::string DescribeLoanProblem(const LoanProblem& problem);

/// A value, or why there is none (then value is zero).
template <class Value>
struct Result {
  Value value{};
  LoanProblem problem;
};

/// Typed numbers, evaluated exactly as decimals: an optional sign, digits with at most one
/// decimal point, an optional exponent (e or E, optional sign). Nothing before or after.
/// ParseAmount("5000.10").value == 500010; "5000.001" is FractionOfCent; "1e3" is 100000.
Result<Cents> ParseAmount(std::string_view text);
/// The person's own monthly payment: 0.01 to maxPayment (above the first month's interest
/// is checked with the loan).
Result<Cents> ParsePayment(std::string_view text);
/// An extra payment's amount: 0.01 to maxPayment.
Result<Cents> ParseExtra(std::string_view text);
/// The yearly percent, 0 to maxRatePercent: ParseRate("6.375").value is {6375, 3}; trailing
/// zeros of the fraction are dropped ("6.50" is {65, 1}).
Result<Rate> ParseRate(std::string_view text);
/// Years to months: years x 12 to the nearest month, an exact half to the even month
/// ("0.125" gives 2, "0.375" gives 4); the result must be 1 to maxMonths.
Result<std::int32_t> ParseYears(std::string_view text);
/// A whole number of months, 1 to maxMonths ("360", "3.6e2").
Result<std::int32_t> ParseMonths(std::string_view text);

/// The computed monthly payment, A*r / (1 - (1 + r)^-n) with r = rate / 1200, rounded half
/// up to the cent (A / n for rate 0). Checks the amount, the rate and the months only.
/// For 15000.00 at 8 % over 60 months: 30415.
Result<Cents> ComputePayment(const LoanTerms& terms);

/// One row of the schedule. payment = interest + principal; extra is included in both
/// payment and principal; balance is what is owed after this row.
struct ScheduleRow {
  std::int32_t number = 0;  ///< 1 for the first row
  Date dueDate;
  Cents payment = 0, interest = 0, principal = 0, extra = 0, balance = 0;
  Cents totalPaid = 0, totalInterest = 0, totalPrincipal = 0;
};

/// Gives the rows of a schedule one at a time. The last row is row `months`, or the first
/// one whose regular payment reaches its balance plus interest, or the one whose extra
/// payment clears the balance; it leaves a balance of exactly 0.
///
///   ScheduleWalker walker(terms);
///   if (walker.Start().error != LoanError::None) ...;
///   for (ScheduleRow row; walker.Next(row);) ...;
class ScheduleWalker {
 public:
  /// Keeps a copy of the terms; the extras they point to must outlive the walk.
  explicit ScheduleWalker(const LoanTerms& terms);
  /// Checks every term and computes the payment; Next gives rows only after a Start without
  /// a problem.
  LoanProblem Start();
  /// The next row; false once the schedule is complete (row untouched).
  bool Next(ScheduleRow& row);
  /// The payment of every row but the last: the person's own or the computed one.
  Cents RegularPayment() const { return payment_; }
  /// The extra payments whose row has not come yet; once the walk is complete, those that
  /// were dated after the loan was paid off and so were not applied.
  std::int32_t UnusedExtras() const;

 private:
  void FindNextExtra();
  Cents Interest(Cents balance) const;

  LoanTerms terms_;
  // The monthly rate is twiceRatePart_ / twiceRateWhole_, in lowest terms once halved.
  std::uint64_t twiceRatePart_ = 0, rateWhole_ = 1, twiceRateWhole_ = 2;
  bool narrow_ = true;  // interest fits 64-bit arithmetic
  bool walking_ = false;
  Cents payment_ = 0, balance_ = 0;
  Cents totalPaid_ = 0, totalInterest_ = 0;
  std::int32_t number_ = 0;
  Date dueDate_;
  std::size_t nextExtra_ = 0;
  std::int32_t nextExtraRow_ = 0;  // 0 when no extra is left
};

/// What a schedule comes to.
struct LoanSummary {
  Cents payment = 0;          ///< the regular payment: the person's own or the computed one
  Cents computedPayment = 0;  ///< the computed payment
  std::int32_t payments = 0;  ///< number of rows
  Cents totalPaid = 0, totalInterest = 0, totalPrincipal = 0;
  Cents lastPayment = 0;  ///< the last row's payment, its extra included
  Date payoffDate;        ///< the last row's due date
  /// The schedule with the computed payment and no extras, to say what the own payment and
  /// the extras save or add: its number of rows and its total interest.
  std::int32_t computedPayments = 0;
  Cents computedInterest = 0;
  std::int32_t unusedExtras = 0;  ///< extras dated after the payoff date
};

/// Walks the schedule (and, with an own payment or extras, the computed one) for its sums.
Result<LoanSummary> SummarizeLoan(const LoanTerms& terms);

/// The sums of a schedule already walked, for a caller that writes its rows on the way:
/// `walker` has given all its rows for `terms`, the last of them `lastRow`. With an own
/// payment or extras, walks the schedule with the computed payment and no extras for what
/// they save or add; otherwise its computed figures are the schedule's own.
///
///   for (ScheduleRow row; walker.Next(row);) Write(row), last = row;
///   LoanSummary summary = SummarizeWalk(terms, walker, last);
LoanSummary SummarizeWalk(const LoanTerms& terms, const ScheduleWalker& walker,
                          const ScheduleRow& lastRow);

/// Money as text: "1234567.89", "0.05", "-12.30"; no padding, no separators.
/// Writes at most maxCentsText characters and no terminator; returns the end.
inline constexpr std::size_t maxCentsText = 21;
char* FormatCents(Cents cents, char* out);

/// A date as "mm/dd/yyyy" (a year beyond 9999 or below 0 in full). Writes at most
/// maxDateText characters and no terminator; returns the end.
inline constexpr std::size_t maxDateText = 17;
char* FormatDate(Date date, char* out);

}  // namespace quentara::loan
