#include "watch/history_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <iterator>
#include <filesystem>
#include <string>

#include "tests/support/temp_working_dir.h"

namespace umbra {
namespace {

using test::ReadFileBytes;
using test::TempWorkingDir;
using test::WriteFileBytes;

struct NormalizeCase {
  const char* name;
  std::string before;
  std::string after;
};
void PrintTo(const NormalizeCase& c, std::ostream* os) { *os << c.name; }

class NormalizedHistoryTextTest : public ::testing::TestWithParam<NormalizeCase> {};

TEST_P(NormalizedHistoryTextTest, MakesLineEndsUniform) {
  EXPECT_EQ(NormalizedHistoryText(GetParam().before), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NormalizedHistoryTextTest,
    ::testing::Values(
        NormalizeCase{"Empty", "", ""},
        NormalizeCase{"AlreadyWritten", "a\r\nb\r\n", "a\r\nb\r\n"},
        NormalizeCase{"LoneLf", "a\nb\n", "a\r\nb\r\n"},
        NormalizeCase{"LoneCr", "a\rb\r", "a\r\nb\r\n"},
        NormalizeCase{"NoFinalLineEnd", "a\r\nb", "a\r\nb\r\n"},
        NormalizeCase{"LfCrIsTwoLineEnds", "a\n\rb", "a\r\n\r\nb\r\n"},
        NormalizeCase{"EmptyLinesKept", "\r\n\n\r", "\r\n\r\n\r\n"},
        // A NUL byte is an ordinary byte: nothing after it may be lost.
        NormalizeCase{"NulKeepsWhatFollows", std::string("a\0b\nc", 5), std::string("a\0b\r\nc\r\n", 8)}),
    [](const auto& info) { return std::string(info.param.name); });

struct PathCase {
  const char* name;
  std::string numberText;
  std::string path;  // empty: refused
};
void PrintTo(const PathCase& c, std::ostream* os) { *os << c.name; }

class HistoryFilePathTest : public ::testing::TestWithParam<PathCase> {};

TEST_P(HistoryFilePathTest, NamesAFileInTheWorkingDirectoryOrRefuses) {
  const PathCase& c = GetParam();
  if (c.path.empty()) {
    EXPECT_THROW(HistoryFilePath(c.numberText), HistoryFileError);
  } else {
    EXPECT_EQ(HistoryFilePath(c.numberText), c.path);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HistoryFilePathTest,
    ::testing::Values(PathCase{"Digits", "123456", "123456.txt"},
                      PathCase{"LeadingBlankKept", " 88888", " 88888.txt"},
                      PathCase{"Empty", "", ".txt"},
                      PathCase{"GbkBecomesUtf8", "\xc4\xe3\xba\xc3", "你好.txt"},
                      // 5C is the second byte of this character, not a backslash.
                      PathCase{"TrailByteLikeBackslash", "\x81\x5c", "乗.txt"},
                      PathCase{"DotsInsideAreFine", "1.2", "1.2.txt"},
                      PathCase{"Slash", "../etc/passwd", ""},
                      PathCase{"Backslash", "a\\b", ""},
                      PathCase{"Dot", ".", ""},
                      PathCase{"DotDot", "..", ""},
                      PathCase{"NotGbk", "\xff", ""}),
    [](const auto& info) { return std::string(info.param.name); });

class HistoryFilesTest : public ::testing::Test {
 protected:
  TempWorkingDir dir_;
  HistoryFiles files_;
};

TEST_F(HistoryFilesTest, CreatesThenAppendsWithCrLf) {
  files_.AppendLine("111", "2026/12/10 20:34:05-----\xd4\xda\xcf\xdf!");
  files_.AppendLine("111", "2026/12/10 20:35:05-----\xc0\xeb\xcf\xdf");
  EXPECT_EQ(ReadFileBytes("111.txt"),
            "2026/12/10 20:34:05-----\xd4\xda\xcf\xdf!\r\n2026/12/10 20:35:05-----\xc0\xeb\xcf\xdf\r\n");
}

TEST_F(HistoryFilesTest, ForeignLineEndsAreMadeUniformOnTheNextChange) {
  WriteFileBytes("222.txt", std::string("old1\nold2\rold3\0tail", 19));
  files_.AppendLine("222", "new");
  EXPECT_EQ(ReadFileBytes("222.txt"), std::string("old1\r\nold2\r\nold3\0tail\r\nnew\r\n", 28));
}

TEST_F(HistoryFilesTest, AFileChangedBehindItsBackIsReadAgain) {
  files_.AppendLine("333", "one");
  // Another program appends a line with a lone LF after ours.
  WriteFileBytes("333.txt", ReadFileBytes("333.txt") + "edited\n");
  files_.AppendLine("333", "two");
  EXPECT_EQ(ReadFileBytes("333.txt"), "one\r\nedited\r\ntwo\r\n");
}

TEST_F(HistoryFilesTest, ADirectoryOfThatNameFailsAsCannotCreate) {
  std::filesystem::create_directory("444.txt");
  try {
    files_.AppendLine("444", "x");
    FAIL();
  } catch (const HistoryFileError& e) {
    const std::string expected =
        "Cannot create file \"" + (dir_.Path() / "444.txt").string() + "\". ";
    EXPECT_EQ(std::string(e.what()).substr(0, expected.size()), expected);
  }
  EXPECT_TRUE(std::filesystem::is_directory("444.txt"));
}

// Stands in for a full disk: writes past `bytes` fail with EFBIG.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved_;
    limited.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limited);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previousHandler_);
  }

