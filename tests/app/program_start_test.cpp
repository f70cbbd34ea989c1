// The whole program, in-process, under the offscreen platform and through its real event
// loop: a scripted person types, tabs and clicks, and each scenario checks what the form
// shows, what the message boxes say and what Loan.txt holds. Every way out of the program
// ends the process with code 0, so each scenario runs as a death test; checks of what a
// fatal end leaves behind are made afterwards, in the test itself.
#include "app/program_start.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <QClipboard>
#include <QDate>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLineEdit>

#include "resources/embedded_picture.h"
#include "scenario_driver.h"
#include "tests/support/program_folder_guard.h"
#include "ui/fonts_pictures.h"
#include "ui/qt/event_queue.h"

namespace quentara {
namespace {

using namespace scenario;
namespace fs = std::filesystem;

// The worked example (the form's own figures and the first due date 01/31/2004): its
// payment and its report.
const std::string workedPayment = "425.75";
const std::string workedExample =
    testing::ReadBytes(fs::path(QUENTARA_APP_TEST_DATA) / "worked_example_loan.txt");

const std::string notValid = "Your date string is not valid, Please re-start program.";
const std::string tooLong =
    "The loan is too long: at most 601 monthly payments (50 years and 1 month) can be "
    "scheduled.";
const std::string tooShort =
    "The loan is too short: enter a length of at least 0.05 years (one monthly payment).";
const std::string notice =
    "Quentara works out the monthly payment and the full schedule of any loan.\r\n\r\nIn the "
    "future, I hope to implement a way to pay off your loan faster... by simply "
    "overwriting the amount in the 'Calculated Monthly Payment' field.\r\n\r\nYour loan length, "
    "etc. would be reduced accordingly.";

class ProgramScenario : public ::testing::Test {
 protected:
  void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }

  // Runs the program with the driver's script; never returns.
  [[noreturn]] void Run(Driver& driver) {
    testing::UseOffscreenScreen();
    static int argc = 1;
    static char name[] = "program_start_test";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);  // the window layer takes it over; the exit ends it
    driver.Start();
    RunProgram(argc, argv);
  }

  // The first steps of every scenario: the report folder, then the form, shown with the
  // focus in the date field.
  void Begin(Driver& driver) {
    driver.Do("use the scenario's folder", [this] { folder_.Use(); });
    driver.WaitUntil("the main form with the focus in the date field", [] {
      return MainWindow() != nullptr && MainGadget(dateField) != nullptr &&
             QApplication::focusWidget() == MainGadget(dateField);
    });
  }

  void FocusByClick(Driver& driver, int gadget) {
    driver.Do("click into gadget " + std::to_string(gadget),
              [gadget] { Click(MainGadget(gadget)); });
    driver.WaitUntil("the focus in gadget " + std::to_string(gadget),
                     [gadget] { return QApplication::focusWidget() == MainGadget(gadget); });
  }

  // Replaces the text of the field that has the focus.
  void Retype(Driver& driver, int gadget, const std::string& text) {
    driver.Do("select all", [] { PressKey(Qt::Key_A, Qt::ControlModifier); });
    driver.Do("type " + text, [text] { TypeText(text); });
    driver.WaitUntil("gadget " + std::to_string(gadget) + " to read " + text,
                     [gadget, text] { return GadgetText(gadget) == text; });
  }

  void Tab(Driver& driver, int expectedGadget) {
    driver.Do("press Tab", [] { PressKey(Qt::Key_Tab); });
    driver.WaitUntil("the focus in gadget " + std::to_string(expectedGadget), [expectedGadget] {
      return QApplication::focusWidget() == MainGadget(expectedGadget);
    });
  }

  // From the date field through amount, rate and length; the last Tab enters the payment
  // field, which starts the computation.
  void TabIntoPaymentField(Driver& driver) {
    Tab(driver, amountField);
    Tab(driver, rateField);
    Tab(driver, lengthField);
    driver.Do("press Tab into the payment field", [] { PressKey(Qt::Key_Tab); });
  }

