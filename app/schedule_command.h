#pragma once
// The calculator's command: entering the payment field reads the form, shows the monthly
// payment and writes the amortization schedule to Loan.txt. The arithmetic, the report's
// layout and the due dates live in their own units; this one only ties them to the form.

namespace quentara {

/// Enables the print button, reads the date, amount, rate and length fields, shows the
/// payment with two decimals in the payment field, moves the focus to the amount field and
/// writes the report. A refused loan (too long, too short, too small an amount or rate)
/// empties the payment field, writes nothing and leaves the print button as it was before,
/// enabled only when an earlier computation wrote a report. A day piece above 31 ends the
/// program after its message; so do the fatal cases of the report and of the due dates.
void WriteScheduleReport();

}  // namespace quentara
