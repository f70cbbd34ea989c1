// Message boxes and starting other programs.

#include "ui/outside.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "files/program_folder.h"
#include "tests/ui/layer_fixture.h"
#include "ui/gadgets.h"

namespace quentara::testing {
namespace {

namespace fs = std::filesystem;

class MessageBoxes : public LayerTest {
 protected:
  void SetUp() override {
    LayerTest::SetUp();
    window_ = OpenActiveWindow();
    CreateStringGadget(13, 10, 10, 80, 20, "5000.00");
    CreateButtonGadget(3, 10, 40, 80, 25, "Print");
    ASSERT_TRUE(WaitUntilActive(window_));
    FocusGadget(13);
    ProcessFor(std::chrono::milliseconds(10));
  }
  QWidget* window_ = nullptr;
};

// The style of some desktops, which puts icons on the buttons of dialogs.
class IconButtonsStyle final : public QProxyStyle {
 public:
  IconButtonsStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* answer) const override {
    if (hint == SH_DialogButtonBox_ButtonsHaveIcons) return 1;
    return QProxyStyle::styleHint(hint, option, widget, answer);
  }
};

TEST_F(MessageBoxes, ShowTheTextWithOneOkButtonWithoutIconAndAnswerOne) {
  QApplication::setStyle(new IconButtonsStyle);
  QString title = QStringLiteral("unset");
  QString text;
  int buttons = 0;
  bool okHasIcon = true;
  AnswerNextMessageBox([&](QMessageBox* box) {
    title = box->windowTitle();
    text = box->text();
    buttons = static_cast<int>(box->buttons().size());
    okHasIcon = !box->button(QMessageBox::Ok)->icon().isNull();
  });
  EXPECT_EQ(ShowMessageBox("", "First line\nsecond line", 0), 1);
  EXPECT_EQ(title, QString());
  EXPECT_EQ(text, QStringLiteral("First line\nsecond line"));
  EXPECT_EQ(buttons, 1);
  EXPECT_FALSE(okHasIcon);
  QApplication::setStyle(QStringLiteral("Fusion"));
}

TEST_F(MessageBoxes, GoWithTheirOwnerAndAnswerNothing) {
  // The owner form is closed (and deleted) while its box is up.
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&poll] {
    if (OpenMessageBox() == nullptr) return;
    poll.stop();
    CloseFormWindow(0);
  });
  poll.start(10);
  EXPECT_EQ(ShowMessageBox("Error", "text", 0), 0);
  EXPECT_EQ(FormWindowWidget(0), nullptr);
}

TEST_F(MessageBoxes, BlockTheirOwnerAndGiveItBackItsFocus) {
  std::int32_t clicksWhileUp = -1;
  QWidget* button = GadgetControlWidget(3);
  AnswerNextMessageBox([&](QMessageBox* box) {
    EXPECT_EQ(box->parentWidget(), window_);
    ForgetPendingEvent();
    SendClick(button);
    ProcessFor(std::chrono::milliseconds(20));
    clicksWhileUp = Events().pendingEvent == GadgetEvent && LastEventGadget() == 3 ? 1 : 0;
  });
  EXPECT_EQ(ShowMessageBox("Please Note", "For proper alignment use a small font", 0), 1);
  EXPECT_EQ(clicksWhileUp, 0);
  EXPECT_TRUE(WaitUntilActive(window_));
  EXPECT_EQ(QApplication::focusWidget(), GadgetControlWidget(13));
}

TEST_F(MessageBoxes, WithoutAnActiveWindowHaveNoOwner) {
  window_->hide();
  ProcessUntil([] { return QApplication::activeWindow() == nullptr; });
  QWidget* parent = window_;
  AnswerNextMessageBox([&](QMessageBox* box) { parent = box->parentWidget(); });
  EXPECT_EQ(ShowMessageBox("Error", "text", 0), 1);
  EXPECT_EQ(parent, nullptr);
}

