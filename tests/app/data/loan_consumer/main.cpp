// Prints the exact payment of 15000.00 at 8 % over 60 months and the calculator's payment of
// 5000 at 4 % over a year: "304.15 425.75".
#include <quentara/calculator.h>
#include <quentara/loan.h>

#include <cstdio>

int main() {
  using namespace quentara;
  const loan::LoanTerms terms{1500000, loan::ParseRate("8").value, 60, {2004, 1, 31}, 0, {}};
  char text[loan::maxCentsText];
  const char* end = loan::FormatCents(loan::ComputePayment(terms).value, text);
  std::printf("%.*s %.2f\n", static_cast<int>(end - text), text,
              calculator::ComputePayment({5000, 4, 1, {}}).value);
}
