#include "watch/history_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <clocale>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "base/gbk.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_working_dir.h"
#include "watch/history_file_form.h"

namespace umbra {
namespace {

using test::DirectorySnapshot;
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

// The written form, checked 64 bytes at a time, must agree with the
// normalizer on every text, wherever a line end falls in a block or in the
// pieces a file is read in, with SSE2 and without.
template <history_form::LineEnds (*Find)(const char*)>
bool InFormInPieces(std::string_view text, std::uint32_t cuts) {
  history_form::WrittenFormCheck<Find> check;
  while (!text.empty()) {
    const std::size_t piece = std::min<std::size_t>(text.size(), cuts % 97 + 1);
    cuts = cuts * 1103515245u + 12345u;
    check.Take(text.substr(0, piece));
    text.remove_prefix(piece);
  }
  return check.InForm();
}

TEST(IsInWrittenForm, AgreesWithTheNormalizer) {
  const std::string alphabet("\r\n\r\na\x8d\x8a\0", 8);  // 8D and 8A are CR and LF with the top bit
  std::uint32_t state = 12345;
  const auto next = [&state] { return state = state * 1103515245u + 12345u, state >> 8; };
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    const std::size_t length = next() % 400;
    // Mostly ordinary lines, so that texts in form turn up often.
    while (text.size() < length) {
      if (next() % 8 == 0) {
        text += alphabet[next() % alphabet.size()];
      } else {
        text += std::string(next() % 40, 'x') + "\r\n";
      }
    }
    const bool inForm = NormalizedHistoryText(text) == text;
    ASSERT_EQ(IsInWrittenForm(text), inForm) << testing::PrintToString(text);
    ASSERT_EQ(InFormInPieces<history_form::kFindLineEnds>(text, next()), inForm) << testing::PrintToString(text);
    ASSERT_EQ(InFormInPieces<history_form::FindLineEndsByWords>(text, next()), inForm)
        << testing::PrintToString(text);
  }
}

struct FormCase {
  const char* name;
  std::string bytes;
  bool inForm;
};
void PrintTo(const FormCase& c, std::ostream* os) { *os << c.name; }

class IsInWrittenFormTest : public ::testing::TestWithParam<FormCase> {};

std::string Xs(std::size_t n) { return std::string(n, 'x'); }

TEST_P(IsInWrittenFormTest, TellsTheFormWhereverTheLineEndsFall) {
  EXPECT_EQ(IsInWrittenForm(GetParam().bytes), GetParam().inForm);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IsInWrittenFormTest,
    ::testing::Values(FormCase{"Empty", "", true},
                      FormCase{"OneLine", "a\r\n", true},
                      FormCase{"LineEndAcrossWords", Xs(7) + "\r\n", true},
                      FormCase{"LineEndAcrossBlocks", Xs(63) + "\r\n" + Xs(70) + "\r\n", true},
                      FormCase{"NoFinalLineEnd", "a\r\nb", false},
                      FormCase{"LoneLfAtABlockStart", Xs(64) + "\n" + Xs(70) + "\r\n", false},
                      FormCase{"LoneCrAtAWordEnd", Xs(7) + "\r" + Xs(8) + "\r\n", false},
                      FormCase{"LoneCrLast", Xs(70) + "\r\n\r", false},
                      FormCase{"LfCr", Xs(70) + "\n\r\n", false},
                      FormCase{"TopBitTwinsAreNoLineEnds", std::string(70, '\x8d') + "\x8a\r\n", true},
                      FormCase{"NulBytes", std::string(70, '\0') + "\r\n", true}),
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
                      // Dots alone name ordinary files in the working directory.
                      PathCase{"Dot", ".", "..txt"},
                      PathCase{"DotDot", "..", "...txt"},
                      PathCase{"DotDotDot", "...", "....txt"},
                      PathCase{"DotDotSlash", "../", ""},
                      PathCase{"DotDotBackslash", "..\\", ""},
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

// A file longer than one read is checked across the pieces it is read in,
// whatever their size: one in form is appended to in place, one with a lone
// line end anywhere is rewritten whole.
TEST_F(HistoryFilesTest, LongFilesAreCheckedWhole) {
  const std::string line = "2026/12/10 20:34:05-----\xd4\xda\xcf\xdf!\r\n";
  // Lines whose CR LF is split at every power of two from 4 KiB to 1 MiB,
  // where reads of any such size end.
  std::string acrossPieces;
  for (std::size_t boundary = 4096; boundary <= (1u << 20); boundary *= 2) {
    while (acrossPieces.size() + line.size() < boundary - 1) acrossPieces += line;
    acrossPieces += std::string(boundary - 1 - acrossPieces.size(), 'x') + "\r\n";
    ASSERT_EQ(acrossPieces[boundary], '\n');
  }
  std::string loneLfLate = acrossPieces;
  loneLfLate.insert(loneLfLate.size() - 100, "x\n");
  const auto inode = [] {
    struct stat st {};
    return ::stat("4.txt", &st) == 0 ? st.st_ino : 0;
  };
  for (const auto& [before, inForm] : {std::pair{acrossPieces, true}, std::pair{loneLfLate, false}}) {
    WriteFileBytes("4.txt", before);
    const auto was = inode();
    HistoryFiles files;
    files.AppendLine("4", "new");
    EXPECT_EQ(ReadFileBytes("4.txt"), NormalizedHistoryText(before) + "new\r\n");
    EXPECT_EQ(inode() == was, inForm) << "a file in form is appended to in place; any other is replaced";
  }
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


TEST_F(HistoryFilesTest, NumbersOfDotsAloneGetOrdinaryFiles) {
  files_.AppendLine(".", "one");
  files_.AppendLine("..", "two");
  EXPECT_EQ(ReadFileBytes(dir_.Path() / "..txt"), "one\r\n");
  EXPECT_EQ(ReadFileBytes(dir_.Path() / "...txt"), "two\r\n");
}

std::string Attempt(HistoryFiles& files, std::string_view number, std::string_view line) {
  try {
    files.AppendLine(number, line);
    return "written";
  } catch (const HistoryFileError& e) {
    return e.what();
  }
}

std::string CannotCreate(const std::filesystem::path& file, const std::string& why) {
  return "Cannot create file \"" + std::filesystem::absolute(file).string() + "\". " + why;
}

// A history file the user made read-only is neither appended to nor
// replaced, whoever runs the program: the read-only attribute users know
// stops root as well.
struct ReadOnlyCase {
  const char* name;
  std::string before;       // the file's bytes before it is made read-only
  bool writtenBefore;       // this object wrote it (in its own form) before
  bool byItsOrdinaryOwner;  // else by this process, root or not
};
void PrintTo(const ReadOnlyCase& c, std::ostream* os) { *os << c.name; }

class ReadOnlyHistoryFileTest : public ::testing::TestWithParam<ReadOnlyCase> {
 protected:
  TempWorkingDir dir_;
};

TEST_P(ReadOnlyHistoryFileTest, RefusesTheLineAndLeavesTheFolderAsItWas) {
  const ReadOnlyCase& c = GetParam();
  if (c.byItsOrdinaryOwner) {
    if (const auto why = test::WhyNoOrdinaryUser()) GTEST_SKIP() << *why;
  }
  std::filesystem::create_directory("shared");
  ASSERT_EQ(::chmod("shared", 0777), 0);
  // The file is made by whoever writes, so that it is that user's own file.
  const auto attempt = [&c]() -> std::string {
    HistoryFiles files;
    if (c.writtenBefore) {
      files.AppendLine("5", c.before.substr(0, c.before.size() - 2));
    } else {
      WriteFileBytes("5.txt", c.before);
    }
    if (::chmod("5.txt", 0444) != 0) return "cannot chmod";
    const auto before = DirectorySnapshot(".");
    std::string outcome = Attempt(files, "5", "new");
    if (DirectorySnapshot(".") != before) outcome += ", and the folder changed";
    return outcome;
  };
  const int folder = ::open("shared", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  ASSERT_GE(folder, 0);
  std::string outcome;
  if (c.byItsOrdinaryOwner) {
    outcome = test::RunInChild([&]() -> std::string {
      if (!test::BecomeUnprivileged()) return "child: cannot drop privileges";
      if (::fchdir(folder) != 0) return "child: cannot enter the folder";
      return attempt();
    });
  } else {
    ASSERT_EQ(::fchdir(folder), 0);
    outcome = attempt();
  }
  ::close(folder);
  EXPECT_EQ(outcome, CannotCreate(dir_.Path() / "shared" / "5.txt", "Permission denied"));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadOnlyHistoryFileTest,
    ::testing::Values(ReadOnlyCase{"InOwnFormWouldBeAppended", "old\r\n", false, false},
                      ReadOnlyCase{"LfFormWouldBeRewritten", "old\n", false, false},
                      ReadOnlyCase{"WrittenByUsThenMadeReadOnly", "old\r\n", true, false},
                      ReadOnlyCase{"InOwnFormByItsOwner", "old\r\n", false, true},
                      ReadOnlyCase{"LfFormByItsOwner", "old\n", false, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HistoryFilesTest, AFileTheUserMayNotWriteIsLeftAlone) {
  // Readable by all and writable by its owner (root) alone, in a folder
  // anyone may write: a rename would go through, the write must not.
  if (const auto why = test::WhyNoOtherOwner()) GTEST_SKIP() << *why;
  std::filesystem::create_directory("shared");
  ASSERT_EQ(::chmod("shared", 0777), 0);
  WriteFileBytes("shared/6.txt", "old\n");
  WriteFileBytes("shared/7.txt", "old\r\n");
  ASSERT_EQ(::chmod("shared/6.txt", 0644), 0);
  ASSERT_EQ(::chmod("shared/7.txt", 0644), 0);
  const auto before = DirectorySnapshot("shared");
  const int folder = ::open("shared", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  ASSERT_GE(folder, 0);
  const std::string outcome = test::RunInChild([folder]() -> std::string {
    if (!test::BecomeUnprivileged()) return "child: cannot drop privileges";
    if (::fchdir(folder) != 0) return "child: cannot enter the folder";
    HistoryFiles files;
    return Attempt(files, "6", "new") + "\n" + Attempt(files, "7", "new");
  });
  ::close(folder);
  EXPECT_EQ(outcome, CannotCreate(dir_.Path() / "shared" / "6.txt", "Permission denied") + "\n" +
                         CannotCreate(dir_.Path() / "shared" / "7.txt", "Permission denied"));
  EXPECT_EQ(DirectorySnapshot("shared"), before);
}

TEST_F(HistoryFilesTest, AWriterKilledWhileReplacingAFileLeavesNoTemporaryFile) {
  WriteFileBytes("8.txt", "old\n");
  const auto before = DirectorySnapshot(".");
  // The file size limit kills the writer by SIGXFSZ in the middle of writing
  // the replacement, as a kill -9 would.
  const test::ChildEnd end = test::RunChildToItsEnd([] {
    const rlimit noCore{0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
    std::signal(SIGXFSZ, SIG_DFL);
    const rlimit limit{64, 64};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    HistoryFiles files;
    files.AppendLine("8", std::string(1000, 'x'));
    return 0;
  });
  ASSERT_FALSE(end.exited) << "the writer was not killed";
  EXPECT_EQ(end.status, SIGXFSZ);
  EXPECT_EQ(DirectorySnapshot("."), before);
}

// A process id that no process has now: a child that has ended and been
// reaped.
pid_t EndedProcessId() {
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(0);
  ::waitpid(pid, nullptr, 0);
  return pid;
}

TEST_F(HistoryFilesTest, TemporaryFilesOfEndedWritersAreRemovedAtTheNextWrite) {
  const std::string dead = std::to_string(EndedProcessId());
  const std::string self = std::to_string(::getpid());
  const std::string alive = std::to_string(::getppid());
  // What a writer killed in mid-write leaves: its temporary file, named after
  // the target and the writer's process.
  WriteFileBytes("10001.txt.tmp-" + dead + "-0", "half a li");
  WriteFileBytes(".10002.txt.tmp-" + dead + "-7", "x");
  WriteFileBytes("Config.ini.tmp-" + dead + "-12", "[");
  // Not ours, or not stale: a live writer's file, other names, a directory.
  WriteFileBytes("10003.txt.tmp-" + alive + "-0", "in flight");
  WriteFileBytes(".10007.txt.tmp-" + self + "-0", "in flight");
  WriteFileBytes("notes.tmp-" + dead + "-0", "mine");
  WriteFileBytes("10004.txt.tmp-" + dead, "mine");
  WriteFileBytes("10005.txt.tmp-x" + dead + "-0", "mine");
  std::filesystem::create_directory("10006.txt.tmp-" + dead + "-0");
  files_.AppendLine("1", "line");
  std::vector<std::string> left;
  for (const auto& entry : std::filesystem::directory_iterator(".")) left.push_back(entry.path().filename());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{".10007.txt.tmp-" + self + "-0", "1.txt",
                                            "10003.txt.tmp-" + alive + "-0", "10004.txt.tmp-" + dead,
                                            "10005.txt.tmp-x" + dead + "-0", "10006.txt.tmp-" + dead + "-0",
                                            "notes.tmp-" + dead + "-0"}));
}

std::vector<std::string> SortedLines(const std::string& bytes) {
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < bytes.size();) {
    const std::size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back("<no CR LF>" + bytes.substr(start));
      break;
    }
    lines.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  std::sort(lines.begin(), lines.end());
  return lines;
}

TEST_F(HistoryFilesTest, WritersSharingAFolderLoseNoLine) {
  // Half the files exist in another form, so every writer's first line
  // rewrites them; the other half are missing, so every writer creates them.
  constexpr int kWriters = 4;
  constexpr int kNumbers = 40;
  constexpr int kRounds = 3;
  for (int n = 0; n < kNumbers / 2; ++n) WriteFileBytes(std::to_string(n) + ".txt", "seed\n");
  int gate[2];
  ASSERT_EQ(::pipe(gate), 0);
  std::vector<pid_t> writers;
  for (int w = 0; w < kWriters; ++w) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      ::close(gate[1]);
      char go;
      (void)::read(gate[0], &go, 1);  // all start together
      try {
        HistoryFiles files;
        for (int r = 0; r < kRounds; ++r) {
          for (int n = 0; n < kNumbers; ++n) {
            files.AppendLine(std::to_string(n), "w" + std::to_string(w) + " r" + std::to_string(r));
          }
        }
      } catch (...) {
        ::_exit(1);
      }
      ::_exit(0);
    }
    writers.push_back(pid);
  }
  ::close(gate[0]);
  ::close(gate[1]);
  for (const pid_t pid : writers) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a writer failed, status " << status;
  }
  for (int n = 0; n < kNumbers; ++n) {
    std::vector<std::string> expected;
    if (n < kNumbers / 2) expected.push_back("seed");
    for (int w = 0; w < kWriters; ++w) {
      for (int r = 0; r < kRounds; ++r) expected.push_back("w" + std::to_string(w) + " r" + std::to_string(r));
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(SortedLines(ReadFileBytes(std::to_string(n) + ".txt")), expected) << n << ".txt";
  }
}

TEST_F(HistoryFilesTest, TheSystemsTextReachesTheMessageInGbk) {
  const std::string previous = std::setlocale(LC_ALL, nullptr);
  if (std::setlocale(LC_ALL, "zh_CN.UTF-8") == nullptr) {
    GTEST_SKIP() << "the locale zh_CN.UTF-8 is not generated (localedef -i zh_CN -f UTF-8 zh_CN.UTF-8)";
  }
  const std::string isADirectory = std::strerror(EISDIR);  // UTF-8 here
  std::filesystem::create_directory("9.txt");
  const std::string message = Attempt(files_, "9", "x");
  std::setlocale(LC_ALL, previous.c_str());
  const std::string prefix = CannotCreate("9.txt", "");
  ASSERT_EQ(message.substr(0, prefix.size()), prefix);
  std::string text;
  ASSERT_NO_THROW(text = GbkToUtf8(message.substr(prefix.size()), OnInvalid::Throw)) << message;
  EXPECT_EQ(text, isADirectory);
}

}  // namespace
}  // namespace umbra
