#include "tools/history_cli/history_listing.h"

#include <cstdio>

#include "base/gbk.h"
#include "watch/history_sessions.h"

namespace umbra::history_cli {

namespace {

std::string ReadableTime(const LocalDateTime& at) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", at.year, at.month, at.day, at.hour,
                at.minute, at.second);
  return text;
}

std::string Duration(long long seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60, seconds % 60);
  return text;
}

}  // namespace

std::string NumberOfPath(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  if (name.ends_with(".txt")) name.remove_suffix(4);
  return std::string(name);
}

std::string SessionsText(std::string_view numberUtf8, const HistoryLog& log) {
  std::string text;
  for (const OnlineSession& session : OnlineSessions(log.events)) {
    text += numberUtf8;
    text += '\t';
    text += ReadableTime(session.startAt);
    if (session.endAt) {
      text += '\t' + ReadableTime(*session.endAt) + '\t' + Duration(*session.Seconds());
    } else {
      text += "\tstill online";
    }
    text += '\n';
  }
  return text;
}

std::string EventsText(std::string_view numberUtf8, const HistoryLog& log) {
  std::string text;
  for (const HistoryEvent& event : log.events) {
    text += numberUtf8;
    text += '\t' + ReadableTime(event.at) + '\t' + GbkToUtf8(event.EventText()) + '\n';
  }
  return text;
}

}  // namespace umbra::history_cli
