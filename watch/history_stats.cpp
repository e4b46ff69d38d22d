#include "watch/history_stats.h"

#include <algorithm>

#include "base/local_epoch.h"

namespace umbra {

namespace {

// Days since 1970-01-01 of a civil date (the proleptic Gregorian calendar).
long long DaysFromCivil(int year, int month, int day) {
  const int y = year - (month <= 2 ? 1 : 0);
  const int era = (y >= 0 ? y : y - 399) / 400;
  const int yearOfEra = y - era * 400;
  const int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return static_cast<long long>(era) * 146097 + dayOfEra - 719468;
}

long long LocalMidnight(int year, int month, int day) {
  return LocalToEpochSeconds(LocalDateTime{year, month, day, 0, 0, 0, 0});
}

}  // namespace

std::vector<TimeSpan> OnlineSpansWithin(const std::vector<OnlineSession>& sessions, long long from,
                                        long long to, long long now) {
  std::vector<TimeSpan> spans;
  for (const OnlineSession& session : sessions) {
    const long long start = std::max(session.start, from);
    const long long end = std::min(session.end.value_or(std::max(now, session.start)), to);
    if (start < end) spans.push_back({start, end});
  }
  std::sort(spans.begin(), spans.end(), [](const TimeSpan& a, const TimeSpan& b) { return a.start < b.start; });
  std::vector<TimeSpan> merged;
  for (const TimeSpan& span : spans) {
    if (!merged.empty() && span.start <= merged.back().end) {
      merged.back().end = std::max(merged.back().end, span.end);
    } else {
      merged.push_back(span);
    }
  }
  return merged;
}

long long OnlineSecondsWithin(const std::vector<OnlineSession>& sessions, long long from, long long to,
                              long long now) {
  long long seconds = 0;
  for (const TimeSpan& span : OnlineSpansWithin(sessions, from, to, now)) seconds += span.end - span.start;
  return seconds;
}

std::vector<TimelineDay> Timeline(const std::vector<OnlineSession>& sessions, long long now, int days) {
  const LocalDateTime today = LocalAtEpochSeconds(now);
  std::vector<TimelineDay> timeline;
  for (int back = days - 1; back >= 0; --back) {
    TimelineDay day;
    // Out-of-range days roll over into the months before.
    day.start = LocalMidnight(today.year, today.month, today.day - back);
    day.end = LocalMidnight(today.year, today.month, today.day - back + 1);
    day.date = LocalAtEpochSeconds(day.start);
    day.pastEnd = std::min(day.end, now);
    day.online = OnlineSpansWithin(sessions, day.start, day.pastEnd, now);
    timeline.push_back(std::move(day));
  }
  return timeline;
}

std::optional<double> WeekHourGrid::Share(int weekday, int hour) const {
  const long long watched = observed[static_cast<std::size_t>(weekday)][static_cast<std::size_t>(hour)];
  if (watched <= 0) return std::nullopt;
  return static_cast<double>(online[static_cast<std::size_t>(weekday)][static_cast<std::size_t>(hour)]) /
         static_cast<double>(watched);
}

int Weekday(const LocalDateTime& date) {
  // 1970-01-01 was a Thursday.
  const long long days = DaysFromCivil(date.year, date.month, date.day);
  return static_cast<int>(((days + 3) % 7 + 7) % 7);
}

WeekHourGrid WeekHourOnline(const std::vector<OnlineSession>& sessions, long long from, long long now) {
  WeekHourGrid grid;
  const std::vector<TimeSpan> spans = OnlineSpansWithin(sessions, from, now, now);
  std::size_t next = 0;
  for (long long t = from; t < now;) {
    const LocalDateTime local = LocalAtEpochSeconds(t);
    // The next local hour begins where this one's minutes and seconds run out.
    const long long cellEnd = std::min(t - local.minute * 60 - local.second + 3600, now);
    auto weekday = static_cast<std::size_t>(Weekday(local));
    auto hour = static_cast<std::size_t>(local.hour);
    grid.observed[weekday][hour] += cellEnd - t;
    while (next < spans.size() && spans[next].end <= t) ++next;
    for (std::size_t i = next; i < spans.size() && spans[i].start < cellEnd; ++i) {
      grid.online[weekday][hour] += std::min(spans[i].end, cellEnd) - std::max(spans[i].start, t);
    }
    t = cellEnd;
  }
  return grid;
}

HistorySummary Summarize(const std::vector<HistoryEvent>& events,
                         const std::vector<OnlineSession>& sessions, long long now) {
  HistorySummary summary;
  summary.state = LastKnownState(events);
  if (!sessions.empty()) {
    summary.lastSeenOnline = sessions.back().end.value_or(now);
  }
  summary.onlineSecondsLastWeek = OnlineSecondsWithin(sessions, now - 7 * kSecondsPerDay, now, now);
  return summary;
}

}  // namespace umbra