  void WaitForReport(Driver& driver, std::size_t size) {
    driver.WaitUntil("Loan.txt of " + std::to_string(size) + " bytes", [this, size] {
      std::error_code error;
      return fs::file_size(report_, error) == size;
    });
  }

  // The computation of the worked example and what it leaves on the form.
  void ComputeWorkedExample(Driver& driver) {
    Retype(driver, dateField, "01/31/2004");
    TabIntoPaymentField(driver);
    ExpectWorkedExampleComputed(driver);
  }

  void ExpectWorkedExampleComputed(Driver& driver) {
    WaitForReport(driver, workedExample.size());
    driver.Expect("the payment field shows " + workedPayment,
                  [] { return GadgetText(paymentField) == workedPayment; });
    driver.Expect("Loan.txt holds the worked example",
                  [this] { return folder_.Read("Loan.txt") == workedExample; });
    driver.Expect("the print button is enabled",
                  [] { return MainGadget(printButton)->isEnabled(); });
    driver.Expect("the focus is in the amount field",
                  [] { return QApplication::focusWidget() == MainGadget(amountField); });
    driver.Expect("the temporary text area is given back",
                  [] { return TextAreaEnd() == TextAreaStart(); });
  }

  // The report, once removed, is not written again while the program goes on.
  void ExpectNoSecondComputation(Driver& driver) {
    driver.Do("remove Loan.txt", [this] { fs::remove(report_); });
    // A computation left pending would run with the next message.
    driver.Flush();
    driver.Expect("no second computation wrote Loan.txt again",
                  [this] { return !fs::exists(report_); });
  }

  void Quit(Driver& driver) {
    driver.Report();
    driver.Do("click Quit", [] { Click(MainGadget(quitButton)); });
  }

  // A message box after which the program ends: the result is reported before its OK.
  void AnswerFinalBox(Driver& driver, const std::string& title, const std::string& text) {
    driver.WaitUntil("the final message box", [] { return ModalBox().box != nullptr; });
    driver.Expect("the final box reads \"" + title + "\": \"" + text + "\"", [title, text] {
      ShownBox shown = ModalBox();
      if (shown.title == title && shown.text == text) return true;
      std::fprintf(stderr, "  shown: \"%s\": \"%s\"\n", shown.title.c_str(), shown.text.c_str());
      return false;
    });
    driver.Report();
    driver.Do("press OK", [] { PressBoxButton(ModalBox().box); });
  }

  // The program writes its report there and starts the editor there; the death test that
  // runs a scenario runs it in a child process, whose guard takes the same folder.
  testing::ProgramFolderGuard folder_;
  const std::filesystem::path report_ = folder_ / "Loan.txt";
};

// The picture the program carries: a complete 24-bit bottom-up bitmap file, 140 x 263.
TEST(EmbeddedPicture, IsACompleteBitmapFileOf140By263) {
  ASSERT_EQ(embeddedPictureSize, 110514u);
  auto word = [](std::size_t at) {
    return static_cast<std::uint32_t>(embeddedPicture[at]) |
           static_cast<std::uint32_t>(embeddedPicture[at + 1]) << 8;
  };
  auto dword = [&word](std::size_t at) { return word(at) | word(at + 2) << 16; };
  struct Field {
    const char* name;
    std::uint32_t value, expected;
  };
  for (const Field& field :
       {Field{"signature", word(0), 0x4D42},  // "BM"
        Field{"file size", dword(2), 110514}, Field{"reserved", dword(6), 0},
        Field{"pixel offset", dword(10), 54}, Field{"info header size", dword(14), 40},
        Field{"width", dword(18), 140}, Field{"height (bottom-up)", dword(22), 263},
        Field{"planes", word(26), 1}, Field{"bits per pixel", word(28), 24},
        Field{"compression", dword(30), 0}, Field{"image size", dword(34), 110460},
        Field{"x pixels per metre", dword(38), 3780}, Field{"y pixels per metre", dword(42), 3780},
        Field{"colours used", dword(46), 0}, Field{"important colours", dword(50), 0}}) {
    EXPECT_EQ(field.value, field.expected) << field.name;
  }
}

