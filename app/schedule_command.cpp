// Ties the calculator's engine to the main form: reads the fields, shows the payment, writes
// Loan.txt, and shows what the engine reports, ending the program where it must.

#include "app/schedule_command.h"

#include "app/main_form.h"
#include "app/program_end.h"
#include "calc/due_dates.h"
#include "calc/message_texts.h"
#include "calc/schedule_arithmetic.h"
#include "calc/schedule_report.h"
#include "text/number_format.h"
#include "text/text_area.h"
#include "text/text_value.h"
#include "ui/gadgets.h"
#include "ui/outside.h"

namespace quentara {

namespace {
// Whether a computation of this run has written a report, which the print button opens.
bool reportWritten = false;
// The due dates keep, for the whole run of the program, whether a first date was validated.
DueDateState dueDates;

// Copies a gadget's text out of the temporary area, which is left as it was.
void ReadGadgetInto(Text& text, std::int32_t gadget) {
  AssignExpression(text, ReadGadgetText(gadget));
}

// Shows what a due date came to; a date that cannot be valid ends the program after its
// message.
void ShowDateOutcome(const DateOutcome& outcome) {
  if (outcome.message != nullptr) ShowMessageBox("", outcome.message, 0);
  if (outcome.fatal) {
    ShowMessageBox("", dateNotValidMessage, 0);
    EndProgram();
  }
}
}  // namespace

void WriteScheduleReport() {
  SetGadgetDisabled(printButton, 0);

  Text dueDate;
  char* typed = ReadGadgetText(dateField);
  const DateOutcome day = TakeFirstDueDate(dueDates, typed, dueDate);
  SetTextAreaEnd(typed);
  ShowDateOutcome(day);

  Text amount, rate, length;
  ReadGadgetInto(amount, amountField);
  ReadGadgetInto(rate, rateField);
  ReadGadgetInto(length, lengthField);
  ScheduleState state = LoanFromFieldTexts(amount.View(), rate.View(), length.View());

  // A refused loan leaves the payment field empty: no figure stands for it.
  const char* refusal = LoanRefusalMessage(state);
  char* payment = refusal != nullptr ? AppendText("") : FormatFixed(state.monthlyPayment, 2);
  WriteGadgetText(paymentField, payment);
  SetTextAreaEnd(payment);
  // Leaving the payment field makes the amount field's focus event the pending one, which
  // the event loop ignores, so the computation does not run again by itself.
  FocusGadget(amountField);

  if (refusal != nullptr) {
    ShowMessageBox(errorTitle, refusal, 0);
    // Nothing was written, so the print button goes back to what it was: it opens only a
    // report that this run of the program wrote.
    SetGadgetDisabled(printButton, reportWritten ? 0 : 1);
    return;
  }
  ScheduleFile report;
  if (!report.Create()) {
    ShowMessageBox(errorTitle, reportNotCreatedMessage, 0);
    EndProgram();
  }
  // Each row goes to the file as it is computed, so a date that ends the program leaves
  // the rows before it in Loan.txt; after a message that does not, the rows go on.
  ScheduleRows rows(state, dueDates, dueDate.View());
  for (DateOutcome outcome = rows.Run(report); !outcome.IsClear(); outcome = rows.Run(report)) {
    ShowDateOutcome(outcome);
  }
  if (!report.Close()) ShowMessageBox(errorTitle, reportIncompleteMessage, 0);
  reportWritten = true;
}

}  // namespace quentara
