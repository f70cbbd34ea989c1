#include "files/output_file.h"

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <string>
#include <thread>

#include "tests/support/program_folder_guard.h"

namespace quentara {
namespace {

namespace fs = std::filesystem;
constexpr uid_t nobody = 65534;
// More than a pipe holds at once, so that a reader takes it in several parts.
const std::string bytes(100000, 'n');
const std::string longestName(255, 'L');

std::string ReadAll(int descriptor) {
  std::string all;
  char part[4096];
  for (ssize_t got; (got = read(descriptor, part, sizeof part)) > 0;) all.append(part, got);
  return all;
}

// A fresh folder under umask 022; rows that play another person run their write as nobody.
struct Scene {
  testing::TemporaryFolder temporary;
  const fs::path folder = temporary.Path();
  int descriptor = -1;
  bool asNobody = false;
  std::thread reader;
  std::string read;

  std::string Put(const std::string& name, mode_t mode, uid_t owner = geteuid()) {
    std::ofstream(folder / name) << "earlier";
    if (geteuid() == 0) {
      EXPECT_EQ(chown((folder / name).c_str(), owner, owner), 0);
    }
    EXPECT_EQ(chmod((folder / name).c_str(), mode), 0);
    return folder / name;
  }
  void PlayNobody() {
    asNobody = true;
    chmod(folder.c_str(), 0777);
  }
  std::string Held(const char* name) {
    if (name == nullptr) {
      if (reader.joinable()) reader.join();
      return read;
    }
    if (fs::is_symlink(folder / name)) return fs::read_symlink(folder / name);
    return testing::ReadBytes(folder / name);
  }
};

struct Row {
  const char* name;
  const char* error;  // "" for a write that succeeds; "@" stands for the folder
  const char* file;   // the destination (nullptr: the pipe's reader); a link shows its text
  std::string held;
  mode_t mode;          // 0 for none to check
  std::string listing;  // the folder's entries afterwards, sorted, each followed by a space
  std::function<std::string(Scene&)> prepare;  // the path to write; "" skips without root
  bool keepsOwner = false;  // the file belongs to nobody and must go on belonging to nobody
};

std::string MakePipe(Scene& s) {
  mkfifo((s.folder / "pipe").c_str(), 0644);
  return s.folder / "pipe";
}

const Row rows[] = {
    {"NewFileUnderTheUmask", "", "loan.txt", bytes, 0644, "loan.txt ",
     [](Scene& s) { return s.folder / "loan.txt"; }},
    {"KeepsPermissions", "", "loan.txt", bytes, 0604, "loan.txt ",
     [](Scene& s) { return s.Put("loan.txt", 0604); }},
    {"DropsSetUserId", "", "loan.txt", bytes, 0777, "loan.txt ",
     [](Scene& s) { return s.Put("loan.txt", 04777, nobody); }, true},
    {"DropsSetGroupId", "", "loan.txt", bytes, 0777, "loan.txt ",
     [](Scene& s) { return s.Put("loan.txt", 02777, nobody); }, true},
    {"DropsSticky", "", "loan.txt", bytes, 0777, "loan.txt ",
     [](Scene& s) { return s.Put("loan.txt", 01777); }},
    {"AppendsThroughTheDescriptor", "", "app.txt", "earlier" + bytes, 0644, "app.txt ",
     [](Scene& s) {
       s.descriptor = open(s.Put("app.txt", 0644).c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
       return "/dev/fd/" + std::to_string(s.descriptor);
     }},
    {"RefusesOwnReadOnlyFile", "permission denied: you may not write \"@/loan.txt\"", "loan.txt",
     "earlier", 0444, "loan.txt ",
     [](Scene& s) {
       s.PlayNobody();
       return s.Put("loan.txt", 0444, nobody);
     }},
    {"RefusesAnothersFileThroughALink", "permission denied: you may not write \"@/theirs.txt\"",
     "theirs.txt", "earlier", 0644, "mine.txt theirs.txt ",
     [](Scene& s) -> std::string {
       if (geteuid() != 0) return "";
       s.PlayNobody();
       s.Put("theirs.txt", 0644, 0);
       fs::create_symlink("theirs.txt", s.folder / "mine.txt");
       lchown((s.folder / "mine.txt").c_str(), nobody, nobody);
       return s.folder / "mine.txt";
     }},
    {"RefusesWhereNoReplacementCanBeMade",
     "cannot make its replacement in the folder \"@\": Permission denied", "loan.txt", "earlier",
     0644, "loan.txt ",
     [](Scene& s) -> std::string {
       if (geteuid() != 0) return "";
       s.asNobody = true;
       chmod(s.folder.c_str(), 0755);
       return s.Put("loan.txt", 0644, nobody);
     }},
    {"RefusesPipeWithoutReader", "nobody reads the pipe", nullptr, "", 0, "pipe ", MakePipe},
    {"FillsPipeWithReader", "", nullptr, bytes, 0, "pipe ",
     [](Scene& s) {
       const std::string pipe = MakePipe(s);
       s.descriptor = open(pipe.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
       fcntl(s.descriptor, F_SETFL, 0);
       // The reader waits for the writer: before one comes, a read would see the end at once.
       s.reader = std::thread([&s] {
         pollfd ready{s.descriptor, POLLIN, 0};
         poll(&ready, 1, -1);
         s.read = ReadAll(s.descriptor);
       });
       return pipe;
     }},
    {"LongestName", "", longestName.c_str(), bytes, 0644, longestName + " ",
     [](Scene& s) { return s.Put(longestName, 0644); }},
    {"ReplacesTheFileALinkNames", "", "loan.txt", bytes, 0604, "link.txt loan.txt ",
     [](Scene& s) {
       fs::create_symlink("loan.txt", s.folder / "link.txt");
       s.Put("loan.txt", 0604);
       return s.folder / "link.txt";
     }},
    {"MakesTheFileALinkNames", "", "loan.txt", bytes, 0644, "link.txt loan.txt ",
     [](Scene& s) {
       fs::create_symlink("loan.txt", s.folder / "link.txt");
       return s.folder / "link.txt";
     }},
    {"RefusesLinkLoop", "Too many levels of symbolic links", "a", "b", 0, "a b ",
     [](Scene& s) {
       fs::create_symlink("b", s.folder / "a");
       fs::create_symlink("a", s.folder / "b");
       return s.folder / "a";
     }},
};

void PrintTo(const Row& row, std::ostream* out) {
  *out << row.name;
}

class WriteWholeFileTest : public ::testing::TestWithParam<Row> {
 protected:
  void TearDown() override {
    umask(oldMask_);
    if (scene_.reader.joinable()) scene_.reader.join();
    if (scene_.descriptor >= 0) close(scene_.descriptor);
  }
  // Writes as the tester, or in a child process as nobody; the outcome is "written" or the
  // error.
  std::string Write(const std::string& path) {
    std::string error;
    if (!scene_.asNobody || geteuid() != 0) {
      return WriteWholeFile(path, bytes, error) ? "written" : error;
    }
    int ends[2];
    if (pipe(ends) != 0) return "no pipe";
    const pid_t child = fork();
    if (child == 0) {
      const bool written = setgroups(0, nullptr) == 0 && setresgid(nobody, nobody, nobody) == 0 &&
                           setresuid(nobody, nobody, nobody) == 0 &&
                           WriteWholeFile(path, bytes, error);
      if (written) error = "written";
      _exit(write(ends[1], error.data(), error.size()) < 0);
    }
    close(ends[1]);
    error = ReadAll(ends[0]);
    close(ends[0]);
    waitpid(child, nullptr, 0);
    return error;
  }

  const mode_t oldMask_ = umask(022);
  Scene scene_;
};

TEST_P(WriteWholeFileTest, LeavesTheDestinationAsExpectedAndNoOtherFile) {
  const Row& row = GetParam();
  const std::string path = row.prepare(scene_);
  if (path.empty()) GTEST_SKIP() << "only root can give a file to another user";
  std::string error = row.error;
  if (const std::size_t at = error.find('@'); at != std::string::npos) {
    error.replace(at, 1, scene_.folder.string());
  }
  EXPECT_EQ(Write(path), error.empty() ? "written" : error);
  EXPECT_TRUE(scene_.Held(row.file) == row.held) << scene_.Held(row.file).substr(0, 80);
  struct stat status {};
  if (row.mode != 0 && stat((scene_.folder / row.file).c_str(), &status) == 0) {
    EXPECT_EQ(status.st_mode & 07777, row.mode);
    if (row.keepsOwner) {
      EXPECT_EQ(status.st_uid, nobody);
    }
  }
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(scene_.folder))
    names.insert(entry.path().filename());
  std::string listing;
  for (const std::string& name : names) listing += name + " ";
  EXPECT_EQ(listing, row.listing);
}

INSTANTIATE_TEST_SUITE_P(Rows, WriteWholeFileTest, ::testing::ValuesIn(rows),
                         [](const auto& info) { return std::string(info.param.name); });

// A write killed halfway (stopped at the file size limit, then sent SIGKILL) leaves the earlier
// file as it was and no partial one beside it.
TEST(WriteWholeFile, KilledHalfwayLeavesNoTemporaryFile) {
  const testing::TemporaryFolder temporary;
  const fs::path& folder = temporary.Path();
  std::ofstream(folder / "loan.txt") << "earlier";
  const pid_t child = fork();
  if (child == 0) {
    const rlimit limit{4096, 4096};
    setrlimit(RLIMIT_FSIZE, &limit);
    signal(SIGXFSZ, [](int) { raise(SIGSTOP); });
    std::string error;
    _exit(WriteWholeFile(folder / "loan.txt", bytes, error));
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, WUNTRACED), child);
  EXPECT_TRUE(WIFSTOPPED(status));
  kill(child, SIGKILL);
  waitpid(child, &status, 0);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 1);
  EXPECT_EQ(temporary.Read("loan.txt"), "earlier");
}

// Written in parts, a file holds its earlier bytes, alone in its folder, until the output is
// committed; given up, it keeps them.
TEST(OutputFile, ReplacesTheFileOnlyWhenCommitted) {
  for (const bool commit : {true, false}) {
    const testing::TemporaryFolder temporary;
    const fs::path& folder = temporary.Path();
    const fs::path path = folder / "loans.csv";
    std::ofstream(path) << "earlier";
    const auto held = [&] { return temporary.Read("loans.csv"); };
    std::string error;
    {
      OutputFile out;
      ASSERT_TRUE(out.Open(path, error)) << error;
      for (int part = 0; part < 3; ++part) {
        ASSERT_TRUE(out.Write(bytes, error)) << error;
        EXPECT_EQ(held(), "earlier");
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 1);
      }
      if (commit) {
        EXPECT_TRUE(out.Commit(error)) << error;
      }
    }
    EXPECT_TRUE(held() == (commit ? bytes + bytes + bytes : "earlier")) << commit;
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 1);
  }
}

}  // namespace
}  // namespace quentara