TEST_F(ProgramScenario, TabFromLengthIntoPaymentFieldComputesOnce) {
  Driver driver;
  Begin(driver);
  ComputeWorkedExample(driver);
  ExpectNoSecondComputation(driver);
  Quit(driver);
  EXPECT_EXIT(Run(driver), ::testing::ExitedWithCode(0), scenarioPassed);
}

TEST_F(ProgramScenario, ClickIntoPaymentFieldComputesOnce) {
  Driver driver;
  Begin(driver);
  Retype(driver, dateField, "01/31/2004");
  driver.Do("click into the payment field", [] { Click(MainGadget(paymentField)); });
  ExpectWorkedExampleComputed(driver);
  ExpectNoSecondComputation(driver);
  Quit(driver);
  EXPECT_EXIT(Run(driver), ::testing::ExitedWithCode(0), scenarioPassed);
}

TEST_F(ProgramScenario, MainFormOpensCentredWithEveryGadgetInPlace) {
  Driver driver;
  Begin(driver);
  driver.Expect("the form is 548 x 371, centred on the 1280 x 1024 screen", [] {
    const QRect geometry = MainWindow()->frameGeometry();
    if (geometry == QRect(366, 327, 548, 371)) return true;
    std::fprintf(stderr, "  main form at %d,%d, %d x %d\n", geometry.x(), geometry.y(),
                 geometry.width(), geometry.height());
    return false;
  });
  driver.Expect("the title is Quentara", [] { return MainWindow()->windowTitle() == "Quentara"; });
  for (const GadgetPlace& place : mainFormPlaces) {
    driver.Expect("gadget " + std::to_string(place.gadget) + " at its place", [place] {
      QWidget* control = MainGadget(place.gadget);
      return control != nullptr && control->geometry() == GadgetRect(place.gadget);
    });
  }
  const std::pair<int, const char*> texts[] = {
      {bannerText, "Vornicat"},
      {inputFrame, ""},
      {printButton, "Print Amortization Schedule"},
      {quitButton, "Quit"},
      {informationButton, "Information"},
      {amountLabel, "Loan Amount (Dollars):"},
      {subtitleText, "Amortization Tables"},
      {dateHint, "mm/dd/yyyy"},
      {rateLabel, "Interest Rate (%):"},
      {lengthLabel, "Length of Loan (Years):"},
      {paymentLabel, "Calculated Monthly Payment:"},
      {dateLabel, "Date of First Payment:"},
      {amountField, "5000.00"},
      {rateField, "4.00"},
      {lengthField, "1.0"},
      {paymentField, "blank"},
  };
  for (const auto& row : texts) {
    driver.Expect("gadget " + std::to_string(row.first) + " reads \"" + row.second + "\"",
                  [row] { return GadgetText(row.first) == row.second; });
  }
  driver.Expect("the date field holds today's date", [] {
    return GadgetText(dateField) == QDate::currentDate().toString("MM/dd/yyyy").toStdString();
  });
  driver.Expect("the picture shows the parrot", [] {
    // A pixel of the golden breast, inside the gadget's 2-pixel sunken edge.
    const QPoint at = GadgetRect(pictureGadget).topLeft() + QPoint(2 + 63, 2 + 130);
    const QColor shown = MainWindow()->grab(QRect(at, QSize(1, 1))).toImage().pixelColor(0, 0);
    const Color stored = PicturePixel(embeddedPictureNumber, 63, 130);
    return std::abs(shown.red() - static_cast<int>(stored & 0xFF)) <= 8 &&
           std::abs(shown.green() - static_cast<int>((stored >> 8) & 0xFF)) <= 8 &&
           std::abs(shown.blue() - static_cast<int>((stored >> 16) & 0xFF)) <= 8 &&
           shown.red() > 200 && shown.blue() < 100;
  });
  driver.Expect("the print button is disabled",
                [] { return !MainGadget(printButton)->isEnabled(); });
  // Font sizes in pixels at 96 dpi: 26 pt is 35, 12 pt is 16, 9 pt is 12.
  struct Font {
    int gadget;
    const char* family;
    int pixels;
  };
  for (const Font font : {Font{bannerText, "Highlight LET", 35}, Font{inputFrame, "Arial", 12},
                          Font{printButton, "Verdana", 12}, Font{subtitleText, "VAG Round", 16}}) {
    driver.Expect("gadget " + std::to_string(font.gadget) + " has " + font.family + " of " +
                      std::to_string(font.pixels) + " pixels",
                  [font] {
                    // A face this machine lacks stands in as Arial.
                    const QFont given = MainGadget(font.gadget)->font();
                    const QString asked = QString::fromLatin1(font.family);
                    const QString expected =
                        QFontDatabase::hasFamily(asked) ? asked : QStringLiteral("Arial");
                    return given.family() == expected &&
                           QFontInfo(given).pixelSize() == font.pixels &&
                           given.weight() == QFont::Normal;
                  });
  }
  Quit(driver);
  EXPECT_EXIT(Run(driver), ::testing::ExitedWithCode(0), scenarioPassed);
}