// A stand-in program that writes its arguments and working directory into a record file,
// waits a moment and then writes "ended".
void WriteRecorder(const fs::path& path, const fs::path& record) {
  fs::create_directories(path.parent_path());
  std::ofstream script(path);
  script << "#!/bin/sh\n"
         << "echo \"args:$*\" > '" << record.string() << "'\n"
         << "echo \"cwd:$(pwd)\" >> '" << record.string() << "'\n"
         << "sleep 0.4\n"
         << "echo ended >> '" << record.string() << "'\n";
  script.close();
  fs::permissions(path, fs::perms::owner_all);
}

std::string ReadAll(const fs::path& path) {
  std::ifstream file(path);
  std::stringstream content;
  content << file.rdbuf();
  return content.str();
}

class StartingPrograms : public LayerTest {
 protected:
  void SetUp() override {
    LayerTest::SetUp();
    previousDirectory_ = fs::current_path();
    root_ = fs::temp_directory_path() / ("quentara-start-" + std::to_string(getpid()));
    fs::remove_all(root_);
    fs::create_directories(root_ / "folder");
    record_ = root_ / "record.txt";
    SetProgramFolder((root_ / "folder").string().append("/").c_str());
  }
  void TearDown() override {
    fs::current_path(previousDirectory_);
    SetProgramFolder("");
    fs::remove_all(root_);
    LayerTest::TearDown();
  }
  std::string Record() const { return ReadAll(record_); }

  fs::path previousDirectory_;
  fs::path root_;
  fs::path record_;
};

TEST_F(StartingPrograms, NotepadRunsInTheProgramFolderAndTheCallWaitsForIt) {
  WriteRecorder(root_ / "bin" / "notepad.exe", record_);
  EnvironmentGuard path("PATH", (root_ / "bin").string() + ":/usr/bin:/bin");
  fs::current_path(root_);
  QElapsedTimer clock;
  clock.start();
  const PlatformHandle process = StartProgram("notepad.exe", "Loan.txt", "", StartAndWait);
  EXPECT_GE(clock.elapsed(), 400);
  EXPECT_GT(process, 1u);
  EXPECT_EQ(Record(), "args:Loan.txt\ncwd:" + (root_ / "folder").string() + "\nended\n");
  // The program folder stays the current directory.
  EXPECT_EQ(fs::current_path(), root_ / "folder");
}

TEST_F(StartingPrograms, WithoutFlagOneTheCallReturnsAtOnce) {
  WriteRecorder(root_ / "bin" / "notepad.exe", record_);
  EnvironmentGuard path("PATH", (root_ / "bin").string() + ":/usr/bin:/bin");
  QElapsedTimer clock;
  clock.start();
  EXPECT_GT(StartProgram("notepad.exe", "Loan.txt", nullptr, 0), 1u);
  EXPECT_LT(clock.elapsed(), 400);
  ASSERT_TRUE(ProcessUntil([this] { return Record().find("ended") != std::string::npos; }));
  CollectEndedPrograms();
}

TEST_F(StartingPrograms, AnEditorStandsInWhenThereIsNoNotepad) {
  WriteRecorder(root_ / "bin" / "mousepad", record_);
  EnvironmentGuard path("PATH", (root_ / "bin").string() + ":/usr/bin:/bin");
  EXPECT_GT(StartProgram("notepad.exe", "Loan.txt", "", StartAndWait | StartHidden), 1u);
  EXPECT_EQ(Record(),
            "args:--disable-server Loan.txt\ncwd:" + (root_ / "folder").string() + "\nended\n");
}

struct RuleCase {
  const char* name;
  std::string program;
  const char* directory;
  std::string expected;
};

inline void PrintTo(const RuleCase& row, std::ostream* out) {
  *out << row.name;
}

class StartingDirectories : public ::testing::TestWithParam<RuleCase> {};

TEST_P(StartingDirectories, FollowTheRules) {
  EXPECT_EQ(StartingDirectory(GetParam().program.c_str(), GetParam().directory),
            GetParam().expected);
}

const std::string longFolder = "/" + std::string(509, 'f');  // 510 characters

