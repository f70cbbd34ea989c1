// The report file byte by byte: year blocks, row lines and the whole worked example (the
// literal file tests/app/data/worked_example_loan.txt).

#include "calc/schedule_report.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "calc/due_dates.h"
#include "calc/message_texts.h"
#include "files/text_file.h"
#include "loan_terms.h"
#include "tests/support/message_recorder.h"
#include "tests/support/program_folder_guard.h"
#include "text/string_ops.h"
#include "text/text_area.h"

namespace quentara {
namespace {

namespace fs = std::filesystem;

const std::string totals = std::string(65, ' ') + "|-----------  Totals ------------|";
const std::string columns =
    "  Due Date     Balance  Rate    Payment    Interest   Principal      Paid      Interest"
    "   Principal";
const std::string underline(99, '\xAF');
const std::string notValid = "|Your date string is not valid, Please re-start program.";
const std::string tooLong =
    "Error|The loan is too long: at most 601 monthly payments (50 years and 1 month) can be "
    "scheduled.";

std::string YearBlock(int year) {
  return "\r\n" + totals + "\r\n" + columns + "\r\n" + underline +
         "\r\nYear:" + std::to_string(year) + "\r\n";
}

// What the window shows for what stops a computation, and whether the program then ends.
void ShowCheck(const ScheduleCheck& check, testing::MessageRecorder& messages) {
  if (check.refusal != nullptr) messages.Show(errorTitle, check.refusal);
  messages.ShowDateOutcome(check.firstDate, dateNotValidMessage);
}

// Each test writes into a folder of its own that stands in for the program's folder.
class ReportFile : public ::testing::Test {
 protected:
  void SetUp() override {
    InitTextFiles();
    CreateScheduleTable();
  }

  std::string Report() const { return folder_.Read("Loan.txt"); }

  // Runs a whole computation from typed texts, as the payment field does, up to where the
  // program would end.
  void Compute(float amount, float rate, float years, const char* firstDate) {
    ScheduleState state = LoanWithPayment(amount, rate, years);
    DueDateState dueDates;
    AssignExpression(dueDates.firstPaymentDay, Substring(firstDate, 4, 2));
    const ScheduleCheck check = CheckSchedule(state, dueDates, firstDate);
    ShowCheck(check, messages_);
    if (!check.Passed()) return;
    ScheduleFile report;
    if (!report.Create()) {
      messages_.Show(errorTitle, reportNotCreatedMessage);
      messages_.EndProgram();
      return;
    }
    ScheduleRows rows(state, dueDates, firstDate);
    EXPECT_TRUE(rows.Run(report).IsClear());  // the first date was judged
    if (!report.Close()) messages_.Show(errorTitle, reportIncompleteMessage);
  }

  testing::ProgramFolderGuard folder_;
  testing::MessageRecorder messages_;
};

TEST_F(ReportFile, WorkedExampleByteForByte) {
  Compute(5000.0f, 4.0f, 1.0f, "01/31/2004");
  EXPECT_EQ(Report(),
            testing::ReadBytes(fs::path(QUENTARA_APP_TEST_DATA) / "worked_example_loan.txt"));
  EXPECT_TRUE(messages_.Shown().empty());
  EXPECT_EQ(TextAreaEnd(), TextAreaStart());
}

TEST_F(ReportFile, LongLoanOpensYearFortyOneForItsLastRow) {
  Compute(12345.67f, 18.0f, 40.0f, "01/15/2004");
  const std::string report = Report();
  // 41 year blocks (years 10 to 41 have two digits) and 481 rows; the last block has one.
  EXPECT_EQ(report.size(), 9u * 313 + 32u * 314 + 481u * 100);
  EXPECT_EQ(report.rfind("Year:41\r\n01/15/2044"), report.size() - 9 - 100);
}

struct RowLineCase {
  const char* name;
  const char* texts[9];
  const char* line;
};

// The lines the report is built of, each with the CR LF the file gives it.
class CapturedLines final : public ReportLines {
 public:
  void Line(const char* text) override { lines_.append(text).append("\r\n"); }
  const std::string& All() const { return lines_; }

