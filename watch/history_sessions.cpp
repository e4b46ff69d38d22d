#include "watch/history_sessions.h"

#include <algorithm>

namespace umbra {

std::optional<long long> OnlineSession::Seconds() const {
  if (!end) return std::nullopt;
  return *end - start;
}

std::vector<OnlineSession> OnlineSessions(const std::vector<HistoryEvent>& events) {
  std::vector<OnlineSession> sessions;
  bool open = false;
  for (const HistoryEvent& event : events) {
    if (event.StartsSession()) {
      if (open) continue;
      sessions.push_back(OnlineSession{event.epochSeconds, std::nullopt, event.at, std::nullopt});
      open = true;
    } else if (open) {
      OnlineSession& session = sessions.back();
      session.end = std::max(event.epochSeconds, session.start);
      session.endAt = event.epochSeconds < session.start ? session.startAt : event.at;
      open = false;
    }
  }
  return sessions;
}

KnownState LastKnownState(const std::vector<HistoryEvent>& events) {
  if (events.empty()) return KnownState::Unknown;
  return events.back().StartsSession() ? KnownState::Online : KnownState::Offline;
}

}  // namespace umbra
