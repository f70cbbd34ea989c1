// Starting other programs: the stand-in editors for notepad.exe, the working directory,
// waiting for the started program, and what the person is told when it cannot start.

#include "ui/program_starter.h"

#include <gtest/gtest.h>

#include <QMessageBox>
#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>

#include "tests/support/program_folder_guard.h"
#include "tests/ui/layer_fixture.h"

namespace quentara::testing {
namespace {

namespace fs = std::filesystem;

// A stand-in program that writes its arguments and working directory into a record file
// and then "ended". Given a release file, it waits for that file first (at most 60 s).
void WriteRecorder(const fs::path& path, const fs::path& record,
                   const std::optional<fs::path>& release = std::nullopt) {
  fs::create_directories(path.parent_path());
  std::ofstream script(path);
  script << "#!/bin/sh\n"
         << "echo \"args:$*\" > '" << record.string() << "'\n"
         << "echo \"cwd:$(pwd)\" >> '" << record.string() << "'\n";
  if (release) {
    script << "i=0\n"
           << "while [ ! -e '" << release->string() << "' ] && [ $i -lt 600 ]; do\n"
           << "  sleep 0.1; i=$((i + 1))\n"
           << "done\n";
  }
  script << "echo ended >> '" << record.string() << "'\n";
  script.close();
  fs::permissions(path, fs::perms::owner_all);
}

// The program's folder holds the stand-ins (in bin/ and tools/) and their record.
class StartingPrograms : public LayerTest {
 protected:
  std::string Record() const { return folder_.Read("record.txt"); }

  ProgramFolderGuard folder_;
  const fs::path& root_ = folder_.Path();
  const fs::path record_ = folder_ / "record.txt";
};

// Also where the kernel has no process descriptors and the wait asks whether it has ended.
class WaitingForNotepad : public StartingPrograms, public ::testing::WithParamInterface<EndNotice> {
 protected:
  void SetUp() override {
    StartingPrograms::SetUp();
    UseEndNotice(GetParam());
  }
  void TearDown() override {
    UseEndNotice(EndNotice::ProcessDescriptor);
    StartingPrograms::TearDown();
  }
};

TEST_P(WaitingForNotepad, ItRunsInTheProgramFolderAndTheCallWaitsForIt) {
  const fs::path release = root_ / "release";
  WriteRecorder(root_ / "bin" / "notepad.exe", record_, release);
  EnvironmentGuard path("PATH", (root_ / "bin").string() + ":/usr/bin:/bin");
  fs::current_path("/");
  // The editor is let go once it has started; only a call that waits for it finds it ended.
  std::thread releaser([this, release] {
    for (int i = 0; i < 600 && Record().find("cwd:") == std::string::npos; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    std::ofstream{release};
  });
  const PlatformHandle process = StartProgram("notepad.exe", "Loan.txt", "", StartAndWait);
  const std::string recordOnReturn = Record();
  releaser.join();
  EXPECT_GT(process, 1u);
  EXPECT_EQ(recordOnReturn, "args:Loan.txt\ncwd:" + root_.string() + "\nended\n");
  // The program folder stays the current directory.
  EXPECT_EQ(fs::current_path(), root_);
}

INSTANTIATE_TEST_SUITE_P(Rows, WaitingForNotepad,
                         ::testing::Values(EndNotice::ProcessDescriptor, EndNotice::Polling),
                         [](const auto& info) {
                           return info.param == EndNotice::Polling ? "Polling" : "Descriptor";
                         });

TEST_F(StartingPrograms, WithoutFlagOneTheCallReturnsAtOnce) {
  const fs::path release = root_ / "release";
  WriteRecorder(root_ / "bin" / "notepad.exe", record_, release);
  EnvironmentGuard path("PATH", (root_ / "bin").string() + ":/usr/bin:/bin");
  EXPECT_GT(StartProgram("notepad.exe", "Loan.txt", nullptr, 0), 1u);
  // The program waits for its release, so it cannot have ended yet.
  EXPECT_EQ(Record().find("ended"), std::string::npos);
  std::ofstream{release};
  ASSERT_TRUE(ProcessUntil([this] { return Record().find("ended") != std::string::npos; },
                           std::chrono::seconds(60)));
  CollectEndedPrograms();
}

struct EditorCase {
  const char* editor;
  const char* arguments;
};

inline void PrintTo(const EditorCase& row, std::ostream* out) {
  *out << row.editor;
}

class StandInEditors : public StartingPrograms, public ::testing::WithParamInterface<EditorCase> {};

// The editor reads the report as Windows-1252 without asking, and stays until it is closed.
TEST_P(StandInEditors, StandInForNotepadAndReadTheReportAsWindows1252) {
  WriteRecorder(root_ / "bin" / GetParam().editor, record_);
  // Only the stand-in is on the search path, so that no editor installed on this machine
  // comes first.
  EnvironmentGuard path("PATH", (root_ / "bin").string());
  EXPECT_GT(StartProgram("notepad.exe", "Loan.txt", "", StartAndWait | StartHidden), 1u);
  EXPECT_EQ(Record(),
            std::string("args:") + GetParam().arguments + "\ncwd:" + root_.string() + "\nended\n");
}

INSTANTIATE_TEST_SUITE_P(
    Rows, StandInEditors,
    ::testing::Values(EditorCase{"mousepad", "--disable-server --encoding=WINDOWS-1252 Loan.txt"},
                      EditorCase{"gedit", "--wait --encoding=WINDOWS-1252 Loan.txt"},
                      EditorCase{"kate", "--block --encoding windows-1252 Loan.txt"}),
    [](const auto& info) {
      std::string name = info.param.editor;
      name[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
      return name;
    });

struct PathCase {
  const char* name;
  std::string program;
  const char* directory;
  std::string expected;
};

inline void PrintTo(const PathCase& row, std::ostream* out) {
  *out << row.name;
}

class StartingDirectories : public ::testing::TestWithParam<PathCase> {};

TEST_P(StartingDirectories, AreTheProgramsFolderOrTheOneGiven) {
  EXPECT_EQ(StartingDirectory(GetParam().program.c_str(), GetParam().directory),
            GetParam().expected);
}

const std::string longFolder = "/" + std::string(509, 'f');  // 510 characters

INSTANTIATE_TEST_SUITE_P(
    Rows, StartingDirectories,
    ::testing::Values(PathCase{"ProgramsOwnFolder", "/opt/tools/app", "", "/opt/tools/"},
                      PathCase{"AbsentDirectory", "/opt/tools/app", nullptr, "/opt/tools/"},
                      PathCase{"DirectoryWins", "/opt/tools/app", "/work", "/work"},
                      PathCase{"OnlySeparatorFirstGivesNone", "/app", "", ""},
                      PathCase{"BareNameGivesNone", "notepad.exe", "", ""},
                      PathCase{"RelativeFolder", "tools/app", "", "tools/"},
                      PathCase{"FolderOf510Fits", longFolder + "/app", "", longFolder + "/"},
                      PathCase{"FolderOf511GivesNone", longFolder + "g/app", "", ""},
                      PathCase{"NoProgram", "", "", ""}),
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

TEST_P(WorkingDirectories, AreWhereTheStartedProgramRuns) {
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
  EXPECT_EQ(text.toStdString(),
            "Cannot start 'notepad.exe'.\nNeither it nor a plain text editor to stand in for it "
            "(mousepad, gedit, gnome-text-editor, kate, kwrite, pluma, xed, leafpad, featherpad "
            "or xedit) was found. Install one of them, Mousepad for example, and Print will "
            "open the report in it.");

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