TEST_F(ProgramScenario, TypingInTheOtherFieldsComputesNothing) {
  Driver driver;
  Begin(driver);
  driver.Expect("the payment field shows blank",
                [] { return GadgetText(paymentField) == "blank"; });
  driver.Expect("the print button is disabled",
                [] { return !MainGadget(printButton)->isEnabled(); });
  Retype(driver, dateField, "03/15/2004");
  Tab(driver, amountField);
  Retype(driver, amountField, "1200.50");
  Tab(driver, rateField);
  Retype(driver, rateField, "6.5");
  Tab(driver, lengthField);
  Retype(driver, lengthField, "2");
  FocusByClick(driver, dateField);
  driver.Flush();
  driver.Expect("no Loan.txt", [this] { return !fs::exists(report_); });
  driver.Expect("the payment field still shows blank",
                [] { return GadgetText(paymentField) == "blank"; });
  driver.Expect("the print button is still disabled",
                [] { return !MainGadget(printButton)->isEnabled(); });
  Quit(driver);
  EXPECT_EXIT(Run(driver), ::testing::ExitedWithCode(0), scenarioPassed);
}

TEST_F(ProgramScenario, PastingTwoHundredThousandCharactersStopsAtTheLimit) {
  Driver driver;
  Begin(driver);
  FocusByClick(driver, amountField);
  driver.Do("put 200,000 characters on the clipboard",
            [] { QApplication::clipboard()->setText(QString(200000, QLatin1Char('7'))); });
  driver.Do("paste with Ctrl+V", [] { PressKey(Qt::Key_V, Qt::ControlModifier); });
  driver.WaitUntil("the amount field holds 32767 characters", [] {
    return static_cast<QLineEdit*>(MainGadget(amountField))->text().size() == 32767;
  });
  driver.Do("click Information", [] { Click(MainGadget(informationButton)); });
  driver.WaitUntil("the information window", [] { return InformationWindow() != nullptr; });
  Quit(driver);
  EXPECT_EXIT(Run(driver), ::testing::ExitedWithCode(0), scenarioPassed);
}

TEST_F(ProgramScenario, DayPieceAbove31EndsBeforeAnyFile) {
  Driver driver;
  Begin(driver);
  Retype(driver, dateField, "01/32/2004");
  TabIntoPaymentField(driver);
  AnswerFinalBox(driver, "", notValid);
  EXPECT_EXIT(Run(driver), ::testing::ExitedWithCode(0), scenarioPassed);
  EXPECT_FALSE(fs::exists(report_));
}

