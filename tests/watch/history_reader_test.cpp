#include "watch/history_reader.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "base/files.h"
#include "base/gbk.h"
#include "tests/support/scoped_time_zone.h"
#include "tests/support/temp_working_dir.h"
#include "watch/history_sessions.h"

namespace umbra {
namespace {

using Kind = HistoryEventKind;

struct LineCase {
  const char* name;
  std::string lineUtf8;
  // Nothing: not a history line.
  std::optional<LocalDateTime> at;
  Kind kind = Kind::CameOnline;
};
void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }

class HistoryLineTest : public ::testing::TestWithParam<LineCase> {
 protected:
  test::ScopedTimeZone zone_{test::kChinaTime};
};

TEST_P(HistoryLineTest, GivesTheMomentAndTheEventOrNothing) {
  const LineCase& c = GetParam();
  const std::string line = Utf8ToGbk(c.lineUtf8);
  const std::optional<HistoryEvent> event = ParseHistoryLine(line);
  if (!c.at) {
    EXPECT_FALSE(event.has_value());
    return;
  }
  ASSERT_TRUE(event.has_value());
  EXPECT_EQ(event->at.year, c.at->year);
  EXPECT_EQ(event->at.month, c.at->month);
  EXPECT_EQ(event->at.day, c.at->day);
  EXPECT_EQ(event->at.hour, c.at->hour);
  EXPECT_EQ(event->at.minute, c.at->minute);
  EXPECT_EQ(event->at.second, c.at->second);
  EXPECT_EQ(event->at.utcOffsetSeconds, 8 * 3600);
  EXPECT_EQ(event->kind, c.kind);
  EXPECT_EQ(event->EventText(), line.substr(line.find("-----") + 5));
}

INSTANTIATE_TEST_SUITE_P(
    WrittenLines, HistoryLineTest,
    ::testing::Values(
        // The forms the program has written, with every event text.
        LineCase{"NewSlashFormCameOnline", "2026/12/11 3:41:30-----在线!", LocalDateTime{2026, 12, 11, 3, 41, 30}, Kind::CameOnline},
        LineCase{"OldSlashFormWentOffline", "2026/12/10 20:34:05-----离线", LocalDateTime{2026, 12, 10, 20, 34, 5}, Kind::WentOffline},
        LineCase{"ChineseFormCameOnlineAgain", "2026年12月11日 03时41分30秒-----上线了!!!", LocalDateTime{2026, 12, 11, 3, 41, 30}, Kind::CameOnlineAgain},
        LineCase{"ChineseFormWentInvisible", "2027年01月02日 23时59分59秒-----隐身中!", LocalDateTime{2027, 1, 2, 23, 59, 59}, Kind::WentInvisible},
        LineCase{"NewFormOneDigitMonthAndDay", "2027/1/2 0:00:01-----隐身中!", LocalDateTime{2027, 1, 2, 0, 0, 1}, Kind::WentInvisible},
        LineCase{"DashForm", "2026-12-11 03:41:30-----离线", LocalDateTime{2026, 12, 11, 3, 41, 30}, Kind::WentOffline},
        // At midnight the date stands alone.
        LineCase{"MidnightSlashForm", "2026/12/11-----上线了!!!", LocalDateTime{2026, 12, 11, 0, 0, 0}, Kind::CameOnlineAgain},
        LineCase{"MidnightOldSlashForm", "2027/01/02-----离线", LocalDateTime{2027, 1, 2, 0, 0, 0}, Kind::WentOffline},
        LineCase{"MidnightChineseForm", "2026年12月11日-----在线!", LocalDateTime{2026, 12, 11, 0, 0, 0}, Kind::CameOnline},
        LineCase{"LeapDay", "2028/2/29 12:00:00-----离线", LocalDateTime{2028, 2, 29, 12, 0, 0}, Kind::WentOffline}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    OtherLines, HistoryLineTest,
    ::testing::Values(
        LineCase{"Empty", "", std::nullopt},
        LineCase{"EventTextWithoutItsMark", "2026/12/11 3:41:30-----在线", std::nullopt},
        LineCase{"SomethingAfterTheEventText", "2026/12/11 3:41:30-----在线! ", std::nullopt},
        LineCase{"FourDashes", "2026/12/11 3:41:30----在线!", std::nullopt},
        // An event-log change line names the number: it is not a history line.
        LineCase{"EventLogChangeLine", "2026/12/11 3:41:30-----10001在线!", std::nullopt},
        LineCase{"EventLogFailureLine", "2026/12/11 3:41:30---远程数据加载失败----错误代码:x", std::nullopt},
        LineCase{"NoSuchDay", "2026/2/29 10:00:00-----离线", std::nullopt},
        LineCase{"NoSuchHour", "2026/12/11 24:00:00-----离线", std::nullopt},
        LineCase{"NoSeconds", "2026/12/11 3:41-----离线", std::nullopt},
        LineCase{"MonthFirst", "12/11/2026 03:41:30-----离线", std::nullopt},
        LineCase{"TwoDigitYear", "26/12/11 03:41:30-----离线", std::nullopt},
        LineCase{"MixedForms", "2026年12月11日 03:41:30-----离线", std::nullopt},
        LineCase{"TwoBlanks", "2026/12/11  3:41:30-----离线", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HistoryLine, TextSavedAsUtf8IsNotAHistoryLine) {
  // An editor that saved the file as UTF-8 changed the event texts' bytes.
  EXPECT_FALSE(ParseHistoryLine("2026/12/11 3:41:30-----\xE5\x9C\xA8\xE7\xBA\xBF!").has_value());
}

// A whole file, as its lines reach the reader, and the sessions it gives.
struct FileCase {
  const char* name;
  std::string bytesUtf8;                  // converted to GBK
  std::vector<Kind> kinds;                // the events read, in order
  std::vector<std::size_t> skippedLines;  // numbered from 1
  // Start and end of each session as "hh:mm:ss"; "" for an end not yet seen.
  std::vector<std::pair<std::string, std::string>> sessions;
};
void PrintTo(const FileCase& c, std::ostream* os) { *os << c.name; }

class HistoryFileReadTest : public ::testing::TestWithParam<FileCase> {
 protected:
  test::ScopedTimeZone zone_{test::kChinaTime};
};

std::string Clock(const LocalDateTime& at) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", at.hour, at.minute, at.second);
  return text;
}

TEST_P(HistoryFileReadTest, ReadsEveryLineItCanAndCountsTheRest) {
  const FileCase& c = GetParam();
  const HistoryLog log = ReadHistoryText(Utf8ToGbk(c.bytesUtf8));
  std::vector<Kind> kinds;
  for (const HistoryEvent& event : log.events) kinds.push_back(event.kind);
  EXPECT_EQ(kinds, c.kinds);
  EXPECT_EQ(log.skippedLines, c.skippedLines);

  std::vector<std::pair<std::string, std::string>> sessions;
  for (const OnlineSession& session : OnlineSessions(log.events)) {
    sessions.emplace_back(Clock(session.startAt), session.endAt ? Clock(*session.endAt) : "");
    if (session.end) {
      EXPECT_EQ(*session.Seconds(), *session.end - session.start);
    } else {
      EXPECT_FALSE(session.Seconds().has_value());
    }
  }
  EXPECT_EQ(sessions, c.sessions);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HistoryFileReadTest,
    ::testing::Values(
        FileCase{"Empty", "", {}, {}, {}},
        FileCase{"WrittenByTheProgram",
                 "2026/12/10 20:34:05-----在线!\r\n2026/12/10 21:00:00-----隐身中!\r\n"
                 "2026/12/10 22:15:00-----上线了!!!\r\n2026/12/10 23:00:00-----隐身中!\r\n",
                 {Kind::CameOnline, Kind::WentInvisible, Kind::CameOnlineAgain, Kind::WentInvisible},
                 {},
                 {{"20:34:05", "21:00:00"}, {"22:15:00", "23:00:00"}}},
        // Both the old and the new form in one file, as after an update.
        FileCase{"OldFormThenNewForm",
                 "2026年12月11日 03时41分30秒-----离线\r\n2026/12/11 3:50:00-----上线了!!!\r\n"
                 "2026/12/11 4:05:10-----隐身中!\r\n",
                 {Kind::WentOffline, Kind::CameOnlineAgain, Kind::WentInvisible},
                 {},
                 {{"03:50:00", "04:05:10"}}},
        FileCase{"StillOnlineAtTheEnd",
                 "2026/12/11 3:41:30-----在线!\r\n2026/12/11 5:00:00-----上线了!!!\r\n",
                 {Kind::CameOnline, Kind::CameOnlineAgain},
                 {},
                 {{"03:41:30", ""}}},
        FileCase{"LastLineWithoutLineEnd",
                 "2026/12/11 3:41:30-----在线!\r\n2026/12/11 4:00:00-----隐身中!",
                 {Kind::CameOnline, Kind::WentInvisible},
                 {},
                 {{"03:41:30", "04:00:00"}}},
        FileCase{"LoneLfAndLoneCr",
                 "2026/12/11 3:41:30-----在线!\n2026/12/11 4:00:00-----隐身中!\r2026/12/11-----离线\n",
                 {Kind::CameOnline, Kind::WentInvisible, Kind::WentOffline},
                 {},
                 {{"03:41:30", "04:00:00"}}},
        FileCase{"MidnightLineEndsASession",
                 "2026/12/10 23:30:00-----上线了!!!\r\n2026/12/11-----隐身中!\r\n",
                 {Kind::CameOnlineAgain, Kind::WentInvisible},
                 {},
                 {{"23:30:00", "00:00:00"}}},
        FileCase{"LinesItCannotReadAreCountedAndSkipped",
                 "2026/12/11 3:41:30-----在线!\r\n\r\nsomeone wrote this\r\n2026/12/11 4:00:00-----隐身中!\r\n"
                 "2026/12/11 4:10:00-----10001在线!",
                 {Kind::CameOnline, Kind::WentInvisible},
                 {2, 3, 5},
                 {{"03:41:30", "04:00:00"}}},
        // A new watch after a restart says "在线!" again with no end in
        // between: still the one session.
        FileCase{"StartWhileOnlineContinuesTheSession",
                 "2026/12/11 1:00:00-----上线了!!!\r\n2026/12/11 8:00:00-----在线!\r\n"
                 "2026/12/11 9:00:00-----隐身中!\r\n",
                 {Kind::CameOnlineAgain, Kind::CameOnline, Kind::WentInvisible},
                 {},
                 {{"01:00:00", "09:00:00"}}},
        FileCase{"EndsWithNoSessionOpenAreIgnored",
                 "2026/12/11 1:00:00-----离线\r\n2026/12/11 2:00:00-----隐身中!\r\n2026/12/11 3:00:00-----上线了!!!\r\n",
                 {Kind::WentOffline, Kind::WentInvisible, Kind::CameOnlineAgain},
                 {},
                 {{"03:00:00", ""}}},
        // The clock was put back between the two lines.
        FileCase{"EndBeforeStartGivesNoLength",
                 "2026/12/11 9:00:00-----上线了!!!\r\n2026/12/11 8:00:00-----隐身中!\r\n",
                 {Kind::CameOnlineAgain, Kind::WentInvisible},
                 {},
                 {{"09:00:00", "09:00:00"}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HistoryFileRead, NulInALineMakesThatLineUnreadableOnly) {
  const std::string bytes = Utf8ToGbk("2026/12/11 3:41:30-----在线!\r\n") + std::string("2026/12/11\0x\r\n", 14) +
                            Utf8ToGbk("2026/12/11 4:00:00-----隐身中!\r\n");
  const HistoryLog log = ReadHistoryText(bytes);
  EXPECT_EQ(log.events.size(), 2u);
  EXPECT_EQ(log.skippedLines, std::vector<std::size_t>{2});
}

TEST(HistoryFileRead, SessionAcrossTheSpringForwardNightIsAnHourShorter) {
  test::ScopedTimeZone zone(test::kCentralEuropeanTime);
  // Clocks go from 02:00 to 03:00 on 2026-03-29.
  const HistoryLog log = ReadHistoryText(
      Utf8ToGbk("2026/3/29 1:00:00-----上线了!!!\r\n2026/3/29 4:00:00-----隐身中!\r\n"));
  const std::vector<OnlineSession> sessions = OnlineSessions(log.events);
  ASSERT_EQ(sessions.size(), 1u);
  EXPECT_EQ(sessions[0].Seconds(), 2 * 3600);
  EXPECT_EQ(sessions[0].startAt.utcOffsetSeconds, 3600);
  EXPECT_EQ(sessions[0].endAt->utcOffsetSeconds, 7200);
}

TEST(HistoryFileRead, ReadsAFileWithoutChangingIt) {
  test::TempWorkingDir dir;
  const std::string bytes = Utf8ToGbk("2026/12/11 3:41:30-----在线!\nnot a line\r");
  test::WriteFileBytes("10001.txt", bytes);
  const HistoryLog log = ReadHistoryLog("10001.txt");
  EXPECT_EQ(log.events.size(), 1u);
  EXPECT_EQ(log.skippedLines, std::vector<std::size_t>{2});
  EXPECT_EQ(test::ReadFileBytes("10001.txt"), bytes);
}

TEST(HistoryFileRead, MissingFileIsAFileError) {
  test::TempWorkingDir dir;
  EXPECT_THROW(ReadHistoryLog("10001.txt"), FileError);
}

}  // namespace
}  // namespace umbra
