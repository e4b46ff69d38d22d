#include "base/files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <string>

#include "tests/support/child_process.h"
#include "tests/support/temp_working_dir.h"

namespace umbra {
namespace {

namespace fs = std::filesystem;
using test::DirectorySnapshot;
using test::ReadFileBytes;
using test::WriteFileBytes;

class FilesTest : public ::testing::Test {
 protected:
  test::TempWorkingDir dir_;
};

// Both ways of making the temporary file behind a whole-file replacement:
// unnamed where the file system can, named where it cannot.
class ReplaceFileWholeTest : public FilesTest, public ::testing::WithParamInterface<TemporaryFile> {};

TEST_P(ReplaceFileWholeTest, ReplacesKeepingThePermissionBits) {
  WriteFileBytes("a.ini", "old");
  ASSERT_EQ(::chmod("a.ini", 0640), 0);
  ReplaceFileWhole("a.ini", "new bytes", GetParam());
  EXPECT_EQ(ReadFileBytes("a.ini"), "new bytes");
  struct stat st {};
  ASSERT_EQ(::stat("a.ini", &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(DirectorySnapshot(".").size(), 1u) << "a temporary file was left";
}

TEST_P(ReplaceFileWholeTest, ANewFileFollowsTheUmask) {
  const mode_t previous = ::umask(027);
  ReplaceFileWhole("b.ini", "x", GetParam());
  ::umask(previous);
  struct stat st {};
  ASSERT_EQ(::stat("b.ini", &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(DirectorySnapshot(".").size(), 1u) << "a temporary file was left";
}

TEST_P(ReplaceFileWholeTest, ALinkedFileIsReplacedWhereItLies) {
  fs::create_directory("kept");
  WriteFileBytes("kept/real.ini", "old");
  fs::create_symlink("kept/real.ini", "c.ini");
  ReplaceFileWhole("c.ini", "new", GetParam());
  EXPECT_TRUE(fs::is_symlink("c.ini"));
  EXPECT_EQ(ReadFileBytes("kept/real.ini"), "new");
  EXPECT_EQ(DirectorySnapshot("kept").size(), 1u) << "a temporary file was left";
}

TEST_P(ReplaceFileWholeTest, AReadOnlyFileIsRefusedWhoeverWrites) {
  WriteFileBytes("d.ini", "old");
  ASSERT_EQ(::chmod("d.ini", 0444), 0);
  const auto before = DirectorySnapshot(".");
  try {
    ReplaceFileWhole("d.ini", "new", GetParam());
    FAIL() << "replaced";
  } catch (const FileError& e) {
    EXPECT_EQ(e.Errno(), EACCES);
  }
  EXPECT_EQ(DirectorySnapshot("."), before);
}

TEST_P(ReplaceFileWholeTest, AWriterKilledInMidWriteLeavesNoVisibleFile) {
  WriteFileBytes("e.ini", "old");
  const auto before = DirectorySnapshot(".");
  const TemporaryFile kind = GetParam();
  // The file size limit kills the writer by SIGXFSZ in the middle of its
  // write, as a kill -9 would.
  const test::ChildEnd end = test::RunChildToItsEnd([kind] {
    const rlimit noCore{0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
    std::signal(SIGXFSZ, SIG_DFL);
    const rlimit limit{16, 16};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    ReplaceFileWhole("e.ini", std::string(1000, 'x'), kind);
    return 0;
  });
  ASSERT_FALSE(end.exited) << "the writer was not killed";
  EXPECT_EQ(end.status, SIGXFSZ);
  auto after = DirectorySnapshot(".");
  // A named temporary file is hidden; the next write in the folder removes it.
  std::erase_if(after, [kind](const auto& entry) {
    return kind == TemporaryFile::Named && entry.first[0] == '.';
  });
  EXPECT_EQ(after, before);
}

INSTANTIATE_TEST_SUITE_P(Kinds, ReplaceFileWholeTest,
                         ::testing::Values(TemporaryFile::UnnamedWhereSupported, TemporaryFile::Named),
                         [](const auto& info) {
                           return std::string(info.param == TemporaryFile::Named ? "Named" : "Unnamed");
                         });

TEST_F(FilesTest, AppendingToAReadOnlyFileIsRefusedWhoeverWrites) {
  WriteFileBytes("f.txt", "old\r\n");
  ASSERT_EQ(::chmod("f.txt", 0444), 0);
  const auto before = DirectorySnapshot(".");
  try {
    AppendToFile("f.txt", "new\r\n");
    FAIL() << "appended";
  } catch (const FileError& e) {
    EXPECT_EQ(e.Errno(), EACCES);
  }
  EXPECT_EQ(DirectorySnapshot("."), before);
}

TEST_F(FilesTest, WriteNewFileCreatesOnlyWhatIsNotThere) {
  const mode_t previous = ::umask(022);
  EXPECT_TRUE(WriteNewFile("g.txt", "line\r\n"));
  ::umask(previous);
  EXPECT_EQ(ReadFileBytes("g.txt"), "line\r\n");
  struct stat st {};
  ASSERT_EQ(::stat("g.txt", &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0644u);

  // Something of that name, even a link to nowhere, is left as it is.
  EXPECT_FALSE(WriteNewFile("g.txt", "other\r\n"));
  EXPECT_EQ(ReadFileBytes("g.txt"), "line\r\n");
  fs::create_symlink("nowhere/h.txt", "h.txt");
  EXPECT_FALSE(WriteNewFile("h.txt", "x"));
  EXPECT_TRUE(fs::is_symlink("h.txt"));
  EXPECT_FALSE(fs::exists("nowhere"));
}

TEST_F(FilesTest, WriteNewFileCutShortRemovesWhatItMade) {
  const std::string outcome = test::RunInChild([]() -> std::string {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{8, 8};
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return "child: cannot limit file size";
    try {
      WriteNewFile("i.txt", std::string(100, 'x'));
      return "written";
    } catch (const FileError& e) {
      return e.Errno() == EFBIG ? "EFBIG" : e.what();
    }
  });
  EXPECT_EQ(outcome, "EFBIG");
  EXPECT_TRUE(fs::is_empty(dir_.Path()));
}

TEST_F(FilesTest, FolderLockShutsOutOtherLockersAndAddsNoFile) {
  const auto before = DirectorySnapshot(".");
  // Another process, such as a second watcher, tries the same lock.
  const auto tryLockElsewhere = [] {
    return test::RunInChild([]() -> std::string {
      const int folder = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
      if (folder < 0) return "cannot open";
      const int rc = ::flock(folder, LOCK_EX | LOCK_NB);
      return rc == 0 ? "locked" : errno == EWOULDBLOCK ? "busy" : "error";
    });
  };
  {
    FolderLock lock(".");
    EXPECT_TRUE(lock.Held());
    EXPECT_EQ(tryLockElsewhere(), "busy");
    EXPECT_EQ(DirectorySnapshot("."), before);
  }
  EXPECT_EQ(tryLockElsewhere(), "locked");
}

}  // namespace
}  // namespace umbra