TEST_F(ProgramScenario, InvalidFirstDateEndsBeforeLoanTxtIsTouched) {
  std::ofstream(report_) << "an earlier report";
  Driver driver;
  Begin(driver);
  Retype(driver, dateField, "02/29/2005");
  TabIntoPaymentField(driver);
  AnswerFinalBox(driver, "", notValid);
  EXPECT_EXIT(Run(driver), ::testing::ExitedWithCode(0), scenarioPassed);
  EXPECT_EQ(folder_.Read("Loan.txt"), "an earlier report");
}

TEST_F(ProgramScenario, DayThirtyOneInAprilWarnsThenEnds) {
  std::ofstream(report_) << "an earlier report";
  Driver driver;
  Begin(driver);
  Retype(driver, dateField, "04/31/2004");
  TabIntoPaymentField(driver);
  driver.AnswerBox("", "There are only 30 days in April.");
  AnswerFinalBox(driver, "", notValid);
  EXPECT_EXIT(Run(driver), ::testing::ExitedWithCode(0), scenarioPassed);
  EXPECT_EQ(folder_.Read("Loan.txt"), "an earlier report");
}

TEST_F(ProgramScenario, ReportThatCannotBeCreatedEnds) {
  std::error_code ignored;  // the death test's second run finds the folder made
  fs::create_directory(report_, ignored);
  Driver driver;
  Begin(driver);
  Retype(driver, dateField, "01/31/2004");
  TabIntoPaymentField(driver);
  driver.WaitUntil("a message box", [] { return ModalBox().box != nullptr; });
  driver.Expect("the payment is shown before the report is created",
                [] { return GadgetText(paymentField) == workedPayment; });
  AnswerFinalBox(driver, "Error", "Unable to create a file, be sure LOAN.TXT is not in use");
  EXPECT_EXIT(Run(driver), ::testing::ExitedWithCode(0), scenarioPassed);
  EXPECT_TRUE(fs::is_directory(report_));
  EXPECT_TRUE(fs::is_empty(report_));
}

TEST_F(ProgramScenario, SecondComputationIsCheckedToo) {
  Driver driver;
  Begin(driver);
  ComputeWorkedExample(driver);
  FocusByClick(driver, dateField);
  Retype(driver, dateField, "13/10/2004");
  TabIntoPaymentField(driver);
  AnswerFinalBox(driver, "", notValid);
  EXPECT_EXIT(Run(driver), ::testing::ExitedWithCode(0), scenarioPassed);
  EXPECT_EQ(folder_.Read("Loan.txt"), workedExample);
}

TEST_F(ProgramScenario, LoanLongerThanFiftyYearsIsRefused) {
  Driver driver;
  Begin(driver);
  ComputeWorkedExample(driver);
  // Lengths beyond the 32-bit month count and the infinite 1e39 are refused like 60 years;
  // the payment field is emptied before the refusal is shown.
  for (const char* row : {"60", "1e9", "2e8", "1e39"}) {
    const std::string length = row;
    FocusByClick(driver, lengthField);
    Retype(driver, lengthField, length);
    driver.Do("press Tab into the payment field", [] { PressKey(Qt::Key_Tab); });
    driver.WaitUntil("a message box", [] { return ModalBox().box != nullptr; });
    driver.Expect("for " + length + " the payment field is empty",
                  [] { return GadgetText(paymentField).empty(); });
    driver.AnswerBox("Error", tooLong);
    driver.Expect("after " + length + " the earlier report is untouched",
                  [this] { return folder_.Read("Loan.txt") == workedExample; });
    driver.Expect("after " + length + " the print button is still enabled",
                  [] { return MainGadget(printButton)->isEnabled(); });
  }
  driver.Expect("the focus is in the amount field",
                [] { return QApplication::focusWidget() == MainGadget(amountField); });
  Quit(driver);
  EXPECT_EXIT(Run(driver), ::testing::ExitedWithCode(0), scenarioPassed);
}

