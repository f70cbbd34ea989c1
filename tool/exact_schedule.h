#pragma once
// One loan in exact cents, from the texts of its request to the rows of its schedule. The
// texts are read as the exact decimals they are and checked, each problem naming its option;
// the rows are then appended to an output buffer as the report text, CSV or JSON. Each line
// is put together on the stack and appended whole, so a schedule allocates nothing per row.
// Nothing is printed and no file is touched here: the caller decides where the bytes and the
// problems go.

#include <quentara/loan.h>

#include <string>
#include <string_view>
#include <vector>

#include "tool/schedule_request.h"

namespace quentara {

/// A loan read from a request and found schedulable.
struct ExactLoan {
  loan::LoanTerms terms;                   ///< its extras are left empty: Terms() adds them
  std::vector<loan::ExtraPayment> extras;  ///< in date order, one a date
  std::string date;                        ///< the first due date, mm/dd/yyyy
  /// The yearly rate as the exact decimal given, with at least two decimals: "6.375", "4.00".
  std::string rate;
  /// The length in years as the exact decimal given ("2.5"); empty when given in months.
  std::string years;

  /// The terms together with the extra payments.
  loan::LoanTerms Terms() const;
};

/// Reads the request's loan for the exact arithmetic into `loan`, replacing what it held
/// (its buffers are reused); `date` is the first due date as mm/dd/yyyy. A value that is not
/// allowed is a problem with exitUsage whose message names its option
/// (`--amount: the amount must be whole cents (at most 2 decimal places)`); a first due date
/// the calculator does not take, or a payment that would never pay the loan off, is a
/// problem with exitRefused.
ScheduleProblem ReadExactLoan(const ScheduleRequest& request, std::string_view date,
                              ExactLoan& loan);

/// The columns of a schedule's CSV rows, the same in both arithmetics.
inline constexpr std::string_view scheduleCsvColumns =
    "due_date,balance,rate,payment,interest,principal,total_paid,total_interest,total_principal";

/// How the rows are written.
struct ExactOutput {
  ExportFormat format = ExportFormat::Text;
  TextEncoding encoding = TextEncoding::Windows1252;
  JsonLayout json = JsonLayout::Indented;
  /// In a batch of loans, the loan's id: for CSV the first field of each row, quoted where
  /// CSV needs it (no header row is written then: the batch writes one for all its loans);
  /// for JSON a JSON string, the object's first member "id". Empty for a loan alone.
  std::string_view batchId;
};

/// Appends the whole schedule of a loan that ReadExactLoan accepted to `out` and returns what
/// it came to; with an own payment or extras, the summary's computed figures are those of
/// the schedule with the computed payment and no extras.
/// - Text: the report's year blocks and 98-character row lines, CR LF after each line. A
///   figure keeps at least one space before it (the due date excepted); one that does not
///   fit fills its column with '#' instead of being cut.
/// - CSV: a header row, then one row per payment; with extras a last column `extra`. In a
///   batch, no header row, and each row begins with the id.
/// - JSON: one object: in a batch first the "id", then "arithmetic": "exact", the inputs, the
/// monthly payment, the rows and
///   the summary with the last payment.
loan::LoanSummary AppendExactSchedule(const ExactLoan& loan, const ExactOutput& how,
                                      std::string& out);

}  // namespace quentara
