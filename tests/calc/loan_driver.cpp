// Runs the loan engine on loans read from standard input, one a line, and prints every row,
// so that a separate model can check the figures. Built with the tests only.
//
// In:  amount=A rate=R years=Y|months=M date=MM/DD/YYYY [payment=P] [extra=MM/DD/YYYY:E]...
// Out: "error,<sentence>", or "payment,<regular payment>", a line "row,<number>,<due date>,
//      <payment>,<interest>,<principal>,<extra>,<balance>,<total paid>,<total interest>,
//      <total principal>" a row and "summary,<payments>,<total paid>,<total interest>,
//      <total principal>,<last payment>,<payoff date>,<computed payment>,<computed
//      payments>,<computed interest>,<unused extras>"; then "end".

#include <quentara/loan.h>

#include <charconv>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace quentara::loan;

std::string Text(Cents cents) {
  char text[maxCentsText];
  return "," + std::string(text, FormatCents(cents, text));
}

std::string Text(Date date) {
  char text[maxDateText];
  return "," + std::string(text, FormatDate(date, text));
}

Date ReadDate(const std::string& text) {
  Date date;
  std::from_chars(text.data(), text.data() + 2, date.month);
  std::from_chars(text.data() + 3, text.data() + 5, date.day);
  std::from_chars(text.data() + 6, text.data() + 10, date.year);
  return date;
}

template <class Value>
LoanProblem Take(Result<Value> result, Value& value) {
  value = result.value;
  return result.problem;
}

LoanProblem Run(const std::string& line, std::string& out) {
  LoanTerms terms;
  std::vector<ExtraPayment> extras;
  std::istringstream words(line);
  for (std::string word; words >> word;) {
    const std::string key = word.substr(0, word.find('=')), value = word.substr(key.size() + 1);
    LoanProblem problem;
    if (key == "amount") problem = Take(ParseAmount(value), terms.amount);
    if (key == "rate") problem = Take(ParseRate(value), terms.rate);
    if (key == "years") problem = Take(ParseYears(value), terms.months);
    if (key == "months") problem = Take(ParseMonths(value), terms.months);
    if (key == "date") terms.firstDueDate = ReadDate(value);
    if (key == "payment") problem = Take(ParsePayment(value), terms.ownPayment);
    if (key == "extra") {
      problem = Take(ParseExtra(value.substr(11)), extras.emplace_back().amount);
      extras.back().date = ReadDate(value);
    }
    if (problem.error != LoanError::None) return problem;
  }
  terms.extras = extras;
  ScheduleWalker walker(terms);
  if (LoanProblem problem = walker.Start(); problem.error != LoanError::None) return problem;
  out += "payment" + Text(walker.RegularPayment()) + "\n";
  for (ScheduleRow r; walker.Next(r);) {
    out += "row," + std::to_string(r.number) + Text(r.dueDate) + Text(r.payment) +
           Text(r.interest) + Text(r.principal) + Text(r.extra) + Text(r.balance) +
           Text(r.totalPaid) + Text(r.totalInterest) + Text(r.totalPrincipal) + "\n";
  }
  const LoanSummary s = SummarizeLoan(terms).value;
  out += "summary," + std::to_string(s.payments) + Text(s.totalPaid) + Text(s.totalInterest) +
         Text(s.totalPrincipal) + Text(s.lastPayment) + Text(s.payoffDate) +
         Text(s.computedPayment) + "," + std::to_string(s.computedPayments) +
         Text(s.computedInterest) + "," + std::to_string(s.unusedExtras) + "\n";
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
  std::cout << out;
}