TEST_F(ProgramScenario, RefusalsFirstKeepPrintDisabledAndTheEarlierReport) {
  Driver driver;
  Begin(driver);
  FocusByClick(driver, lengthField);
  Retype(driver, lengthField, "1e9");
  driver.Do("press Tab into the payment field", [] { PressKey(Qt::Key_Tab); });
  driver.AnswerBox("Error", tooLong);
  driver.Expect("the print button is disabled",
                [] { return !MainGadget(printButton)->isEnabled(); });
  driver.Expect("no Loan.txt", [this] { return !fs::exists(report_); });
  // A length of less than one month is refused the same way.
  driver.Do("put an earlier report in place",
            [this] { std::ofstream(report_) << "an earlier report"; });
  FocusByClick(driver, lengthField);
  Retype(driver, lengthField, "-1");
  driver.Do("press Tab into the payment field", [] { PressKey(Qt::Key_Tab); });
  driver.WaitUntil("a message box", [] { return ModalBox().box != nullptr; });
  driver.Expect("for -1 the payment field is empty",
                [] { return GadgetText(paymentField).empty(); });
  driver.AnswerBox("Error", tooShort);
  driver.Expect("the earlier report is untouched",
                [this] { return folder_.Read("Loan.txt") == "an earlier report"; });
  driver.Expect("the print button is still disabled",
                [] { return !MainGadget(printButton)->isEnabled(); });
  Quit(driver);
  EXPECT_EXIT(Run(driver), ::testing::ExitedWithCode(0), scenarioPassed);
}

TEST_F(ProgramScenario, FailedWritesAreReported) {
  std::error_code ignored;  // the death test's second run finds the link made
  fs::create_symlink("/dev/full", report_, ignored);
  Driver driver;
  Begin(driver);
  Retype(driver, dateField, "01/31/2004");
  TabIntoPaymentField(driver);
  driver.AnswerBox("Error", "Unable to write the whole schedule, LOAN.TXT is incomplete");
  driver.Expect("the payment is shown", [] { return GadgetText(paymentField) == workedPayment; });
  driver.Flush();
  driver.Expect("the program goes on", [] { return MainWindow() != nullptr; });
  Quit(driver);
  EXPECT_EXIT(Run(driver), ::testing::ExitedWithCode(0), scenarioPassed);
}

// Whether the rectangle of a label shows its text colour on its back colour: the corner is
// the back colour, every pixel lies on the blend from one to the other (the text's smoothed
// edges), the text covers a fair number of pixels, and some come close to the text colour
// itself (small text has few fully covered pixels).
std::string LabelColorProblem(QWidget* window, const QRect& rect, QColor text, QColor back) {
  if (window == nullptr) return "no window";
  const QImage image = window->grab(rect).toImage().convertToFormat(QImage::Format_RGB32);
  auto describe = [](QColor c) {
    return std::to_string(c.red()) + "," + std::to_string(c.green()) + "," +
           std::to_string(c.blue());
  };
  const QColor corner = image.pixelColor(1, 1);
  if (corner != back) return "corner is " + describe(corner) + ", expected " + describe(back);
  const double dr = text.red() - back.red(), dg = text.green() - back.green(),
               db = text.blue() - back.blue();
  const double length2 = dr * dr + dg * dg + db * db;
  int textPixels = 0, fullPixels = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      // Where the pixel lies on the blend from back (0) to text (1), and how far off it.
      const double t = std::clamp(((c.red() - back.red()) * dr + (c.green() - back.green()) * dg +
                                   (c.blue() - back.blue()) * db) /
                                      length2,
                                  0.0, 1.0);
      const double er = c.red() - (back.red() + t * dr), eg = c.green() - (back.green() + t * dg),
                   eb = c.blue() - (back.blue() + t * db);
      if (std::sqrt(er * er + eg * eg + eb * eb) > 40) {
        return "pixel " + std::to_string(x) + "," + std::to_string(y) + " is " + describe(c) +
               ", off the blend of " + describe(back) + " and " + describe(text);
      }
      if (t > 0.5) ++textPixels;
      if (t > 0.8) ++fullPixels;
    }
  }
  if (textPixels < 20) return "only " + std::to_string(textPixels) + " pixels of text";
  if (fullPixels == 0) return "no pixel near the text colour " + describe(text);
  return {};
}

