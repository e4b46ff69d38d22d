// Reading a history file back, against a floor: the same bytes cut into
// lines with memchr and nothing else. The ratio of the two times is what a
// line's parse (date-time text, event text, the moment it names) costs over
// touching its bytes.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "base/local_epoch.h"
#include "watch/history_reader.h"
#include "watch/history_sessions.h"

namespace umbra {
namespace {

// A busy number's file: `lines` changes some forty minutes apart, in order,
// in the forms the program has written, online and offline in turn.
std::string HistoryText(std::size_t lines) {
  static const char* const kEvents[] = {"\xC9\xCF\xCF\xDF\xC1\xCB!!!", "\xD2\xFE\xC9\xED\xD6\xD0!"};
  std::string text;
  LocalDateTime at{2025, 1, 1, 0, 0, 0, 0};
  int minuteOfYear = 0;
  for (std::size_t i = 0; i < lines; ++i) {
    minuteOfYear += 41;
    const int day = minuteOfYear / (24 * 60);
    at = LocalDateTime{2025, 1, 1 + day, minuteOfYear / 60 % 24, minuteOfYear % 60, static_cast<int>(i % 60), 0};
    // Day numbers past the month's end: let the calendar roll them over.
    at = LocalAtEpochSeconds(LocalToEpochSeconds(at));
    char stamp[64];
    if (i % 3 == 0) {
      std::snprintf(stamp, sizeof stamp, "%04d\xC4\xEA%02d\xD4\xC2%02d\xC8\xD5 %02d\xCA\xB1%02d\xB7\xD6%02d\xC3\xEB",
                    at.year, at.month, at.day, at.hour, at.minute, at.second);
    } else {
      std::snprintf(stamp, sizeof stamp, "%d/%d/%d %d:%02d:%02d", at.year, at.month, at.day, at.hour, at.minute,
                    at.second);
    }
    text += stamp;
    text += "-----";
    text += kEvents[i % 2];
    text += "\r\n";
  }
  return text;
}

void BM_ReadHistoryText(benchmark::State& state) {
  const std::string text = HistoryText(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    HistoryLog log = ReadHistoryText(text);
    benchmark::DoNotOptimize(OnlineSessions(log.events));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ReadHistoryText)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// The floor: finding every line end of the same bytes.
void BM_FloorCountLines(benchmark::State& state) {
  const std::string text = HistoryText(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    std::size_t lines = 0;
    for (const char* at = text.data(); (at = static_cast<const char*>(
                                            std::memchr(at, '\n', text.data() + text.size() - at))) != nullptr;
         ++at) {
      ++lines;
    }
    benchmark::DoNotOptimize(lines);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_FloorCountLines)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace umbra
