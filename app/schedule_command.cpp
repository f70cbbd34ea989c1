#include "app/schedule_command.h"

#include "app/due_dates.h"
#include "app/main_form.h"
#include "app/messages.h"
#include "app/program_end.h"
#include "app/schedule_arithmetic.h"
#include "app/schedule_report.h"
#include "text/number_format.h"
#include "text/string_ops.h"
#include "text/text_area.h"
#include "text/text_value.h"
#include "ui/gadgets.h"

namespace quentara {

namespace {
// Every text below is built at the temporary area's end and given back before the next
// statement, so the area's end is where it was when the command began.
float ParseGadget(std::int32_t gadget) {
  char* text = ReadGadgetText(gadget);
  float value = ParseFloat(text);
  SetTextAreaEnd(text);
  return value;
}
}  // namespace

void WriteScheduleReport() {
  SetGadgetDisabled(printButton, 0);

  Text dueDate;
  char* typed = ReadGadgetText(dateField);
  AssignExpression(dueDate, TrimSpaces(typed, typed));

  // Only the day piece is checked here; the whole date is judged when the first row's
  // date is stepped, after that row has been written.
  AssignExpression(firstPaymentDay, Substring(dueDate.View(), 4, 2));
  if (ParseInteger(firstPaymentDay.View()) > 31) {
    ShowMessage("", "Your date string is not valid, Please re-start program.", 0);
    EndProgram();
  }

  ScheduleState state;
  // The amount is read twice, once as the opening balance and once as the loan amount.
  state.balance = ParseGadget(amountField);
  state.annualRate = ParseGadget(rateField);
  state.loanYears = ParseGadget(lengthField);
  state.loanAmount = ParseGadget(amountField);
  ComputePayment(state);

  char* payment = FormatFixed(state.monthlyPayment, 2);
  WriteGadgetText(paymentField, payment);
  SetTextAreaEnd(payment);
  // Leaving the payment field makes the amount field's focus event the pending one, which
  // the event loop ignores, so the computation does not run again by itself.
  FocusGadget(amountField);

  WriteScheduleFile(state, dueDate.View());
}

}  // namespace quentara