TEST_F(ProgramScenario, LabelsArePaintedInTheirColours) {
  const QColor maroon(128, 0, 0), paleYellow(255, 253, 183), lavender(230, 230, 242);
  Driver driver;
  Begin(driver);
  driver.Flush();
  struct Label {
    int gadget;
    QColor back;
  };
  for (Label label :
       {Label{bannerText, paleYellow}, Label{subtitleText, paleYellow},
        Label{amountLabel, lavender}, Label{dateHint, lavender}, Label{rateLabel, lavender},
        Label{lengthLabel, lavender}, Label{paymentLabel, lavender}, Label{dateLabel, lavender}}) {
    driver.Expect(
        "label " + std::to_string(label.gadget) + " in maroon on its colour", [label, maroon] {
          // The date field covers the last row of the date hint above it.
          QRect rect = GadgetRect(label.gadget);
          if (label.gadget == dateHint) rect.setHeight(15);
          const std::string problem = LabelColorProblem(MainWindow(), rect, maroon, label.back);
          if (!problem.empty()) std::fprintf(stderr, "  %s\n", problem.c_str());
          return problem.empty();
        });
  }
  driver.Expect("the window's own background is lavender", [lavender] {
    const QImage image = MainWindow()->grab(QRect(2, 2, 4, 4)).toImage();
    return image.pixelColor(1, 1) == lavender;
  });
  Quit(driver);
  EXPECT_EXIT(Run(driver), ::testing::ExitedWithCode(0), scenarioPassed);
}

TEST_F(ProgramScenario, InformationWindowOpensOnceAndClosesAlone) {
  Driver driver;
  Begin(driver);
  driver.Do("click Information", [] { Click(MainGadget(informationButton)); });
  driver.WaitUntil("the information window", [] { return InformationWindow() != nullptr; });
  // Centred on the main form (548 x 371 at 366, 327 on the 1280 x 1024 screen; no frames
  // without a window manager): 366 - 400 / 2 + 548 / 2 and 327 - 300 / 2 + 371 / 2.
  driver.Expect("it is centred on the main form, 400 x 300", [] {
    const QRect geometry = InformationWindow()->frameGeometry();
    if (geometry == QRect(440, 362, 400, 300)) return true;
    std::fprintf(stderr, "  information window at %d,%d, %d x %d\n", geometry.x(), geometry.y(),
                 geometry.width(), geometry.height());
    return false;
  });
  driver.Expect("the heading reads General Information",
                [] { return GadgetText(informationHeading) == "General Information"; });
  driver.Expect("the notice reads as written",
                [] { return GadgetText(informationNotice) == notice; });
  driver.Expect("the notice is 280 characters with four CR LF pairs", [] {
    const std::string text = GadgetText(informationNotice);
    return text.size() == 280 && std::count(text.begin(), text.end(), '\r') == 4 &&
           std::count(text.begin(), text.end(), '\n') == 4;
  });
  driver.Expect("the heading is blue on light sky blue", [] {
    QWidget* window = InformationWindow();
    const std::string problem = LabelColorProblem(window, QRect(100, 10, 185, 20),
                                                  QColor(0, 0, 255), QColor(193, 224, 255));
    if (!problem.empty()) std::fprintf(stderr, "  %s\n", problem.c_str());
    return problem.empty();
  });

  auto first = std::make_shared<QPointer<QWidget>>();
  driver.Do("click Information again", [first] {
    *first = InformationWindow();
    Click(MainGadget(informationButton));
  });
  driver.WaitUntil("a new information window in place of the first", [first] {
    return InformationWindow() != nullptr && InformationWindow() != first->data();
  });
  driver.Expect("one information window", [] { return VisibleWindowsTitled("Information") == 1; });
  driver.Expect("the notice is there again",
                [] { return GadgetText(informationNotice) == notice; });

  driver.Do("press its close box", [] { PressCloseBox(InformationWindow()); });
  driver.WaitUntil("the information window to close",
                   [] { return VisibleWindowsTitled("Information") == 0; });
  driver.Flush();
  driver.Expect("the main form stays", [] { return MainWindow() != nullptr; });

  driver.Do("click Information once more", [] { Click(MainGadget(informationButton)); });
  driver.WaitUntil("the information window", [] { return InformationWindow() != nullptr; });
  Quit(driver);  // while the information window is open
  EXPECT_EXIT(Run(driver), ::testing::ExitedWithCode(0), scenarioPassed);
}

