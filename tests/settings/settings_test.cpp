#include "settings/settings.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <filesystem>
#include <map>
#include <string>

#include "tests/support/child_process.h"
#include "tests/support/temp_working_dir.h"

namespace umbra::settings {
namespace {

namespace fs = std::filesystem;
using test::ReadFileBytes;
using test::WriteFileBytes;

// The names as the old program stored them, in GBK: "配置参数", "QQ号码",
// "刷新时间", "查询地址".
const std::string kSec = "\xC5\xE4\xD6\xC3\xB2\xCE\xCA\xFD";
const std::string kNumbers = "QQ\xBA\xC5\xC2\xEB";
const std::string kRefresh = "\xCB\xA2\xD0\xC2\xCA\xB1\xBC\xE4";
const std::string kEndpoint = "\xB2\xE9\xD1\xAF\xB5\xD8\xD6\xB7";
const std::string kHeader = "[" + kSec + "]";

const char kWriteMessage[] = "Unable to write to .\\Config.ini";

std::string LongNumbers() {
  std::string numbers;
  while (numbers.size() <= 2047 + 3000) numbers += "123456789,";
  return numbers;
}

// Every entry of a directory with its inode, mode, owner and bytes, to see
// that a refused save replaced nothing, changed nothing and left no
// temporary file behind.
std::map<std::string, std::string> Snapshot(const fs::path& directory) {
  return test::DirectorySnapshot(directory);
}

class SettingsFile : public ::testing::Test {
 protected:
  test::TempWorkingDir dir_;
};

TEST_F(SettingsFile, FirstRunUsesDefaultsAndCreatesNothing) {
  const Settings loaded = LoadSettings();
  EXPECT_EQ(loaded.numbers, "");
  EXPECT_EQ(loaded.refreshTime, "30");
  EXPECT_EQ(loaded.endpoint, "");
  EXPECT_TRUE(fs::is_empty(dir_.Path()));
}

TEST_F(SettingsFile, FirstSaveWritesHeaderAndBothKeysInOrder) {
  SaveSettings("123,456", "30");
  EXPECT_EQ(ReadFileBytes("Config.ini"),
            kHeader + "\r\n" + kNumbers + "=123,456\r\n" + kRefresh + "=30\r\n");
}

TEST_F(SettingsFile, FileOfTheOldProgramLoadsAndSavesUnchanged) {
  const std::string old = kHeader + "\r\n" + kNumbers + "=10001,10002\r\n" + kRefresh + "=60\r\n";
  WriteFileBytes("Config.ini", old);
  const Settings loaded = LoadSettings();
  EXPECT_EQ(loaded.numbers, "10001,10002");
  EXPECT_EQ(loaded.refreshTime, "60");
  SaveSettings(loaded.numbers, loaded.refreshTime);
  EXPECT_EQ(ReadFileBytes("Config.ini"), old);
}

TEST_F(SettingsFile, SaveChangesOnlyTheTwoValuesOfAHandEditedFile) {
  // LF line ends, keys in the other order and spelled differently, a
  // comment, another section, the endpoint and a key the program does not know.
  const std::string before =
      "; my watch list\n"
      "[other]\n" +
      kNumbers + "=not this one\n" +
      "\n"
      "[ " + kSec + " ]\n" +
      kRefresh + " = \"abc\"\n" +
      kEndpoint + " = http://127.0.0.1:8080\n" +
      "qq" + kNumbers.substr(2) + "\t=\t1\n" +
      "extra=kept\n"
      "\n"
      "[last]\n"
      "x=y";
  WriteFileBytes("Config.ini", before);
  const Settings loaded = LoadSettings();
  EXPECT_EQ(loaded.numbers, "1");
  EXPECT_EQ(loaded.refreshTime, "abc");
  EXPECT_EQ(loaded.endpoint, "http://127.0.0.1:8080");

  SaveSettings("1,2", "abc");
  EXPECT_EQ(ReadFileBytes("Config.ini"),
            "; my watch list\n"
            "[other]\n" +
                kNumbers + "=not this one\n" +
                "\n"
                "[ " + kSec + " ]\n" +
                kRefresh + "=abc\n" +
                kEndpoint + " = http://127.0.0.1:8080\n" +
                "qq" + kNumbers.substr(2) + "=1,2\n" +
                "extra=kept\n"
                "\n"
                "[last]\n"
                "x=y");
}

TEST_F(SettingsFile, MissingKeysAreAddedAfterTheSectionsLastKeyNumbersFirst) {
  WriteFileBytes("Config.ini", kHeader + "\r\n" + kEndpoint + "=http://h:1\r\n\r\n[other]\r\n");
  SaveSettings("5", "15");
  EXPECT_EQ(ReadFileBytes("Config.ini"), kHeader + "\r\n" + kEndpoint + "=http://h:1\r\n" +
                                             kNumbers + "=5\r\n" + kRefresh + "=15\r\n" +
                                             "\r\n[other]\r\n");
  EXPECT_EQ(LoadSettings().endpoint, "http://h:1");
}

TEST_F(SettingsFile, EmptyValuesAreNotDefaults) {
  WriteFileBytes("Config.ini", kHeader + "\r\n" + kNumbers + "=\r\n" + kRefresh + "=\r\n" +
                                   kEndpoint + "=\r\n");
  const Settings loaded = LoadSettings();
  EXPECT_EQ(loaded.numbers, "");
  EXPECT_EQ(loaded.refreshTime, "");
  EXPECT_EQ(loaded.endpoint, "");
}

TEST_F(SettingsFile, NumbersLongerThan2047BytesSurviveLoadAndSave) {
  const std::string numbers = LongNumbers();
  SaveSettings(numbers, "30");
  const Settings loaded = LoadSettings();
  EXPECT_EQ(loaded.numbers, numbers);
  SaveSettings(loaded.numbers, loaded.refreshTime);
  EXPECT_EQ(ReadFileBytes("Config.ini"),
            kHeader + "\r\n" + kNumbers + "=" + numbers + "\r\n" + kRefresh + "=30\r\n");
}

class SettingsRoundTrip : public ::testing::TestWithParam<std::string> {
 protected:
  test::TempWorkingDir dir_;
};

TEST_P(SettingsRoundTrip, WhatIsSavedLoadsBackUnchanged) {
  SaveSettings(GetParam(), GetParam());
  const Settings loaded = LoadSettings();
  EXPECT_EQ(loaded.numbers, GetParam());
  EXPECT_EQ(loaded.refreshTime, GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SettingsRoundTrip,
    ::testing::Values("", "10001", "1, 2,,3", "=[x]=;",
                      "12,\xD5\xC5\xC8\xFD",      // "张三" in GBK
                      "\xB5\x5D\xC5\x5B\x81\x41",  // characters ending in "]", "[" and "A"
                      "\xFF\x81\x20\x80",          // not valid GBK
                      "a\"b'c"));

TEST_F(SettingsFile, EachAccessUsesTheWorkingDirectoryOfThatMoment) {
  SaveSettings("1", "60");
  fs::create_directory("elsewhere");
  fs::current_path("elsewhere");
  EXPECT_EQ(LoadSettings().numbers, "");
  SaveSettings("2", "15");
  EXPECT_EQ(LoadSettings().numbers, "2");
  fs::current_path(dir_.Path());
  EXPECT_EQ(LoadSettings().numbers, "1");
  EXPECT_TRUE(fs::exists("elsewhere/Config.ini"));
}

TEST_F(SettingsFile, RewriteKeepsPermissions) {
  WriteFileBytes("Config.ini", kHeader + "\r\n");
  ASSERT_EQ(::chmod("Config.ini", 0640), 0);
  SaveSettings("1", "30");
  struct stat after {};
  ASSERT_EQ(::stat("Config.ini", &after), 0);
  EXPECT_EQ(after.st_mode & 07777, 0640u);
  EXPECT_EQ(LoadSettings().numbers, "1");
}

TEST_F(SettingsFile, RewriteByRootKeepsTheOwner) {
  if (const auto why = test::WhyNoOtherOwner()) GTEST_SKIP() << *why;
  WriteFileBytes("Config.ini", kHeader + "\r\n");
  ASSERT_EQ(::chmod("Config.ini", 0640), 0);
  ASSERT_EQ(::chown("Config.ini", 65534, 65534), 0);
  SaveSettings("1", "30");
  struct stat after {};
  ASSERT_EQ(::stat("Config.ini", &after), 0);
  EXPECT_EQ(after.st_mode & 07777, 0640u);
  EXPECT_EQ(after.st_uid, 65534u);
  EXPECT_EQ(after.st_gid, 65534u);
  EXPECT_EQ(LoadSettings().numbers, "1");
}

TEST_F(SettingsFile, NewFileFollowsTheUmask) {
  const mode_t previous = ::umask(027);
  SaveSettings("1", "30");
  ::umask(previous);
  struct stat after {};
  ASSERT_EQ(::stat("Config.ini", &after), 0);
  EXPECT_EQ(after.st_mode & 07777, 0640u);
}

TEST_F(SettingsFile, LinkedFileIsWrittenThroughTheLink) {
  fs::create_directory("kept");
  WriteFileBytes("kept/real.ini", kHeader + "\r\n" + kNumbers + "=1\r\n");
  fs::create_symlink("kept/real.ini", "Config.ini");
  SaveSettings("2", "30");
  EXPECT_TRUE(fs::is_symlink("Config.ini"));
  EXPECT_EQ(ReadFileBytes("kept/real.ini"),
            kHeader + "\r\n" + kNumbers + "=2\r\n" + kRefresh + "=30\r\n");
}

// A save that fails must name the file the way users know it and leave what
// is on disk exactly as it was, without a stray temporary file.
class RefusedSave : public SettingsFile {
 protected:
  // Runs `body` in a child working in `folder` as an ordinary user, to whom
  // file permissions apply: the test itself may run as root, who ignores
  // them. Callers skip first when no ordinary user can be had.
  static std::string InFolderAsOrdinaryUser(const char* folder, const std::function<std::string()>& body) {
    const int fd = ::open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return "cannot open the folder";
    const std::string outcome = test::RunInChild([fd, &body]() -> std::string {
      if (!test::BecomeUnprivileged()) return "child: cannot drop privileges";
      // fchdir needs no way through the test's own private directory.
      if (::fchdir(fd) != 0) return "child: cannot enter the directory";
      return body();
    });
    ::close(fd);
    return outcome;
  }

  static std::string Save(const std::string& numbers, const std::string& refreshTime) {
    try {
      SaveSettings(numbers, refreshTime);
      return "saved";
    } catch (const SettingsWriteError& e) {
      return e.what();
    }
  }

  const std::string existing_ = kHeader + "\r\n" + kNumbers + "=1\r\n" + kRefresh + "=60\r\n";
};

TEST_F(RefusedSave, ReadOnlyDirectory) {
  if (const auto why = test::WhyNoOrdinaryUser()) GTEST_SKIP() << *why;
  fs::create_directory("ro");
  WriteFileBytes("ro/Config.ini", existing_);
  ASSERT_EQ(::chmod("ro/Config.ini", 0644), 0);
  ASSERT_EQ(::chmod("ro", 0555), 0);
  const auto before = Snapshot("ro");
  EXPECT_EQ(InFolderAsOrdinaryUser("ro", [] { return Save("2,3", "15"); }), kWriteMessage);
  EXPECT_EQ(Snapshot("ro"), before);
}

TEST_F(RefusedSave, WriteCutShortByTheDisk) {
  WriteFileBytes("Config.ini", existing_);
  const auto before = Snapshot(".");
  // A file size limit makes the write of the temporary file fail midway, as
  // a full disk would.
  const std::string outcome = test::RunInChild([]() -> std::string {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{40, 40};
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return "child: cannot limit file size";
    try {
      SaveSettings(LongNumbers(), "15");
      return "saved";
    } catch (const SettingsWriteError& e) {
      return e.what() + std::string(e.Errno() == EFBIG ? "" : " (not EFBIG)");
    }
  });
  EXPECT_EQ(outcome, kWriteMessage);
  EXPECT_EQ(Snapshot("."), before);
}

TEST_F(RefusedSave, ExistingFileThatCannotBeReadIsNotOverwritten) {
  if (const auto why = test::WhyNoOrdinaryUser()) GTEST_SKIP() << *why;
  fs::create_directory("shared");
  ASSERT_EQ(::chmod("shared", 0777), 0);
  WriteFileBytes("shared/Config.ini", existing_);
  ASSERT_EQ(::chmod("shared/Config.ini", 0), 0);
  const auto before = Snapshot("shared");
  const std::string outcome = InFolderAsOrdinaryUser("shared", []() -> std::string {
    if (LoadSettings().refreshTime != "30") return "child: unreadable file did not give defaults";
    return Save("2", "15");
  });
  EXPECT_EQ(outcome, kWriteMessage);
  EXPECT_EQ(Snapshot("shared"), before);
}

TEST_F(RefusedSave, FileTheUserMayNotWriteIsNotReplaced) {
  // Readable by all, writable by its owner (root) alone, in a folder anyone
  // may write: a rename would go through, the write must not.
  if (const auto why = test::WhyNoOtherOwner()) GTEST_SKIP() << *why;
  fs::create_directory("shared");
  ASSERT_EQ(::chmod("shared", 0777), 0);
  WriteFileBytes("shared/Config.ini", existing_);
  ASSERT_EQ(::chmod("shared/Config.ini", 0644), 0);
  const auto before = Snapshot("shared");
  EXPECT_EQ(InFolderAsOrdinaryUser("shared", [] { return Save("2", "15"); }), kWriteMessage);
  EXPECT_EQ(Snapshot("shared"), before);
}

// A Config.ini the user made read-only is never replaced, whoever runs the
// program: the read-only attribute users know stops root as well.
struct ReadOnlyConfig {
  const char* name;
  mode_t mode;
  bool savedByItsOrdinaryOwner;  // else by this process, root or not
};
void PrintTo(const ReadOnlyConfig& c, std::ostream* os) { *os << c.name; }

class ReadOnlyConfigTest : public RefusedSave, public ::testing::WithParamInterface<ReadOnlyConfig> {};

TEST_P(ReadOnlyConfigTest, IsNeitherReplacedNorChanged) {
  const ReadOnlyConfig& c = GetParam();
  if (c.savedByItsOrdinaryOwner) {
    if (const auto why = test::WhyNoOrdinaryUser()) GTEST_SKIP() << *why;
  }
  fs::create_directory("shared");
  ASSERT_EQ(::chmod("shared", 0777), 0);
  // The file is made by whoever saves, so that it is that user's own file.
  const auto attempt = [this, mode = c.mode]() -> std::string {
    WriteFileBytes("Config.ini", existing_);
    if (::chmod("Config.ini", mode) != 0) return "cannot chmod";
    const auto before = Snapshot(".");
    std::string outcome = Save("2,3", "15");
    if (Snapshot(".") != before) outcome += ", and the folder changed";
    return outcome;
  };
  std::string outcome;
  if (c.savedByItsOrdinaryOwner) {
    outcome = InFolderAsOrdinaryUser("shared", attempt);
  } else {
    fs::current_path("shared");
    outcome = attempt();
  }
  EXPECT_EQ(outcome, kWriteMessage);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadOnlyConfigTest,
    ::testing::Values(ReadOnlyConfig{"ReadOnlyForAll", 0444, false},
                      ReadOnlyConfig{"ReadableByTheOwnerAlone", 0400, false},
                      ReadOnlyConfig{"ExecutableButNotWritable", 0555, false},
                      ReadOnlyConfig{"ReadOnlyForAllSavedByItsOwner", 0444, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RefusedSave, DirectoryInThePlaceOfTheFile) {
  fs::create_directory("Config.ini");
  const Settings loaded = LoadSettings();
  EXPECT_EQ(loaded.numbers, "");
  EXPECT_EQ(loaded.refreshTime, "30");
  try {
    SaveSettings("1", "30");
    FAIL() << "saved";
  } catch (const SettingsWriteError& e) {
    EXPECT_STREQ(e.what(), kWriteMessage);
  }
  EXPECT_TRUE(fs::is_directory("Config.ini"));
  EXPECT_TRUE(fs::is_empty("Config.ini"));
}

TEST_F(RefusedSave, FileElsewhereIsNamedAsGiven) {
  WriteFileBytes("blocker", "a file, not a directory");
  try {
    SaveSettings("1", "30", "blocker/Config.ini");
    FAIL() << "saved";
  } catch (const SettingsWriteError& e) {
    EXPECT_STREQ(e.what(), "Unable to write to blocker/Config.ini");
    EXPECT_EQ(e.Errno(), ENOTDIR);
  }
  EXPECT_EQ(ReadFileBytes("blocker"), "a file, not a directory");
}

TEST(RefreshChoices, FiveChoicesInOrderWithoutTheDefault) {
  EXPECT_EQ(RefreshChoices(), (std::vector<std::string>{"15", "60", "120", "180", "240"}));
}

}  // namespace
}  // namespace umbra::settings
