#include "watch/history_reader.h"

#include <array>
#include <utility>

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

std::optional<HistoryEvent> ParseHistoryLine(std::string_view line) {
  // No date-time form holds five dashes in a row, so the first five end it.
  const std::size_t separator = line.find(texts::kLineSeparator);
  if (separator == std::string_view::npos) return std::nullopt;
  const std::optional<LocalDateTime> at = ParseDateTimeText(line.substr(0, separator));
  if (!at) return std::nullopt;
  const std::string_view eventText =
      line.substr(separator + std::string_view(texts::kLineSeparator).size());
  for (const KnownEvent& known : kKnownEvents) {
    if (eventText != known.text()) continue;
    HistoryEvent event;
    event.epochSeconds = LocalToEpochSeconds(*at);
    // The offset in force at that moment, which the text itself does not
    // name; an hour that summer time repeats gets the one the system picks.
    event.at = *at;
    event.at.utcOffsetSeconds = LocalAtEpochSeconds(event.epochSeconds).utcOffsetSeconds;
    event.kind = known.kind;
    event.line = std::string(line);
    return event;
  }
  return std::nullopt;
}

HistoryLog ReadHistoryText(std::string_view bytes) {
  HistoryLog log;
  std::size_t number = 0;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find_first_of("\r\n", start);
    const std::string_view line = bytes.substr(start, end == std::string_view::npos ? end : end - start);
    ++number;
    if (std::optional<HistoryEvent> event = ParseHistoryLine(line)) {
      log.events.push_back(std::move(*event));
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