TEST_F(ProgramScenario, PrintButtonNotesThenWaitsForTheEditor) {
  // A stand-in editor, first on the search path, that records how it was started and runs
  // until the scenario lets it end.
  const fs::path folder = folder_.Path();
  const std::string bin = (folder / "bin").string();
  fs::create_directories(bin);
  const std::string editor = bin + "/notepad.exe";
  std::ofstream(editor) << "#!/bin/sh\n"
                           "here=$(cd \"$(dirname \"$0\")/..\" && pwd)\n"
                           "{ pwd; echo \"$#\"; for a in \"$@\"; do echo \"$a\"; done; } "
                           "> \"$here/editor-call.txt\"\n"
                           ": > \"$here/editor-running\"\n"
                           "tries=0\n"
                           "while [ ! -e \"$here/editor-release\" ] && [ $tries -lt 600 ]; do\n"
                           "  sleep 0.1; tries=$((tries + 1))\n"
                           "done\n";
  fs::permissions(editor, fs::perms::owner_all);

  Driver driver;
  Begin(driver);
  ComputeWorkedExample(driver);
  driver.Do("click Print Amortization Schedule", [] { Click(MainGadget(printButton)); });
  driver.WaitUntil("the note", [] { return ModalBox().box != nullptr; });
  driver.Expect("the editor has not started before the note is answered",
                [folder] { return !fs::exists(folder / "editor-call.txt"); });
  driver.AnswerBox("Please Note",
                   "For proper alignment use a small non-proportional font (e.g. Courier 8) "
                   "with NotePad");
  driver.WaitUntil("the editor to start",
                   [folder] { return fs::exists(folder / "editor-running"); });
  driver.Expect("the editor got Loan.txt in the program's folder", [folder] {
    const std::string call = testing::ReadBytes(folder / "editor-call.txt");
    if (call == folder.string() + "\n1\nLoan.txt\n") return true;
    std::fprintf(stderr, "  editor call: %s\n", call.c_str());
    return false;
  });
  // The close request is kept until the editor has ended; then it ends the program.
  driver.Do("press the main form's close box", [] { PressCloseBox(MainWindow()); });
  driver.Expect("no close request is raised while the editor runs",
                [] { return PendingEvent() != CloseRequestEvent; });
  driver.Report();
  driver.Do("let the editor end", [folder] { std::ofstream(folder / "editor-release"); });
  EXPECT_EXIT(
      {
        const char* path = std::getenv("PATH");
        setenv("PATH", (bin + ":" + (path != nullptr ? path : "/usr/bin:/bin")).c_str(), 1);
        Run(driver);
      },
      ::testing::ExitedWithCode(0), scenarioPassed);
}

TEST_F(ProgramScenario, CloseBoxOfTheMainFormEnds) {
  Driver driver;
  Begin(driver);
  driver.Report();
  driver.Do("press the main form's close box", [] { PressCloseBox(MainWindow()); });
  EXPECT_EXIT(Run(driver), ::testing::ExitedWithCode(0), scenarioPassed);
}

}  // namespace
}  // namespace quentara
