#include "files/program_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/support/program_folder_guard.h"

namespace quentara {
namespace {

namespace fs = std::filesystem;

class ProgramFolderTest : public ::testing::Test {
 protected:
  testing::ProgramFolderGuard folder_;
};

// Run in a copy of this program placed at a path of a chosen length: the child compares
// the folder it determines with the one the parent expects.
TEST_F(ProgramFolderTest, PathOfAnyLengthGivesItsFolder) {
  if (const char* expected = std::getenv("QUENTARA_EXPECTED_FOLDER")) {
    DetermineProgramFolder();
    EXPECT_STREQ(ProgramFolder(), expected);
    return;
  }
  const std::string name = "program_folder_test";
  for (std::size_t pathLength : {100u, 499u, 500u, 700u}) {
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
  EXPECT_TRUE(EnterProgramFolder());
  EXPECT_EQ(fs::current_path(), folder_.Path());
}

TEST_F(ProgramFolderTest, UnknownOrMissingFolderLeavesTheCurrentDirectory) {
  fs::current_path(folder_.Path());
  SetProgramFolder("");
  EXPECT_TRUE(EnterProgramFolder());
  SetProgramFolder((folder_.Path().string() + "/missing/").c_str());
  EXPECT_FALSE(EnterProgramFolder());
  EXPECT_EQ(fs::current_path(), folder_.Path());
}

}  // namespace
}  // namespace quentara
