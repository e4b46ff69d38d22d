#pragma once
// The console watcher's output for scripts: one JSON object per line, UTF-8.

#include <string>
#include <string_view>
#include <vector>

#include "watch/watch_ports.h"

namespace umbra::console {

// An event-log line. A change:
//   {"kind":"change","time":"2026-12-11T03:41:30+08:00","number":"10001",
//    "state":"online","event":"上线了!!!","line":"..."}
// with "state" "online" for the state code "1", "offline" for "0" and
// "other" for any other code. A failed scan:
//   {"kind":"failure","time":"...","error":"Socket Error # 10061\r\nConnection refused.","line":"..."}
// "line" is the line as the event log shows it.
std::string EventJson(const EventLine& line);

// The online and offline lists after a single scan (--once), numbers as GBK:
//   {"kind":"lists","online":["10001"],"offline":["10002","10003"]}
std::string ListsJson(const std::vector<std::string>& online, const std::vector<std::string>& offline);

// A JSON string literal of UTF-8 text, quotes included.
std::string JsonString(std::string_view utf8);

}  // namespace umbra::console
