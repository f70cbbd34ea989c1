#pragma once
// The due date of each schedule row, as text mm/dd/yyyy taken apart by position: the day
// of the first payment is kept month by month, cut to 30 in the 30-day months and to 28 or
// 29 in February. Until a first date has been stepped once, the date given is checked. The
// rules only say what a date comes to; showing a message or ending the program is left to
// the caller.

#include <cstdint>

#include "text/text_area.h"
#include "text/text_value.h"

namespace quentara {

/// What the due dates keep between steps. The window program takes a fresh one for each
/// computation, as quentara-schedule does for each schedule.
struct DueDateState {
  /// Set by the first step that produces a date; from then on the dates given are not
  /// checked.
  bool dateValidated = false;
  /// The day piece (characters 4 and 5) of the first due date of the current computation.
  Text firstPaymentDay;
};

/// What a due date came to. A message is shown first, with an empty title; after it the
/// computation goes on unless the outcome is fatal. A fatal date cannot be valid: then
/// dateNotValidMessage is shown (after the message, if there is one) and the program ends.
struct DateOutcome {
  const char* message = nullptr;
  bool fatal = false;
  /// Nothing to tell: the date serves.
  bool IsClear() const { return message == nullptr && !fatal; }
};

/// A stepped due date: the date, written at the position asked for (result rule of the text
/// area), and what the step had to say. After a message, or for a fatal date, the date is
/// the empty text.
struct StepResult {
  char* date;
  DateOutcome outcome;
};

/// The first due date as typed into the form: trimmed of spaces into `dueDate`, its day
/// piece kept as the state's firstPaymentDay. Only a day piece above 31 is judged here
/// (fatal); the whole date is judged when it is checked or first stepped.
DateOutcome TakeFirstDueDate(DueDateState& dueDates, const char* typed, Text& dueDate);

/// The due date `monthsToAdd` months after `dateText`. A month count outside 1 to 12 and a
/// 31st in a 30-day month give their message and no date; while no date has been validated
/// yet, a date that cannot be valid is fatal. StepDueDate(state, "01/31/2004", 1).date ==
/// "02/29/2004" when the first payment day is "31".
StepResult StepDueDate(DueDateState& dueDates, const char* dateText, std::int32_t monthsToAdd,
                       char* resultAt = TextAreaEnd());

/// Judges a first due date as its first step would, without stepping it, whether or not a
/// date was validated before. A 31st in a 30-day month gives its message and is fatal,
/// since the step after it would read the empty text; a date that cannot be valid is fatal.
/// A date that serves marks the state validated. The text area is left as it was.
DateOutcome CheckFirstDueDate(DueDateState& dueDates, const char* firstDueDate);

}  // namespace quentara
