// The report file byte by byte: year blocks, row lines and the whole worked example.

#include "calc/schedule_report.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "calc/due_dates.h"
#include "calc/message_texts.h"
#include "files/program_folder.h"
#include "files/text_file.h"
#include "loan_terms.h"
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

std::string YearBlock(int year) {
  return "\r\n" + totals + "\r\n" + columns + "\r\n" + underline +
         "\r\nYear:" + std::to_string(year) + "\r\n";
}

const char* const workedExampleRows[] = {
    "01/31/2004     4590.92  4.00    425.75       16.67      409.08      425.75       16.67      "
    "409.08",
    "02/29/2004     4180.47  4.00    425.75       15.30      410.45      851.50       31.97      "
    "819.53",
    "03/31/2004     3768.66  4.00    425.75       13.93      411.81     1277.25       45.90     "
    "1231.34",
    "04/30/2004     3355.47  4.00    425.75       12.56      413.19     1703.00       58.47     "
    "1644.53",
    "05/31/2004     2940.91  4.00    425.75       11.18      414.56     2128.75       69.65     "
    "2059.09",
    "06/30/2004     2524.96  4.00    425.75        9.80      415.95     2554.50       79.45     "
    "2475.04",
    "07/31/2004     2107.63  4.00    425.75        8.42      417.33     2980.25       87.87     "
    "2892.37",
    "08/31/2004     1688.90  4.00    425.75        7.03      418.72     3405.99       94.90     "
    "3311.10",
    "09/30/2004     1268.78  4.00    425.75        5.63      420.12     3831.74      100.53     "
    "3731.22",
    "10/31/2004      847.26  4.00    425.75        4.23      421.52     4257.49      104.76     "
    "4152.74",
    "11/30/2004      424.34  4.00    425.75        2.82      422.93     4683.24      107.58     "
    "4575.66",
    "12/31/2004       -0.00  4.00    425.75        1.41      424.34     5108.99      108.99     "
    "5000.00",
};

// What a computation would show, each as its message box ("title|text"), and whether the
// program would have ended.
std::vector<std::string> shownMessages;
bool programEnded = false;

void Show(const char* title, const char* text) {
  shownMessages.push_back(std::string(title) + "|" + text);
}

// Each test writes into a folder of its own that stands in for the program's folder.
class ReportFile : public ::testing::Test {
 protected:
  void SetUp() override {
    oldDirectory_ = fs::current_path();
    // A fresh folder of its own, removed whole afterwards (the names of parameterised tests
    // hold a '/', so they make no folder name).
    std::string pattern = (fs::temp_directory_path() / "quentara-report.XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    SetProgramFolder((folder_.string() + "/").c_str());
    InitTextFiles();
    CreateScheduleTable();
    shownMessages.clear();
    programEnded = false;
  }
  void TearDown() override {
    fs::current_path(oldDirectory_);
    fs::remove_all(folder_);
  }

  std::string Report() const {
    std::ifstream in(folder_ / "Loan.txt", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  // Runs a whole computation from typed texts, as the payment field does, up to where the
  // program would end.
  void Compute(float amount, float rate, float years, const char* firstDate) {
    ScheduleState state = LoanWithPayment(amount, rate, years);
    char* day = Substring(firstDate, 4, 2);
    AssignExpression(dueDates_.firstPaymentDay, day);
    if (const char* refusal = LoanRefusalMessage(state)) return Show(errorTitle, refusal);
    ScheduleFile report;
    if (!report.Create()) {
      Show(errorTitle, reportNotCreatedMessage);
      programEnded = true;
      return;
    }
    ScheduleRows rows(state, dueDates_, firstDate);
    for (DateOutcome said = rows.Run(report); !said.IsClear(); said = rows.Run(report)) {
      if (said.message != nullptr) Show("", said.message);
      if (said.fatal) {
        Show("", dateNotValidMessage);
        programEnded = true;
        report.Close();  // as the process's end would
        return;
      }
    }
    if (!report.Close()) Show(errorTitle, reportIncompleteMessage);
  }

  DueDateState dueDates_;
  fs::path oldDirectory_;
  fs::path folder_;
};

TEST_F(ReportFile, WorkedExampleByteForByte) {
  Compute(5000.0f, 4.0f, 1.0f, "01/31/2004");
  std::string expected = YearBlock(1);
  for (const char* row : workedExampleRows) expected += std::string(row) + "\r\n";
  std::string report = Report();
  EXPECT_EQ(report.size(), 1513u);
  EXPECT_EQ(report, expected);
  EXPECT_TRUE(shownMessages.empty());
  EXPECT_EQ(TextAreaEnd(), TextAreaStart());
}

TEST_F(ReportFile, LongLoanOpensYearFortyOneForItsLastRow) {
  Compute(12345.67f, 18.0f, 40.0f, "01/15/2004");
  std::string report = Report();
  // 41 year blocks (years 10 to 41 have two digits) and 481 rows.
  EXPECT_EQ(report.size(), 9u * 313 + 32u * 314 + 481u * 100);
  std::size_t lastBlock = report.rfind("Year:");
  ASSERT_NE(lastBlock, std::string::npos);
  std::string tail = report.substr(lastBlock);
  EXPECT_EQ(tail.substr(0, 9), "Year:41\r\n");
  EXPECT_EQ(tail.size(), 9u + 100u);  // one row after the block
  EXPECT_EQ(tail.substr(9 + 28, 10), "      3.74");
  EXPECT_EQ(tail.substr(9, 10), "01/15/2044");
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
  EXPECT_EQ(totals.size(), 99u);
  EXPECT_EQ(columns.size(), 99u);
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
  ASSERT_EQ(shownMessages.size(), 1u);
  EXPECT_EQ(shownMessages[0],
            "Error|The loan is too long: at most 601 monthly payments (50 years and 1 month) can "
            "be scheduled.");
}

TEST_F(ReportFile, FiftyYearsAndOneMonthIsStillScheduled) {
  Compute(5000.0f, 4.0f, 601.0f / 12.0f, "01/31/2004");
  EXPECT_TRUE(shownMessages.empty());
  std::string report = Report();
  EXPECT_EQ(report.rfind("Year:51\r\n"), report.size() - 9 - 100);
}

TEST_F(ReportFile, FullDiskIsReportedAfterTheFileIsClosed) {
  fs::create_symlink("/dev/full", folder_ / "Loan.txt");
  Compute(5000.0f, 4.0f, 1.0f, "01/31/2004");
  ASSERT_EQ(shownMessages.size(), 1u);
  EXPECT_EQ(shownMessages[0], "Error|Unable to write the whole schedule, LOAN.TXT is incomplete");
}

TEST_F(ReportFile, FileThatCannotBeCreatedEndsTheProgram) {
  fs::create_directory(folder_ / "Loan.txt");
  Compute(5000.0f, 4.0f, 1.0f, "01/31/2004");
  EXPECT_TRUE(programEnded);
  EXPECT_EQ(shownMessages, std::vector<std::string>{
                               "Error|Unable to create a file, be sure LOAN.TXT is not in use"});
}

TEST_F(ReportFile, InvalidFirstDateKeepsTheFirstRowAndEnds) {
  Compute(5000.0f, 4.0f, 1.0f, "02/29/2005");
  EXPECT_TRUE(programEnded);
  EXPECT_EQ(shownMessages,
            std::vector<std::string>{"|Your date string is not valid, Please re-start program."});
  std::string report = Report();
  ASSERT_EQ(report.size(), 313u + 100u);
  EXPECT_EQ(report.substr(313, 10), "02/29/2005");
}

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
