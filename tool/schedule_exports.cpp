// The window program's figures as quentara-schedule writes them with --calculator: the
// report text, CSV and JSON, and the summary.

#include "tool/schedule_exports.h"

#include <charconv>
#include <cmath>

namespace quentara {

namespace {

// The nine texts of a row, in the order of the row line.
const Text* RowTexts(const RowRecord& record, int index) {
  const Text* fields[9] = {&record.dueDate,   &record.balance,       &record.rate,
                           &record.payment,   &record.interest,      &record.principal,
                           &record.totalPaid, &record.totalInterest, &record.totalPrincipal};
  return fields[index];
}

constexpr const char* fieldNames[9] = {"due_date",   "balance",        "rate",
                                       "payment",    "interest",       "principal",
                                       "total_paid", "total_interest", "total_principal"};

// An input as a JSON number: the shortest text that reads back as the same single-precision
// value ("0.1", "5000", "1e+09"); JSON has no infinity, so one is null.
std::string JsonNumber(float value) {
  if (!std::isfinite(value)) return "null";
  char buffer[32];
  std::to_chars_result written = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, written.ptr);
}

}  // namespace

std::unique_lock<std::mutex> CalculatorTurn() {
  static std::mutex calculator;
  return std::unique_lock(calculator);
}

TextExport::TextExport(std::string& out, bool utf8) : out_(out), utf8_(utf8) {}

void TextExport::Line(const char* text) {
  if (!utf8_) {
    out_ += text;
  } else {
    // Every other byte of the report is ASCII, so only 0xAF needs its two UTF-8 bytes.
    for (const char* c = text; *c != '\0'; ++c) {
      if (*c == '\xAF') {
        out_ += "\xC2\xAF";
      } else {
        out_ += *c;
      }
    }
  }
  out_ += "\r\n";
}

CsvExport::CsvExport(std::string& out) : out_(out) {
  for (int i = 0; i < 9; ++i) {
    if (i > 0) out_ += ',';
    out_ += fieldNames[i];
  }
  out_ += '\n';
}

void CsvExport::AddRow(const RowRecord& record, const ScheduleState&) {
  // Due dates are digits and slashes and the figures plain numbers: no field ever needs
  // quotes.
  for (int i = 0; i < 9; ++i) {
    if (i > 0) out_ += ',';
    out_ += RowTexts(record, i)->View();
  }
  out_ += '\n';
}

std::string SummaryText(const ScheduleSummary& summary) {
  std::string text = "monthly payment: " + summary.monthlyPayment + "\n";
  if (summary.saved && !summary.saved->computedPayment.empty()) {
    text += "computed monthly payment: " + summary.saved->computedPayment + "\n";
  }
  text += "payments: " + std::to_string(summary.payments) + "\n";
  text += "total paid: " + summary.totalPaid + "\n";
  text += "total interest: " + summary.totalInterest + "\n";
  if (!summary.lastPayment.empty()) text += "last payment: " + summary.lastPayment + "\n";
  if (summary.balanceLeft) text += "balance left: " + *summary.balanceLeft + "\n";
  if (summary.saved) {
    // A payment below the computed one costs payments and interest instead of saving them.
    const std::int32_t payments = summary.saved->payments;
    text += payments >= 0 ? "payments saved: " + std::to_string(payments)
                          : "payments added: " + std::to_string(-std::int64_t{payments});
    const std::string& interest = summary.saved->interest;
    text += interest.starts_with('-') ? "\ninterest added: " + interest.substr(1)
                                      : "\ninterest saved: " + interest;
    text += "\n";
  }
  return text;
}

JsonExport::JsonExport(std::string& out) : out_(out) {}

void JsonExport::AddRow(const RowRecord& record, const ScheduleState&) {
  rows_ += rows_.empty() ? "\n    {" : ",\n    {";
  // The due date is digits and slashes; the figures are already JSON numbers ("-0.00" too).
  for (int i = 0; i < 9; ++i) {
    if (i > 0) rows_ += ", ";
    rows_ += '"';
    rows_ += fieldNames[i];
    rows_ += i == 0 ? "\": \"" : "\": ";
    rows_ += RowTexts(record, i)->View();
    if (i == 0) rows_ += '"';
  }
  rows_ += '}';
}

void JsonExport::Finish(const ScheduleInputs& inputs, const ScheduleSummary& summary) {
  out_ += "{\n  \"arithmetic\": \"calculator\",\n  \"inputs\": {\"date\": \"" + inputs.date +
          "\", \"amount\": " + JsonNumber(inputs.amount) +
          ", \"rate\": " + JsonNumber(inputs.rate) + ", \"years\": " + JsonNumber(inputs.years);
  if (inputs.payment) out_ += ", \"payment\": " + JsonNumber(*inputs.payment);
  out_ += "},\n  \"monthly_payment\": " + summary.monthlyPayment + ",\n";
  if (summary.saved) out_ += "  \"computed_payment\": " + summary.saved->computedPayment + ",\n";
  out_ += "  \"rows\": [" + rows_ + (rows_.empty() ? "],\n" : "\n  ],\n");
  out_ += "  \"summary\": {\"payments\": " + std::to_string(summary.payments) +
          ", \"total_paid\": " + summary.totalPaid +
          ", \"total_interest\": " + summary.totalInterest +
          ", \"total_principal\": " + summary.totalPrincipal;
  if (!summary.lastPayment.empty()) out_ += ", \"last_payment\": " + summary.lastPayment;
  if (summary.balanceLeft) out_ += ", \"balance_left\": " + *summary.balanceLeft;
  if (summary.saved) {
    out_ += ", \"payments_saved\": " + std::to_string(summary.saved->payments) +
            ", \"interest_saved\": " + summary.saved->interest;
  }
  out_ += "}\n}\n";
}

}  // namespace quentara
