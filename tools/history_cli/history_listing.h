#pragma once
// What umbrascope-history prints for one history file.

#include <string>
#include <string_view>

#include "watch/history_reader.h"

namespace umbra::history_cli {

// The number a history file's path stands for: its name without the
// folder and without ".txt".
std::string NumberOfPath(std::string_view path);

// Tab-separated text, one line per session:
//   10001<TAB>2026-12-11 03:41:30<TAB>2026-12-11 04:00:00<TAB>0:18:30
// and for a session still open "still online" in place of end and length.
std::string SessionsText(std::string_view numberUtf8, const HistoryLog& log);

// Tab-separated text, one line per change: number, time, event text.
std::string EventsText(std::string_view numberUtf8, const HistoryLog& log);

}  // namespace umbra::history_cli