INSTANTIATE_TEST_SUITE_P(
    Rows, StartingDirectories,
    ::testing::Values(RuleCase{"ProgramsOwnFolder", "/opt/tools/app", "", "/opt/tools/"},
                      RuleCase{"AbsentDirectory", "/opt/tools/app", nullptr, "/opt/tools/"},
                      RuleCase{"DirectoryWins", "/opt/tools/app", "/work", "/work"},
                      RuleCase{"OnlySeparatorFirstGivesNone", "/app", "", ""},
                      RuleCase{"BareNameGivesNone", "notepad.exe", "", ""},
                      RuleCase{"RelativeFolder", "tools/app", "", "tools/"},
                      RuleCase{"FolderOf510Fits", longFolder + "/app", "", longFolder + "/"},
                      RuleCase{"FolderOf511GivesNone", longFolder + "g/app", "", ""},
                      RuleCase{"NoProgram", "", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

struct DirectoryCase {
  const char* name;
  const char* program;    // relative to the test's root; "/" separators
  const char* directory;  // relative to the test's root, nullptr for none
  const char* expected;   // working directory relative to the test's root
};

inline void PrintTo(const DirectoryCase& row, std::ostream* out) {
  *out << row.name;
}

class WorkingDirectories : public StartingPrograms,
                           public ::testing::WithParamInterface<DirectoryCase> {};

TEST_P(WorkingDirectories, FollowTheRules) {
  const DirectoryCase& row = GetParam();
  WriteRecorder(root_ / "tools" / "app", record_);
  fs::create_directories(root_ / "work");
  const std::string program = (root_ / row.program).string();
  const std::string directory = row.directory != nullptr ? (root_ / row.directory).string() : "";
  EXPECT_GT(StartProgram(program.c_str(), "x", row.directory != nullptr ? directory.c_str() : "",
                         StartAndWait),
            1u);
  const std::string expected = fs::weakly_canonical(root_ / row.expected).string();
  EXPECT_EQ(Record(), "args:x\ncwd:" + expected + "\nended\n");
}

INSTANTIATE_TEST_SUITE_P(
    Rows, WorkingDirectories,
    ::testing::Values(DirectoryCase{"ThePrograms Folder", "tools/app", nullptr, "tools"},
                      DirectoryCase{"TheDirectoryGiven", "tools/app", "work", "work"}),
    [](const auto& info) {
      std::string name = info.param.name;
      name.erase(std::remove(name.begin(), name.end(), ' '), name.end());
      return name;
    });

TEST_F(StartingPrograms, AProgramThatCannotBeFoundIsReportedAndGivesZero) {
  EnvironmentGuard path("PATH", (root_ / "bin").string());
  QString text;
  AnswerNextMessageBox([&](QMessageBox* box) { text = box->text(); });
  EXPECT_EQ(StartProgram("notepad.exe", "Loan.txt", "", StartAndWait), 0u);
  EXPECT_TRUE(text.contains(QStringLiteral("'notepad.exe'"))) << text.toStdString();

  AnswerNextMessageBox([&](QMessageBox* box) { text = box->text(); });
  EXPECT_EQ(StartProgram("no-such-program", "", "", 0), 0u);
  EXPECT_TRUE(text.contains(QStringLiteral("'no-such-program'"))) << text.toStdString();
}

TEST_F(StartingPrograms, NoProgramStartsNothing) {
  EXPECT_EQ(StartProgram(nullptr, "Loan.txt", "", StartAndWait), 0u);
  EXPECT_EQ(OpenMessageBox(), nullptr);
}

TEST_F(StartingPrograms, AMissingWorkingDirectoryIsReported) {
  WriteRecorder(root_ / "tools" / "app", record_);
  const std::string program = (root_ / "tools" / "app").string();
  const std::string missing = (root_ / "missing").string();
  QString text;
  AnswerNextMessageBox([&](QMessageBox* box) { text = box->text(); });
  EXPECT_EQ(StartProgram(program.c_str(), "x", missing.c_str(), StartAndWait), 0u);
  EXPECT_TRUE(text.startsWith(QStringLiteral("Cannot start"))) << text.toStdString();
}

}  // namespace
}  // namespace quentara::testing