 private:
  std::string lines_;
};

class RowLine : public ReportFile, public ::testing::WithParamInterface<RowLineCase> {};

TEST_P(RowLine, AlignsEachTextToItsColumn) {
  const RowLineCase& c = GetParam();
  RowRecord record;
  Text* fields[9] = {&record.dueDate,   &record.balance,       &record.rate,
                     &record.payment,   &record.interest,      &record.principal,
                     &record.totalPaid, &record.totalInterest, &record.totalPrincipal};
  for (int i = 0; i < 9; ++i) AssignText(*fields[i], c.texts[i]);
  CapturedLines lines;
  lines.AddRow(record, ScheduleState{});
  EXPECT_EQ(lines.All(), std::string(c.line) + "\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RowLine,
    ::testing::Values(
        RowLineCase{"ShortDateIsPadded",
                    {"1/5/2004", "1.00", "4.00", "2.00", "3.00", "4.00", "5.00", "6.00", "7.00"},
                    "  1/5/2004        1.00  4.00      2.00        3.00        4.00        5.00"
                    "        6.00        7.00"},
        RowLineCase{"LongTextsAreCutOnTheRight",
                    {"01/31/2004xyz", "1073741824.00", "1000.00", "12345678.90", "0.00", "0.00",
                     "0.00", "0.00", "0.00"},
                    "01/31/20041073741824.01000.012345678.9        0.00        0.00        0.00"
                    "        0.00        0.00"},
        RowLineCase{
            "AbsentTextsArePaddedBlanks",
            {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
            "                                                                         "
            "                         "}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ReportFile, YearBlockLines) {
  CapturedLines lines;
  lines.BeginYear(10);
  const std::string& report = lines.All();
  EXPECT_EQ(report, YearBlock(10));
  EXPECT_EQ(report.size(), 2u + 3 * 101 + 9);
}

TEST_F(ReportFile, ThirteenRowsMakeTwoYearBlocks) {
  Compute(5000.0f, 4.0f, 13.0f / 12.0f, "03/15/2004");
  std::string report = Report();
  EXPECT_EQ(report.size(), 2 * 313u + 13 * 100u);
  std::size_t second = report.find("Year:2\r\n");
  ASSERT_NE(second, std::string::npos);
  EXPECT_EQ(report.substr(second + 8, 10), "03/15/2005");
  EXPECT_EQ(report.size(), second + 8 + 100);
}

TEST_F(ReportFile, TooLongLoanIsRefusedAndTheEarlierReportKept) {
  std::ofstream(folder_ / "Loan.txt") << "an earlier report";
  Compute(5000.0f, 4.0f, 60.0f, "01/31/2004");
  EXPECT_EQ(Report(), "an earlier report");
  EXPECT_EQ(messages_.Shown(), std::vector<std::string>{tooLong});
}

TEST_F(ReportFile, FiftyYearsAndOneMonthIsStillScheduled) {
  Compute(5000.0f, 4.0f, 601.0f / 12.0f, "01/31/2004");
  EXPECT_TRUE(messages_.Shown().empty());
  std::string report = Report();
  EXPECT_EQ(report.rfind("Year:51\r\n"), report.size() - 9 - 100);
}

TEST_F(ReportFile, FullDiskIsReportedAfterTheFileIsClosed) {
  fs::create_symlink("/dev/full", folder_ / "Loan.txt");
  Compute(5000.0f, 4.0f, 1.0f, "01/31/2004");
  EXPECT_EQ(
      messages_.Shown(),
      std::vector<std::string>{"Error|Unable to write the whole schedule, LOAN.TXT is incomplete"});
}

TEST_F(ReportFile, FileThatCannotBeCreatedEndsTheProgram) {
  fs::create_directory(folder_ / "Loan.txt");
  Compute(5000.0f, 4.0f, 1.0f, "01/31/2004");
  EXPECT_TRUE(messages_.ProgramEnded());
  EXPECT_EQ(
      messages_.Shown(),
      std::vector<std::string>{"Error|Unable to create a file, be sure LOAN.TXT is not in use"});
}

struct CheckRow {
  const char* name;
  float years;
  const char* firstDate;
  bool laterComputation;  // an earlier computation of the run validated its first date
  std::vector<std::string> shown;
  bool ends;
};

class ScheduleChecks : public ::testing::TestWithParam<CheckRow> {};

// Every computation judges its first date before Loan.txt is touched, as the first of a run
// does; a refused loan is told first, and its date is not judged.
TEST_P(ScheduleChecks, JudgeTheLoanThenTheFirstDate) {
  const CheckRow& row = GetParam();
  DueDateState dueDates;
  dueDates.dateValidated = row.laterComputation;
  const ScheduleCheck check =
      CheckSchedule(LoanWithPayment(5000.0f, 4.0f, row.years), dueDates, row.firstDate);
  testing::MessageRecorder messages;
  ShowCheck(check, messages);
  EXPECT_EQ(messages.Shown(), row.shown);
  EXPECT_EQ(messages.ProgramEnded(), row.ends);
  EXPECT_EQ(check.Passed(), row.shown.empty());
  EXPECT_EQ(TextAreaEnd(), TextAreaStart());
}

INSTANTIATE_TEST_SUITE_P(
    FirstDates, ScheduleChecks,
    ::testing::Values(CheckRow{"ValidDate", 1, "01/31/2004", false, {}, false},
                      CheckRow{"ValidDateLater", 1, "01/31/2004", true, {}, false},
                      CheckRow{"MonthZeroStillServes", 1, "00/10/2004", false, {}, false},
                      CheckRow{"MonthThirteen", 1, "13/01/2004", false, {notValid}, true},
                      CheckRow{"MonthThirteenLater", 1, "13/10/2004", true, {notValid}, true},
                      CheckRow{"CommonYearLeapDay", 1, "02/29/2003", false, {notValid}, true},
                      CheckRow{"YearBefore1800Later", 1, "01/01/1799", true, {notValid}, true},
                      CheckRow{"ThirtyFirstOfApril",
                               1,
                               "04/31/2004",
                               false,
                               {"|There are only 30 days in April.", notValid},
                               true},
                      CheckRow{"ThirtyFirstOfJuneLater",
                               1,
                               "06/31/2004",
                               true,
                               {"|There are only 30 days in June.", notValid},
                               true},
                      CheckRow{"RefusalComesFirst", 60, "13/01/2004", false, {tooLong}, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ScheduleRecord, EveryRowIndexStaysInsideTheTable) {
  CreateScheduleTable();
  EXPECT_EQ(&ScheduleRecord(0), &ScheduleRecord(602));
  EXPECT_EQ(&ScheduleRecord(601), &ScheduleRecord(-1));
  EXPECT_NE(&ScheduleRecord(0), &ScheduleRecord(1));
  // -2147483648 leaves the remainder -352 of 602, which counts from the end: record 250.
  EXPECT_EQ(&ScheduleRecord(std::numeric_limits<std::int32_t>::min()), &ScheduleRecord(250));
}

}  // namespace
}  // namespace quentara
