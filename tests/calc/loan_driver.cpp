// Runs the loan engine on loans read from standard input, one a line, and prints every row,
// so that a separate model can check the figures. Built with the tests only.
//
// In:  amount=TEXT rate=TEXT years=TEXT|months=TEXT date=MM/DD/YYYY [payment=TEXT]
//      [extra=MM/DD/YYYY:TEXT]...
// Out: "error,<sentence>" or "payment,<regular payment>", then "row,<number>,<due date>,
//      <payment>,<interest>,<principal>,<extra>,<balance>,<total paid>,<total interest>,
//      <total principal>" for each row and "summary,<payments>,<total paid>,
//      <total interest>,<total principal>,<last payment>,<payoff date>,<computed payment>,
//      <computed payments>,<computed interest>,<unused extras>"; "end" after each loan.

#include <quentara/loan.h>

#include <charconv>
#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace quentara::loan;

std::string Money(Cents cents) {
  char text[maxCentsText];
  return std::string(text, FormatCents(cents, text));
}

std::string DateText(Date date) {
  char text[maxDateText];
  return std::string(text, FormatDate(date, text));
}

Date ReadDate(const std::string& text) {
  Date date;
  if (text.size() != 10) return date;
  std::from_chars(text.data(), text.data() + 2, date.month);
  std::from_chars(text.data() + 3, text.data() + 5, date.day);
  std::from_chars(text.data() + 6, text.data() + 10, date.year);
  return date;
}

// The loan of one line, or the first problem found in it.
LoanProblem Run(const std::string& line, std::string& out) {
  LoanTerms terms;
  std::vector<ExtraPayment> extras;
  std::istringstream words(line);
  for (std::string word; words >> word;) {
    const std::size_t equals = word.find('=');
    const std::string key = word.substr(0, equals), value = word.substr(equals + 1);
    LoanProblem problem;
    if (key == "amount") {
      Result<Cents> amount = ParseAmount(value);
      terms.amount = amount.value;
      problem = amount.problem;
    } else if (key == "rate") {
      Result<Rate> rate = ParseRate(value);
      terms.rate = rate.value;
      problem = rate.problem;
    } else if (key == "years" || key == "months") {
      Result<std::int32_t> months = key == "years" ? ParseYears(value) : ParseMonths(value);
      terms.months = months.value;
      problem = months.problem;
    } else if (key == "date") {
      terms.firstDueDate = ReadDate(value);
    } else if (key == "payment") {
      Result<Cents> payment = ParsePayment(value);
      terms.ownPayment = payment.value;
      problem = payment.problem;
    } else if (key == "extra") {
      const std::size_t colon = value.find(':');
      Result<Cents> amount = ParseExtra(value.substr(colon + 1));
      extras.push_back({ReadDate(value.substr(0, colon)), amount.value});
      problem = amount.problem;
    }
    if (problem.error != LoanError::None) return problem;
  }
  terms.extras = extras;

  ScheduleWalker walker(terms);
  if (LoanProblem problem = walker.Start(); problem.error != LoanError::None) return problem;
  out += "payment," + Money(walker.RegularPayment()) + "\n";
  for (ScheduleRow row; walker.Next(row);) {
    out += "row," + std::to_string(row.number) + "," + DateText(row.dueDate);
    for (Cents figure : {row.payment, row.interest, row.principal, row.extra, row.balance,
                         row.totalPaid, row.totalInterest, row.totalPrincipal}) {
      out += "," + Money(figure);
    }
    out += "\n";
  }
  const Result<LoanSummary> summary = SummarizeLoan(terms);
  const LoanSummary& s = summary.value;
  out += "summary," + std::to_string(s.payments) + "," + Money(s.totalPaid) + "," +
         Money(s.totalInterest) + "," + Money(s.totalPrincipal) + "," + Money(s.lastPayment) + "," +
         DateText(s.payoffDate) + "," + Money(s.computedPayment) + "," +
         std::to_string(s.computedPayments) + "," + Money(s.computedInterest) + "," +
         std::to_string(s.unusedExtras) + "\n";
  return {};
}

}  // namespace

int main() {
  std::string out;
  for (std::string line; std::getline(std::cin, line);) {
    std::string rows;
    const LoanProblem problem = Run(line, rows);
    out += problem.error == LoanError::None ? rows : "error," + DescribeLoanProblem(problem) + "\n";
    out += "end\n";
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  return 0;
}
