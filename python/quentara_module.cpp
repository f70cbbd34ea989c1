// The Python module `quentara`: the exact-cents loan engine for Python programs. Money goes
// in as text, whole numbers or decimal.Decimal and comes out as decimal.Decimal, never as a
// binary float; dates come out as datetime.date. This file only converts between Python's
// values and the engine's; every rule and every figure is the engine's.

#include <pybind11/pybind11.h>

#include <quentara/loan.h>

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace py = pybind11;
using namespace quentara::loan;

namespace {

// Python's types that the results are made of, looked up once when the module is imported
// and kept for the life of the interpreter.
py::handle decimalType, dateType, rowType, totalsType, summaryType;

// A loan's terms as read from Python, with the extra payments its terms point to.
struct LoanInput {
  LoanTerms terms;
  std::vector<ExtraPayment> extras;
};

// What a loan came to: its rows or its summary, or why there is none.
struct LoanOutcome {
  LoanProblem problem;
  std::vector<ScheduleRow> rows;
  LoanSummary summary;
};

[[noreturn]] void Refuse(const LoanProblem& problem) {
  throw py::value_error(DescribeLoanProblem(problem));
}

template <class Value>
Value Take(const Result<Value>& result) {
  if (result.problem.error != LoanError::None) Refuse(result.problem);
  return result.value;
}

std::string TypeName(py::handle value) {
  return py::str(py::type::handle_of(value).attr("__name__"));
}

// The text of a number given as str, int or Decimal. A float is refused: most decimal
// fractions (0.1 among them) have no exact binary value, and taking the float's own digits
// or its shortest repr would each be right for some callers and wrong for others.
std::string NumberText(py::handle value, const char* name) {
  if (py::isinstance<py::str>(value)) return value.cast<std::string>();
  if (PyBool_Check(value.ptr())) {
    throw py::type_error(std::string(name) + " must be a str, int or Decimal, not bool");
  }
  if (py::isinstance<py::int_>(value) || py::isinstance(value, decimalType)) {
    return py::str(value).cast<std::string>();
  }
  if (PyFloat_Check(value.ptr())) {
    throw py::type_error(std::string(name) + " is a float, which cannot hold most decimal " +
                         "fractions exactly: pass it as a str or Decimal, e.g. '" +
                         py::repr(value).cast<std::string>() + "'");
  }
  throw py::type_error(std::string(name) + " must be a str, int or Decimal, not " +
                       TypeName(value));
}

// A date given as datetime.date or as the text mm/dd/yyyy.
Date ReadDate(py::handle value, const char* name) {
  if (py::isinstance(value, dateType)) {
    return {value.attr("year").cast<std::int32_t>(), value.attr("month").cast<std::int32_t>(),
            value.attr("day").cast<std::int32_t>()};
  }
  if (!py::isinstance<py::str>(value)) {
    throw py::type_error(std::string(name) + " must be a datetime.date or a str mm/dd/yyyy, not " +
                         TypeName(value));
  }
  const std::string text = value.cast<std::string>();
  bool shaped = text.size() == 10 && text[2] == '/' && text[5] == '/';
  for (std::size_t i = 0; shaped && i < text.size(); ++i) {
    shaped = i == 2 || i == 5 || (text[i] >= '0' && text[i] <= '9');
  }
  if (!shaped) throw py::value_error(std::string(name) + " must be mm/dd/yyyy, not '" + text + "'");
  const auto number = [&](std::size_t at, std::size_t length) {
    return static_cast<std::int32_t>(std::stoi(text.substr(at, length)));
  };
  return {number(6, 4), number(0, 2), number(3, 2)};
}

// Reads the arguments of one loan, as schedule() takes them.
LoanInput ReadLoan(py::handle amount, py::handle rate, py::handle months, py::handle years,
                   py::handle date, py::handle payment, py::handle extras) {
  LoanInput loan;
  LoanTerms& terms = loan.terms;
  terms.amount = Take(ParseAmount(NumberText(amount, "amount")));
  terms.rate = Take(ParseRate(NumberText(rate, "rate")));
  if (months.is_none() && years.is_none())
    throw py::type_error("give the length as months or years");
  if (!months.is_none() && !years.is_none()) {
    throw py::type_error("give the length as months or years, not both");
  }
  terms.months = months.is_none() ? Take(ParseYears(NumberText(years, "years")))
                                  : Take(ParseMonths(NumberText(months, "months")));
  py::object first = py::reinterpret_borrow<py::object>(date);
  if (first.is_none()) first = dateType.attr("today")();
  terms.firstDueDate = ReadDate(first, "date");
  if (!payment.is_none()) terms.ownPayment = Take(ParsePayment(NumberText(payment, "payment")));
  if (!extras.is_none()) {
    py::object pairs = py::reinterpret_borrow<py::object>(extras);
    if (py::isinstance<py::dict>(pairs)) pairs = pairs.attr("items")();
    for (py::handle pair : pairs) {
      const py::tuple both = py::tuple(py::reinterpret_borrow<py::object>(pair));
      if (both.size() != 2) throw py::type_error("each extra payment is a pair (date, amount)");
      ExtraPayment& extra = loan.extras.emplace_back();
      extra.date = ReadDate(both[0], "an extra payment's date");
      extra.amount = Take(ParseExtra(NumberText(both[1], "an extra payment's amount")));
    }
  }
  return loan;
}

// Computes a loan; needs no Python object, so it runs without the interpreter's lock.
LoanOutcome Compute(LoanInput& loan, bool withRows) {
  loan.terms.extras = loan.extras;
  LoanOutcome outcome;
  if (!withRows) {
    const Result<LoanSummary> summary = SummarizeLoan(loan.terms);
    outcome.problem = summary.problem;
    outcome.summary = summary.value;
    return outcome;
  }
  ScheduleWalker walker(loan.terms);
  outcome.problem = walker.Start();
  if (outcome.problem.error != LoanError::None) return outcome;
  outcome.rows.reserve(static_cast<std::size_t>(loan.terms.months));
  for (ScheduleRow row; walker.Next(row);) outcome.rows.push_back(row);
  return outcome;
}

py::object Money(Cents cents) {
  char text[maxCentsText];
  return decimalType(py::str(text, static_cast<std::size_t>(FormatCents(cents, text) - text)));
}

py::object DateOf(Date date) {
  return dateType(date.year, date.month, date.day);
}

py::list Rows(const std::vector<ScheduleRow>& rows) {
  py::list list(rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const ScheduleRow& r = rows[i];
    const py::object totals =
        totalsType(Money(r.totalPaid), Money(r.totalInterest), Money(r.totalPrincipal));
    list[i] = rowType(r.number, DateOf(r.dueDate), Money(r.payment), Money(r.interest),
                      Money(r.principal), Money(r.extra), Money(r.balance), totals);
  }
  return list;
}

py::object Summary(const LoanSummary& s) {
  return summaryType(Money(s.payment), Money(s.computedPayment), s.payments, Money(s.totalPaid),
                     Money(s.totalInterest), Money(s.totalPrincipal), Money(s.lastPayment),
                     DateOf(s.payoffDate), s.computedPayments, Money(s.computedInterest),
                     s.unusedExtras);
}

constexpr const char* loanKeys[] = {"amount", "rate",    "months", "years",
                                    "date",   "payment", "extras"};
constexpr std::size_t loanKeyCount = std::size(loanKeys);

// One loan of a batch: a dict with schedule()'s keywords, or a tuple in its order.
LoanInput ReadBatchLoan(py::handle item) {
  py::object values[loanKeyCount];
  for (py::object& value : values) value = py::none();
  if (py::isinstance<py::dict>(item)) {
    for (const auto& [key, value] : py::reinterpret_borrow<py::dict>(item)) {
      const std::string name = py::str(key);
      std::size_t at = 0;
      while (at < loanKeyCount && name != loanKeys[at]) ++at;
      if (at == loanKeyCount) throw py::type_error("unknown key '" + name + "'");
      values[at] = py::reinterpret_borrow<py::object>(value);
    }
  } else if (py::isinstance<py::tuple>(item) || py::isinstance<py::list>(item)) {
    const py::tuple given = py::tuple(py::reinterpret_borrow<py::object>(item));
    if (given.size() < 2 || given.size() > loanKeyCount) {
      throw py::type_error(
          "a loan is a dict or a tuple (amount, rate, months, years, date, "
          "payment, extras) of 2 to 7 values");
    }
    for (std::size_t i = 0; i < given.size(); ++i) values[i] = given[i];
  } else {
    throw py::type_error("a loan is a dict or a tuple, not " + TypeName(item));
  }
  for (const std::size_t required : {0u, 1u}) {
    if (values[required].is_none())
      throw py::type_error(std::string(loanKeys[required]) + " is missing");
  }
  return ReadLoan(values[0], values[1], values[2], values[3], values[4], values[5], values[6]);
}

py::object Payment(py::handle amount, py::handle rate, py::handle months, py::handle years) {
  const py::object none = py::none();
  const LoanInput loan = ReadLoan(amount, rate, months, years, none, none, none);
  return Money(Take(ComputePayment(loan.terms)));
}

py::list Schedule(py::handle amount, py::handle rate, py::handle months, py::handle years,
                  py::handle date, py::handle payment, py::handle extras) {
  LoanInput loan = ReadLoan(amount, rate, months, years, date, payment, extras);
  const LoanOutcome outcome = Compute(loan, true);
  if (outcome.problem.error != LoanError::None) Refuse(outcome.problem);
  return Rows(outcome.rows);
}

py::list Batch(py::iterable items, bool withRows) {
  std::vector<LoanInput> loans;
  for (py::handle item : items) {
    const std::string which = "loan " + std::to_string(loans.size()) + ": ";
    try {
      loans.push_back(ReadBatchLoan(item));
    } catch (const py::value_error& error) {
      throw py::value_error(which + error.what());
    } catch (const py::type_error& error) {
      throw py::type_error(which + error.what());
    }
  }
  std::vector<LoanOutcome> outcomes(loans.size());
  {
    py::gil_scoped_release unlocked;
    for (std::size_t i = 0; i < loans.size(); ++i) outcomes[i] = Compute(loans[i], withRows);
  }
  py::list results(outcomes.size());
  for (std::size_t i = 0; i < outcomes.size(); ++i) {
    if (outcomes[i].problem.error != LoanError::None) {
      throw py::value_error("loan " + std::to_string(i) + ": " +
                            DescribeLoanProblem(outcomes[i].problem));
    }
    results[i] = withRows ? py::object(Rows(outcomes[i].rows)) : Summary(outcomes[i].summary);
  }
  return results;
}

}  // namespace

