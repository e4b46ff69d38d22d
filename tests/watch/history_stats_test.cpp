#include "watch/history_stats.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/gbk.h"
#include "base/local_epoch.h"
#include "tests/support/scoped_time_zone.h"

namespace umbra {
namespace {

long long At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
  return LocalToEpochSeconds(LocalDateTime{year, month, day, hour, minute, second});
}

// The sessions of a history file's text (UTF-8 here).
std::vector<OnlineSession> Sessions(const std::string& text) {
  return OnlineSessions(ReadHistoryText(Utf8ToGbk(text)).events);
}

class HistoryStatsTest : public ::testing::Test {
 protected:
  test::ScopedTimeZone zone_{test::kChinaTime};
};

TEST_F(HistoryStatsTest, OnlineSecondsAreClippedToTheSpanAndOpenSessionsRunUntilNow) {
  const auto sessions = Sessions(
      "2026/12/1 10:00:00-----上线了!!!\r\n2026/12/1 12:00:00-----隐身中!\r\n"
      "2026/12/3 8:00:00-----上线了!!!\r\n");
  const long long now = At(2026, 12, 3, 9, 30);
  EXPECT_EQ(OnlineSecondsWithin(sessions, At(2026, 12, 1, 11), now, now), 3600 + 5400);
  EXPECT_EQ(OnlineSecondsWithin(sessions, At(2026, 12, 1), At(2026, 12, 2), now), 7200);
  EXPECT_EQ(OnlineSecondsWithin(sessions, At(2026, 12, 1, 12), At(2026, 12, 3, 8), now), 0);
}

TEST_F(HistoryStatsTest, TimelineHasARowPerDayOldestFirstWithSessionsCutAtMidnight) {
  const auto sessions = Sessions(
      "2026/12/9 22:00:00-----上线了!!!\r\n2026/12/10 1:30:00-----隐身中!\r\n"
      "2026/12/11 6:00:00-----在线!\r\n");
  const long long now = At(2026, 12, 11, 7, 15);
  const std::vector<TimelineDay> days = Timeline(sessions, now, 14);

  ASSERT_EQ(days.size(), 14u);
  EXPECT_EQ(days.front().date.month, 11);
  EXPECT_EQ(days.front().date.day, 28);
  EXPECT_EQ(days.back().date.day, 11);
  EXPECT_EQ(days.back().start, At(2026, 12, 11));
  EXPECT_EQ(days.back().end, At(2026, 12, 12));
  EXPECT_EQ(days.back().pastEnd, now);
  EXPECT_EQ(days.front().pastEnd, days.front().end);
  for (std::size_t i = 0; i + 3 < days.size(); ++i) EXPECT_TRUE(days[i].online.empty()) << i;
  EXPECT_EQ(days[11].online, (std::vector<TimeSpan>{{At(2026, 12, 9, 22), At(2026, 12, 10)}}));
  EXPECT_EQ(days[12].online, (std::vector<TimeSpan>{{At(2026, 12, 10), At(2026, 12, 10, 1, 30)}}));
  // Still online: the bar reaches the present moment and no further.
  EXPECT_EQ(days[13].online, (std::vector<TimeSpan>{{At(2026, 12, 11, 6), now}}));
}

TEST_F(HistoryStatsTest, TimelineRowsFollowTheCalendarAcrossMonthsAndYears) {
  const std::vector<TimelineDay> days = Timeline({}, At(2027, 1, 3, 12), 5);
  std::vector<std::string> dates;
  for (const TimelineDay& day : days) {
    dates.push_back(std::to_string(day.date.year) + "-" + std::to_string(day.date.month) + "-" +
                    std::to_string(day.date.day));
    EXPECT_EQ(day.end - day.start, kSecondsPerDay);
  }
  EXPECT_EQ(dates, (std::vector<std::string>{"2026-12-30", "2026-12-31", "2027-1-1", "2027-1-2", "2027-1-3"}));
}

TEST_F(HistoryStatsTest, WeekHourShareIsOnlineTimeOverWatchedTime) {
  // 2026-12-07 is a Monday.
  const auto sessions = Sessions(
      "2026/12/7 10:00:00-----在线!\r\n2026/12/7 10:30:00-----隐身中!\r\n"
      "2026/12/7 23:30:00-----上线了!!!\r\n2026/12/8 0:15:00-----隐身中!\r\n");
  const WeekHourGrid grid = WeekHourOnline(sessions, At(2026, 12, 7), At(2026, 12, 8, 1));

  EXPECT_DOUBLE_EQ(*grid.Share(0, 10), 0.5);
  EXPECT_DOUBLE_EQ(*grid.Share(0, 9), 0.0);
  EXPECT_DOUBLE_EQ(*grid.Share(0, 23), 0.5);
  EXPECT_DOUBLE_EQ(*grid.Share(1, 0), 0.25);
  // Tuesday 1:00 onwards and every other day were never watched.
  EXPECT_FALSE(grid.Share(1, 1).has_value());
  EXPECT_FALSE(grid.Share(6, 10).has_value());
  EXPECT_EQ(grid.observed[0][0], 3600);
}

TEST_F(HistoryStatsTest, WeekHourGridAddsUpOverSeveralWeeks) {
  // Online every Sunday 20:00-21:00 for three weeks, watched for four.
  std::string text;
  for (int day : {6, 13, 20}) {
    text += "2026/12/" + std::to_string(day) + " 20:00:00-----上线了!!!\r\n";
    text += "2026/12/" + std::to_string(day) + " 21:00:00-----隐身中!\r\n";
  }
  const WeekHourGrid grid = WeekHourOnline(Sessions(text), At(2026, 11, 30), At(2026, 12, 28));
  EXPECT_DOUBLE_EQ(*grid.Share(6, 20), 0.75);
  EXPECT_EQ(grid.observed[6][20], 4 * 3600);
  EXPECT_DOUBLE_EQ(*grid.Share(6, 21), 0.0);
}

TEST(HistoryStatsZones, HoursFollowLocalTimeAcrossTheChangeToSummerTime) {
  test::ScopedTimeZone zone(test::kCentralEuropeanTime);
  // 2026-03-29, a Sunday: 02:00 does not exist.
  const auto sessions = Sessions("2026/3/29 1:30:00-----上线了!!!\r\n2026/3/29 3:30:00-----隐身中!\r\n");
  const WeekHourGrid grid = WeekHourOnline(sessions, At(2026, 3, 29), At(2026, 3, 29, 6));
  EXPECT_DOUBLE_EQ(*grid.Share(6, 1), 0.5);
  EXPECT_FALSE(grid.Share(6, 2).has_value());
  EXPECT_DOUBLE_EQ(*grid.Share(6, 3), 0.5);
  EXPECT_EQ(grid.observed[6][0] + grid.observed[6][1] + grid.observed[6][3] + grid.observed[6][4] +
                grid.observed[6][5],
            5 * 3600);

  const std::vector<TimelineDay> days = Timeline(sessions, At(2026, 3, 29, 12), 1);
  EXPECT_EQ(days[0].end - days[0].start, 23 * 3600);
}

TEST(HistoryStatsWeekday, CountsFromMonday) {
  EXPECT_EQ(Weekday({2026, 12, 7}), 0);
  EXPECT_EQ(Weekday({2026, 12, 13}), 6);
  EXPECT_EQ(Weekday({1970, 1, 1}), 3);
  EXPECT_EQ(Weekday({2000, 2, 29}), 1);
  EXPECT_EQ(Weekday({1969, 12, 31}), 2);
}

struct SummaryCase {
  const char* name;
  std::string text;
  KnownState state;
  const char* lastSeenOnline;  // "day hh:mm", "" for never
  long long lastWeek;
};
void PrintTo(const SummaryCase& c, std::ostream* os) { *os << c.name; }

class HistorySummaryTest : public ::testing::TestWithParam<SummaryCase> {
 protected:
  test::ScopedTimeZone zone_{test::kChinaTime};
};

// "Now" for every case: 2026-12-11 12:00.
TEST_P(HistorySummaryTest, StateLastSeenAndTheWeeksTimeOnline) {
  const SummaryCase& c = GetParam();
  const HistoryLog log = ReadHistoryText(Utf8ToGbk(c.text));
  const HistorySummary summary = Summarize(log.events, OnlineSessions(log.events), At(2026, 12, 11, 12));
  EXPECT_EQ(summary.state, c.state);
  std::string lastSeen;
  if (summary.lastSeenOnline) {
    const LocalDateTime at = LocalAtEpochSeconds(*summary.lastSeenOnline);
    char text[32];
    std::snprintf(text, sizeof text, "%d %02d:%02d", at.day, at.hour, at.minute);
    lastSeen = text;
  }
  EXPECT_EQ(lastSeen, c.lastSeenOnline);
  EXPECT_EQ(summary.onlineSecondsLastWeek, c.lastWeek);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HistorySummaryTest,
    ::testing::Values(
        SummaryCase{"NothingRecorded", "", KnownState::Unknown, "", 0},
        SummaryCase{"NeverOnline", "2026/12/10 8:00:00-----离线\r\n", KnownState::Offline, "", 0},
        SummaryCase{"OnlineNow", "2026/12/11 10:00:00-----在线!\r\n", KnownState::Online, "11 12:00", 7200},
        SummaryCase{"WentInvisible",
                    "2026/12/11 10:00:00-----在线!\r\n2026/12/11 10:20:00-----隐身中!\r\n",
                    KnownState::Offline, "11 10:20", 1200},
        // Only the part of a session inside the last seven days counts.
        SummaryCase{"OlderThanAWeek",
                    "2026/12/4 10:00:00-----上线了!!!\r\n2026/12/4 14:00:00-----隐身中!\r\n",
                    KnownState::Offline, "4 14:00", 7200}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace umbra
