#pragma once
// A loan as the payment field starts it: the amount as opening balance and as loan amount,
// the yearly rate and the length, with the payment phase already run.

#include "calc/schedule_arithmetic.h"

namespace quentara {

inline ScheduleState LoanWithPayment(float amount, float rate, float years) {
  ScheduleState state;
  state.balance = amount;
  state.loanAmount = amount;
  state.annualRate = rate;
  state.loanYears = years;
  ComputePayment(state);
  return state;
}

}  // namespace quentara
