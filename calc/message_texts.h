#pragma once
// The texts of the calculator's messages, each written once. The engine only returns them;
// the window program shows them in its message boxes and quentara-schedule prints them.

#include <cstdint>

namespace quentara {

/// The title of the messages about the loan and the report file; the date messages have an
/// empty title.
inline constexpr const char* errorTitle = "Error";

/// A first due date that cannot be valid; the window program ends after it.
inline constexpr const char* dateNotValidMessage =
    "Your date string is not valid, Please re-start program.";
/// A due date stepped by fewer than 1 or more than 12 months (\n: the text has two lines).
inline constexpr const char* monthCountMessage =
    "The Month needs to be a\nnumber between 1 And 12.";
/// A due date on the 31st of a month of 30 days.
inline constexpr const char* thirtyDaysInAprilMessage = "There are only 30 days in April.";
inline constexpr const char* thirtyDaysInJuneMessage = "There are only 30 days in June.";
inline constexpr const char* thirtyDaysInSeptemberMessage = "There are only 30 days in September.";
inline constexpr const char* thirtyDaysInNovemberMessage = "There are only 30 days in November.";

/// The message for a 31st in a month of 30 days, or nullptr:
/// ThirtyDayMessage(4, 31) == "There are only 30 days in April.".
inline const char* ThirtyDayMessage(std::int32_t month, std::int32_t day) {
  if (day != 31) return nullptr;
  switch (month) {
    case 4:
      return thirtyDaysInAprilMessage;
    case 6:
      return thirtyDaysInJuneMessage;
    case 9:
      return thirtyDaysInSeptemberMessage;
    case 11:
      return thirtyDaysInNovemberMessage;
    default:
      return nullptr;
  }
}

// The loans that are refused, titled "Error", before Loan.txt is touched.

/// More than 601 monthly payments.
inline constexpr const char* loanTooLongMessage =
    "The loan is too long: at most 601 monthly payments (50 years and 1 month) can be "
    "scheduled.";

/// A length that comes to fewer than one monthly payment.
inline constexpr const char* loanTooShortMessage =
    "The loan is too short: enter a length of at least 0.05 years (one monthly payment).";

/// An amount of 0.01 or less, which leaves nothing to schedule.
inline constexpr const char* amountTooSmallMessage =
    "The loan amount is too small: enter more than 0.01.";
/// A rate other than 0 that is smaller than 0.01 % either way.
inline constexpr const char* rateTooSmallMessage =
    "The interest rate is too small: enter 0 for a loan without interest, or at least 0.01 %.";

/// Loan.txt could not be created; the window program ends after it.
inline constexpr const char* reportNotCreatedMessage =
    "Unable to create a file, be sure LOAN.TXT is not in use";
/// A line of Loan.txt did not reach the disk (a full disk); the program goes on.
inline constexpr const char* reportIncompleteMessage =
    "Unable to write the whole schedule, LOAN.TXT is incomplete";

}  // namespace quentara