PYBIND11_MODULE(quentara, module) {
  module.doc() = R"(Loan schedules exact to the cent.

Amounts, rates and lengths are given as str, int or decimal.Decimal ('15000', 8,
Decimal('6.375')); a float is refused with TypeError, since most decimal fractions have no
exact float. Money comes back as decimal.Decimal, due dates as datetime.date. A loan that
cannot be scheduled raises ValueError with a sentence saying why.

    >>> import quentara
    >>> quentara.payment('15000', '8', months=60)
    Decimal('304.15')
    >>> quentara.schedule('15000', '8', months=60, date='01/31/2004')[0].interest
    Decimal('100.00'))";

  const py::module_ collections = py::module_::import("collections");
  const auto namedTuple = [&](const char* name, const char* fields) {
    py::object type = collections.attr("namedtuple")(name, fields);
    type.attr("__module__") = "quentara";
    module.attr(name) = type;
    return type.release();
  };
  decimalType = py::object(py::module_::import("decimal").attr("Decimal")).release();
  dateType = py::object(py::module_::import("datetime").attr("date")).release();
  totalsType = namedTuple("Totals", "paid interest principal");
  rowType = namedTuple("Row", "number due_date payment interest principal extra balance totals");
  summaryType = namedTuple("Summary",
                           "payment computed_payment payments total_paid total_interest "
                           "total_principal last_payment payoff_date computed_payments "
                           "computed_interest unused_extras");

  module.def("payment", &Payment, py::arg("amount"), py::arg("rate"),
             py::arg("months") = py::none(), py::arg("years") = py::none(),
             R"(The monthly payment as a Decimal, rounded half up to the cent.

Give the length as months (a whole number, 1 to 1200) or as years (to the nearest month).)");
  module.def("schedule", &Schedule, py::arg("amount"), py::arg("rate"),
             py::arg("months") = py::none(), py::arg("years") = py::none(),
             py::arg("date") = py::none(), py::arg("payment") = py::none(),
             py::arg("extras") = py::none(),
             R"(The rows of the schedule, a list of Row named tuples.

date is the first due date (datetime.date or 'mm/dd/yyyy'; today when None), each later row
a month after on the same day, cut to the month's length. payment is paid every month
instead of the computed payment. extras are one-off payments towards the principal: pairs
(date, amount) in date order, or a dict {date: amount}, each on a due date.
A Row is (number, due_date, payment, interest, principal, extra, balance, totals), totals a
Totals (paid, interest, principal) so far.)");
  module.def("batch", &Batch, py::arg("loans"), py::arg("rows") = false,
             R"(Many loans at once: a list with one Summary per loan, or with rows=True its
list of Row as schedule() gives it.

Each loan is a dict with schedule()'s keywords, or a tuple in their order (amount, rate,
months, years, date, payment, extras). The schedules are computed without holding the
interpreter's lock. The first loan that cannot be scheduled raises ValueError (or TypeError)
beginning with its index: 'loan 3: the amount cannot be negative'.
A Summary is (payment, computed_payment, payments, total_paid, total_interest,
total_principal, last_payment, payoff_date, computed_payments, computed_interest,
unused_extras): computed_* are those of the computed payment without extras.)");
}
