// The calculator's figures for library users: the single-precision arithmetic of the window
// program, with the exact engine's due dates (which agree with the calculator's for every
// first date it accepts).

#include "quentara/calculator.h"

#include "calc/message_texts.h"
#include "calc/schedule_arithmetic.h"
#include "loan_dates.h"

namespace quentara::calculator {

namespace {

// The state of the payment phase, as the calculator leaves it for the rows.
ScheduleState LoanOf(const Terms& terms) {
  ScheduleState state;
  state.loanAmount = state.balance = terms.amount;
  state.annualRate = terms.ratePercent;
  state.loanYears = terms.years;
  quentara::ComputePayment(state);
  return state;
}

Refusal LoanRefusal(const ScheduleState& loan) {
  return {LoanRefusalOf(loan), LoanRefusalMessage(loan)};
}

Refusal DateRefusal(Date date) {
  const loan::LoanProblem problem = loan::CheckFirstDueDate(date);
  if (problem.error == loan::LoanError::ThirtyDayMonth) {
    return {RefusalReason::ThirtyDayMonth, ThirtyDayMessage(date.month, date.day)};
  }
  if (problem.error != loan::LoanError::None)
    return {RefusalReason::InvalidDate, dateNotValidMessage};
  return {};
}

}  // namespace

Payment ComputePayment(const Terms& terms) {
  const ScheduleState loan = LoanOf(terms);
  Payment payment;
  payment.refusal = LoanRefusal(loan);
  if (payment.refusal.reason == RefusalReason::None) payment.value = loan.monthlyPayment;
  return payment;
}

Refusal RowWalker::Start() {
  walking_ = false;
  const ScheduleState loan = LoanOf(terms_);
  Refusal refusal = LoanRefusal(loan);
  if (refusal.reason == RefusalReason::None) refusal = DateRefusal(terms_.firstDueDate);
  if (refusal.reason != RefusalReason::None) return refusal;
  monthCount_ = loan.monthCount;
  rowIndex_ = loan.rowIndex;
  monthlyPayment_ = payment_ = loan.payment;
  balance_ = loan.balance;
  totalPaid_ = totalInterest_ = totalPrincipal_ = 0;
  walking_ = true;
  return {};
}

bool RowWalker::Next(Row& row) {
  if (!walking_) return false;
  // The figures that carry from row to row; the rest of the state is the terms'.
  ScheduleState state;
  state.annualRate = terms_.ratePercent;
  state.monthCount = monthCount_;
  state.rowIndex = rowIndex_;
  state.payment = payment_;
  state.balance = balance_;
  state.totalPaid = totalPaid_;
  state.totalInterest = totalInterest_;
  state.totalPrincipal = totalPrincipal_;
  if (!ScheduleRowBegins(state)) {
    walking_ = false;
    return false;
  }
  ComputeScheduleRow(state);
  row.number = rowIndex_ + 1;
  row.dueDate = loan::DueDateOfRow(terms_.firstDueDate, row.number);
  row.balance = state.balance;
  row.payment = state.payment;
  row.interest = state.interest;
  row.principal = state.principal;
  row.totalPaid = state.totalPaid;
  row.totalInterest = state.totalInterest;
  row.totalPrincipal = state.totalPrincipal;
  AdvanceScheduleRow(state);
  rowIndex_ = state.rowIndex;
  payment_ = state.payment;
  balance_ = state.balance;
  totalPaid_ = state.totalPaid;
  totalInterest_ = state.totalInterest;
  totalPrincipal_ = state.totalPrincipal;
  return true;
}

}  // namespace quentara::calculator