 private:
  rlimit saved_{};
  void (*previousHandler_)(int) = nullptr;
};

struct FullDiskCase {
  const char* name;
  std::string before;  // empty: no file yet
};
void PrintTo(const FullDiskCase& c, std::ostream* os) { *os << c.name; }

class HistoryFilesFullDiskTest : public ::testing::TestWithParam<FullDiskCase> {};

TEST_P(HistoryFilesFullDiskTest, NeverLosesTheLinesAlreadyThere) {
  TempWorkingDir dir;
  HistoryFiles files;
  const std::string& before = GetParam().before;
  if (!before.empty()) WriteFileBytes("777.txt", before);
  {
    FileSizeLimit limit(before.size() + 3);
    try {
      files.AppendLine("777", std::string(100, 'x'));
      FAIL() << "the write went through";
    } catch (const HistoryFileError& e) {
      EXPECT_EQ(std::string(e.what()).rfind("Cannot create file \"", 0), 0u) << e.what();
    }
  }
  if (before.empty()) {
    EXPECT_FALSE(std::filesystem::exists("777.txt"));
  } else {
    EXPECT_EQ(ReadFileBytes("777.txt"), before);
  }
  // No temporary file is left behind either.
  const auto entries = std::distance(std::filesystem::directory_iterator(dir.Path()),
                                     std::filesystem::directory_iterator());
  EXPECT_EQ(entries, before.empty() ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HistoryFilesFullDiskTest,
    ::testing::Values(FullDiskCase{"NewFile", ""},
                      FullDiskCase{"AppendedInPlace", "one\r\ntwo\r\n"},
                      FullDiskCase{"RewrittenWhole", "one\ntwo\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HistoryFilesTest, RewriteKeepsPermissions) {
  WriteFileBytes("666.txt", "old\n");
  ASSERT_EQ(::chmod("666.txt", 0640), 0);
  files_.AppendLine("666", "new");
  struct stat st {};
  ASSERT_EQ(::stat("666.txt", &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(ReadFileBytes("666.txt"), "old\r\nnew\r\n");
}

TEST_F(HistoryFilesTest, RefusedNameTouchesNoFile) {
  EXPECT_THROW(files_.AppendLine("../x", "line"), HistoryFileError);
  EXPECT_FALSE(std::filesystem::exists(dir_.Path().parent_path() / "x.txt"));
  EXPECT_TRUE(std::filesystem::is_empty(dir_.Path()));
}

}  // namespace
}  // namespace umbra
