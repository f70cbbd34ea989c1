#include "files/program_folder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace quentara {
namespace {

namespace fs = std::filesystem;

// Runs the test in its own folder and returns to the previous current directory after.
class ProgramFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/quentara-folder-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder_ = pattern;
  }
  void TearDown() override {
    fs::current_path(oldCwd_);
    SetProgramFolder("");
    fs::remove_all(folder_);
  }
  const fs::path oldCwd_ = fs::current_path();
  fs::path folder_;
};

TEST_F(ProgramFolderTest, IsTheExecutablesFolderWithItsSeparator) {
  DetermineProgramFolder();
  std::string folder = ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.front(), '/');
  EXPECT_EQ(folder.back(), '/');
  EXPECT_EQ(folder, fs::read_symlink("/proc/self/exe").parent_path().string() + "/");
}

// Run in a copy of this program placed at a path of a chosen length: the child compares
// the folder it determines with the one the parent expects.
TEST_F(ProgramFolderTest, PathOfAnyLengthGivesItsFolder) {
  if (const char* expected = std::getenv("QUENTARA_EXPECTED_FOLDER")) {
    DetermineProgramFolder();
    EXPECT_STREQ(ProgramFolder(), expected);
    return;
  }
  const std::string name = "program_folder_test";
  for (std::size_t pathLength : {499u, 500u, 700u}) {
    fs::path place = folder_ / std::to_string(pathLength);
    std::size_t fill = pathLength - place.string().size() - 1 - name.size();
    while (fill > 0) {  // segments with their separators, never an empty one
      std::size_t segment = fill <= 101 ? fill - 1 : 50;
      place /= std::string(segment, 'd');
      fill -= segment + 1;
    }
    fs::create_directories(place);
    fs::copy_file("/proc/self/exe", place / name);
    ASSERT_EQ((place / name).string().size(), pathLength);
    std::string expected = place.string() + "/";
    std::string command = "QUENTARA_EXPECTED_FOLDER='" + expected + "' '" +
                          (place / name).string() +
                          "' --gtest_filter=*PathOfAnyLengthGivesItsFolder* >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << pathLength;
  }
}

TEST_F(ProgramFolderTest, EnteringMakesItTheCurrentDirectory) {
  SetProgramFolder((folder_.string() + "/").c_str());
  EXPECT_TRUE(EnterProgramFolder());
  EXPECT_EQ(fs::current_path(), folder_);
}

TEST_F(ProgramFolderTest, UnknownOrMissingFolderLeavesTheCurrentDirectory) {
  fs::current_path(folder_);
  SetProgramFolder("");
  EXPECT_TRUE(EnterProgramFolder());
  SetProgramFolder((folder_.string() + "/missing/").c_str());
  EXPECT_FALSE(EnterProgramFolder());
  EXPECT_EQ(fs::current_path(), folder_);
}

}  // namespace
}  // namespace quentara
