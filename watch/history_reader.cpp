#include "watch/history_reader.h"

#include <array>
#include <optional>

#include "base/files.h"
#include "base/local_epoch.h"
#include "watch/date_time_parse.h"
#include "watch/watch_texts.h"

namespace umbra {

namespace {

struct KnownEvent {
  HistoryEventKind kind;
  const std::string& (*text)();
};

constexpr std::array<KnownEvent, 4> kKnownEvents{{
    {HistoryEventKind::CameOnline, texts::CameOnline},
    {HistoryEventKind::WentOffline, texts::WentOffline},
    {HistoryEventKind::CameOnlineAgain, texts::CameOnlineAgain},
    {HistoryEventKind::WentInvisible, texts::WentInvisible},
}};

}  // namespace

bool HistoryEvent::StartsSession() const {
  return kind == HistoryEventKind::CameOnline || kind == HistoryEventKind::CameOnlineAgain;
}

const std::string& HistoryEvent::EventText() const {
  for (const KnownEvent& known : kKnownEvents) {
    if (known.kind == kind) return known.text();
  }
  return texts::CameOnline();  // not reached: every kind is known
}

namespace {

// Turns local dates and times into moments a day at a time: the system's
// calendar is asked once per day of lines rather than twice per line, which
// is most of a line's cost. A day on which the offset changes (summer time
// begins or ends) is asked line by line.
class LocalDayClock {
 public:
  void Place(HistoryEvent& event) {
    const LocalDateTime& at = event.at;
    if (!day_ || day_->year != at.year || day_->month != at.month || day_->day != at.day) Learn(at);
    if (day_->uniform) {
      event.epochSeconds = day_->midnight + at.hour * 3600LL + at.minute * 60LL + at.second;
      event.at.utcOffsetSeconds = day_->utcOffsetSeconds;
      return;
    }
    event.epochSeconds = LocalToEpochSeconds(at);
    // The offset in force at that moment, which the text itself does not
    // name; an hour that summer time repeats gets the one the system picks.
    event.at.utcOffsetSeconds = LocalAtEpochSeconds(event.epochSeconds).utcOffsetSeconds;
  }

 private:
  struct Day {
    int year, month, day;
    long long midnight;
    int utcOffsetSeconds;
    bool uniform;  // 24 hours of one offset, from 00:00:00
  };

  void Learn(const LocalDateTime& at) {
    Day day{at.year, at.month, at.day, 0, 0, false};
    day.midnight = LocalToEpochSeconds(LocalDateTime{at.year, at.month, at.day, 0, 0, 0});
    const long long next = LocalToEpochSeconds(LocalDateTime{at.year, at.month, at.day + 1, 0, 0, 0});
    const LocalDateTime first = LocalAtEpochSeconds(day.midnight);
    const LocalDateTime last = LocalAtEpochSeconds(next - 1);
    day.utcOffsetSeconds = first.utcOffsetSeconds;
    day.uniform = next - day.midnight == 24 * 3600 && first.hour == 0 && first.minute == 0 &&
                  first.second == 0 && last.utcOffsetSeconds == first.utcOffsetSeconds;
    day_ = day;
  }

  std::optional<Day> day_;
};

// The next CR or LF from `from`. (find_first_of would look each byte up in
// the set with a call of its own.)
std::size_t LineEnd(std::string_view bytes, std::size_t from) {
  for (std::size_t i = from; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' || bytes[i] == '\n') return i;
  }
  return std::string_view::npos;
}

std::optional<HistoryEvent> ParseLine(std::string_view line, LocalDayClock& clock) {
  // No date-time form holds five dashes in a row, so the first five end it.
  const std::size_t separator = line.find(texts::kLineSeparator);
  if (separator == std::string_view::npos) return std::nullopt;
  const std::string_view eventText =
      line.substr(separator + std::string_view(texts::kLineSeparator).size());
  for (const KnownEvent& known : kKnownEvents) {
    if (eventText != known.text()) continue;
    const std::optional<LocalDateTime> at = ParseDateTimeText(line.substr(0, separator));
    if (!at) return std::nullopt;
    HistoryEvent event;
    event.at = *at;
    event.kind = known.kind;
    clock.Place(event);
    return event;
  }
  return std::nullopt;
}

}  // namespace

std::optional<HistoryEvent> ParseHistoryLine(std::string_view line) {
  LocalDayClock clock;
  return ParseLine(line, clock);
}

HistoryLog ReadHistoryText(std::string_view bytes) {
  HistoryLog log;
  LocalDayClock clock;
  std::size_t number = 0;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t end = LineEnd(bytes, start);
    const std::string_view line = bytes.substr(start, end == std::string_view::npos ? end : end - start);
    ++number;
    if (std::optional<HistoryEvent> event = ParseLine(line, clock)) {
      log.events.push_back(*event);
    } else {
      log.skippedLines.push_back(number);
    }
    if (end == std::string_view::npos) break;
    start = end + (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n' ? 2 : 1);
  }
  return log;
}

HistoryLog ReadHistoryLog(const std::string& path) { return ReadHistoryText(ReadWholeFile(path)); }

}  // namespace umbra
