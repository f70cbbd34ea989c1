#include "files/text_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/program_folder_guard.h"

namespace quentara {
namespace {

namespace fs = std::filesystem;

// Each test gets an empty program folder and a fresh file table.
class TextFile : public ::testing::Test {
 protected:
  void SetUp() override { InitTextFiles(); }
  void TearDown() override { InitTextFiles(); }
  static bool IsOpen(FileHandle handle) {
    return fcntl(static_cast<int>(handle - 1), F_GETFD) != -1;
  }

  testing::ProgramFolderGuard folder_;
};

TEST_F(TextFile, LoanReportGoesToTheProgramFolderFromAnywhere) {
  fs::current_path("/");
  FileHandle loan = CreateTextFile(0, "Loan.txt");
  ASSERT_NE(loan, 0);
  EXPECT_EQ(fs::current_path(), folder_.Path());
  WriteLine("Year:1");
  EXPECT_EQ(folder_.Read("Loan.txt"), "Year:1\r\n");  // on disk before the file is closed
  CloseTextFile(0);
  EXPECT_FALSE(IsOpen(loan));
  EXPECT_FALSE(LinesLost());
}

TEST_F(TextFile, LinesEndInCarriageReturnLineFeedOnly) {
  struct {
    const char* text;
    const char* bytes;
  } rows[] = {{"", "\r\n"}, {nullptr, "\r\n"}, {"Year:1", "Year:1\r\n"}, {" a\tb ", " a\tb \r\n"}};
  for (auto row : rows) {
    ASSERT_NE(CreateTextFile(0, "Loan.txt"), 0);
    WriteLine(row.text);
    CloseTextFile(0);
    EXPECT_EQ(folder_.Read("Loan.txt"), row.bytes) << (row.text ? row.text : "absent");
  }
}

TEST_F(TextFile, ExistingLongerFileKeepsOnlyTheNewLines) {
  std::ofstream(folder_ / "Loan.txt") << std::string(5000, 'x');
  ASSERT_NE(CreateTextFile(0, "Loan.txt"), 0);
  WriteLine("ab");
  CloseTextFile(0);
  EXPECT_EQ(folder_.Read("Loan.txt"), "ab\r\n");
}

TEST_F(TextFile, HighNumberGrowsTheTableAndKeepsTheLowSlots) {
  EXPECT_EQ(TextFileSlotCount(), 10);
  FileHandle first = CreateTextFile(0, "a.txt");
  FileHandle ninth = CreateTextFile(9, "b.txt");
  ASSERT_NE(CreateTextFile(12, "c.txt"), 0);
  EXPECT_EQ(TextFileSlotCount(), 22);
  CloseTextFile(0);
  CloseTextFile(9);
  EXPECT_FALSE(IsOpen(first));
  EXPECT_FALSE(IsOpen(ninth));
  EXPECT_EQ(CreateTextFile(-1, "d.txt"), 0);
  EXPECT_EQ(CreateTextFile(65536, "d.txt"), 0);
  EXPECT_EQ(TextFileSlotCount(), 22);
  EXPECT_FALSE(fs::exists(folder_ / "d.txt"));
}

TEST_F(TextFile, FileHeldByAnotherWriterIsNotCreatedNorEmptied) {
  std::ofstream(folder_ / "Loan.txt") << "kept";
  int other = open((folder_ / "Loan.txt").c_str(), O_WRONLY);
  ASSERT_EQ(flock(other, LOCK_EX | LOCK_NB), 0);
  EXPECT_EQ(CreateTextFile(0, "Loan.txt"), 0);
  close(other);
  EXPECT_EQ(folder_.Read("Loan.txt"), "kept");

  ASSERT_NE(CreateTextFile(1, "Loan.txt"), 0);
  EXPECT_EQ(CreateTextFile(0, "Loan.txt"), 0);  // our own writer holds it too
  WriteLine("lost");                            // the failed file is the current one
  CloseTextFile(1);
  EXPECT_EQ(folder_.Read("Loan.txt"), "");
}

TEST_F(TextFile, NamesThatAreNoWritableFileGiveZero) {
  fs::create_directory(folder_ / "Loan.txt");
  mkfifo((folder_ / "pipe").c_str(), 0666);
  for (const char* name :
       {"Loan.txt", "pipe", "missing/Loan.txt", "", static_cast<const char*>(nullptr)}) {
    EXPECT_EQ(CreateTextFile(0, name), 0) << (name ? name : "absent");
  }
}

TEST_F(TextFile, FullDeviceLosesLinesUntilTheNextFile) {
  fs::create_symlink("/dev/full", folder_ / "Loan.txt");
  ASSERT_NE(CreateTextFile(0, "Loan.txt"), 0);
  WriteLine("Year:1");
  EXPECT_TRUE(LinesLost());
  CloseTextFile(0);
  ASSERT_NE(CreateTextFile(0, "other.txt"), 0);
  EXPECT_FALSE(LinesLost());
  WriteLine("x");
  EXPECT_FALSE(LinesLost());
}

TEST_F(TextFile, ClosingTwiceNeverClosesAnotherFile) {
  ASSERT_NE(CreateTextFile(0, "a.txt"), 0);
  CloseTextFile(0);
  FileHandle second = CreateTextFile(1, "b.txt");  // likely reuses the descriptor of a.txt
  CloseTextFile(0);
  for (std::int32_t unknown : {-1, 5, 1000}) CloseTextFile(unknown);
  EXPECT_TRUE(IsOpen(second));
  WriteLine("still open");
  EXPECT_FALSE(LinesLost());
  CloseTextFile(1);
  EXPECT_EQ(folder_.Read("b.txt"), "still open\r\n");
}

TEST_F(TextFile, WritingWithoutAnOpenFileWritesNothing) {
  WriteLine("no file yet");
  EXPECT_FALSE(LinesLost());
  ASSERT_NE(CreateTextFile(0, "a.txt"), 0);
  CloseTextFile(0);
  WriteLine("after close");
  EXPECT_TRUE(LinesLost());
  EXPECT_EQ(folder_.Read("a.txt"), "");
}

}  // namespace
}  // namespace quentara
