#pragma once
// What the history view shows of a number's sessions: time online in a
// span, a day-by-day timeline, and the share of time online per weekday and
// hour. Times are seconds since the epoch; days and hours are the machine's
// local ones. A session still open counts until `now`.

#include <array>
#include <optional>
#include <vector>

#include "base/local_time.h"
#include "watch/history_sessions.h"

namespace umbra {

inline constexpr long long kSecondsPerDay = 24 * 60 * 60;

struct TimeSpan {
  long long start = 0;  // inclusive
  long long end = 0;    // exclusive
  bool operator==(const TimeSpan&) const = default;
};

// The time online that falls in [from, to), sorted, overlaps merged.
std::vector<TimeSpan> OnlineSpansWithin(const std::vector<OnlineSession>& sessions, long long from,
                                        long long to, long long now);

long long OnlineSecondsWithin(const std::vector<OnlineSession>& sessions, long long from, long long to,
                              long long now);

struct TimelineDay {
  LocalDateTime date;  // year, month and day of the row
  long long start = 0;  // the day's local midnight
  long long end = 0;    // the next day's
  long long pastEnd = 0;  // `now` on the present day, else `end`
  std::vector<TimeSpan> online;
};

// The `days` local days up to and including the day of `now`, oldest first.
std::vector<TimelineDay> Timeline(const std::vector<OnlineSession>& sessions, long long now, int days);

// Seconds watched and seconds online per weekday (0 Monday .. 6 Sunday) and
// local hour of day.
struct WeekHourGrid {
  std::array<std::array<long long, 24>, 7> observed{};
  std::array<std::array<long long, 24>, 7> online{};

  // The share of the watched time that was online; nothing for an hour never
  // watched.
  std::optional<double> Share(int weekday, int hour) const;
};

// Over [from, now).
WeekHourGrid WeekHourOnline(const std::vector<OnlineSession>& sessions, long long from, long long now);

// 0 Monday .. 6 Sunday.
int Weekday(const LocalDateTime& date);

struct HistorySummary {
  KnownState state = KnownState::Unknown;
  // `now` while online; otherwise the end of the last session; nothing when
  // it never was online.
  std::optional<long long> lastSeenOnline;
  long long onlineSecondsLastWeek = 0;  // the 7 days up to `now`
};

HistorySummary Summarize(const std::vector<HistoryEvent>& events,
                         const std::vector<OnlineSession>& sessions, long long now);

}  // namespace umbra
