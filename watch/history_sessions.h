#pragma once
// Times online, as a history file's changes give them.

#include <optional>
#include <vector>

#include "base/local_time.h"
#include "watch/history_reader.h"

namespace umbra {

struct OnlineSession {
  long long start = 0;           // seconds since the epoch
  std::optional<long long> end;  // nothing while the file ends with it still online
  LocalDateTime startAt;
  std::optional<LocalDateTime> endAt;

  // Its length; nothing while it is still open.
  std::optional<long long> Seconds() const;
};

// "在线!" and "上线了!!!" start a session, "离线" and "隐身中!" end it. A
// start while a session is open changes nothing (no end was seen in between,
// as after a restart of the watch), an end with none open neither. A
// session still open at the last line stays open: the file does not say when
// it ended. An end written before its start (the clock was put back) gives
// a session of no length, never a negative one.
std::vector<OnlineSession> OnlineSessions(const std::vector<HistoryEvent>& events);

enum class KnownState {
  Unknown,  // no change recorded
  Online,
  Offline,
};

// The state the last recorded change left the number in.
KnownState LastKnownState(const std::vector<HistoryEvent>& events);

}  // namespace umbra
