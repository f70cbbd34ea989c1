#include "app/schedule_command.h"

#include "app/main_form.h"
#include "calc/schedule_arithmetic.h"
#include "calc/schedule_report.h"
#include "text/number_format.h"
#include "text/text_area.h"
#include "text/text_value.h"
#include "ui/gadgets.h"

namespace quentara {

namespace {
// Whether a computation of this run has written a report, which the print button opens.
bool reportWritten = false;

// Copies a gadget's text out of the temporary area, which is left as it was.
void ReadGadgetInto(Text& text, std::int32_t gadget) {
  AssignExpression(text, ReadGadgetText(gadget));
}
}  // namespace

void WriteScheduleReport() {
  SetGadgetDisabled(printButton, 0);

  Text dueDate;
  char* typed = ReadGadgetText(dateField);
  TakeFirstDueDate(typed, dueDate);
  SetTextAreaEnd(typed);

  Text amount, rate, length;
  ReadGadgetInto(amount, amountField);
  ReadGadgetInto(rate, rateField);
  ReadGadgetInto(length, lengthField);
  ScheduleState state = LoanFromFieldTexts(amount.View(), rate.View(), length.View());

  char* payment = FormatFixed(state.monthlyPayment, 2);
  WriteGadgetText(paymentField, payment);
  SetTextAreaEnd(payment);
  // Leaving the payment field makes the amount field's focus event the pending one, which
  // the event loop ignores, so the computation does not run again by itself.
  FocusGadget(amountField);

  if (WriteScheduleFile(state, dueDate.View()) == ScheduleFileResult::Refused) {
    // Nothing was written, so the print button goes back to what it was: it opens only a
    // report that this run of the program wrote.
    SetGadgetDisabled(printButton, reportWritten ? 0 : 1);
    return;
  }
  reportWritten = true;
}

}  // namespace quentara
