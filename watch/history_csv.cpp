#include "watch/history_csv.h"

#include "base/gbk.h"
#include "watch/iso_date_time.h"

namespace umbra {

namespace {

constexpr std::string_view kRowEnd = "\r\n";

}  // namespace

std::string CsvField(std::string_view utf8) {
  if (utf8.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(utf8);
  std::string quoted = "\"";
  for (const char c : utf8) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  quoted += '"';
  return quoted;
}

std::string SessionsCsvHeader() { return "number,start,end,seconds\r\n"; }

std::string SessionsCsvRows(std::string_view numberUtf8, const std::vector<OnlineSession>& sessions) {
  const std::string number = CsvField(numberUtf8);
  std::string rows;
  for (const OnlineSession& session : sessions) {
    rows += number;
    rows += ',';
    rows += IsoDateTime(session.startAt);
    rows += ',';
    if (session.endAt) rows += IsoDateTime(*session.endAt);
    rows += ',';
    if (const auto seconds = session.Seconds()) rows += std::to_string(*seconds);
    rows += kRowEnd;
  }
  return rows;
}

std::string EventsCsvHeader() { return "number,time,event\r\n"; }

std::string EventsCsvRows(std::string_view numberUtf8, const std::vector<HistoryEvent>& events) {
  const std::string number = CsvField(numberUtf8);
  std::string rows;
  for (const HistoryEvent& event : events) {
    rows += number;
    rows += ',';
    rows += IsoDateTime(event.at);
    rows += ',';
    rows += CsvField(GbkToUtf8(event.EventText()));
    rows += kRowEnd;
  }
  return rows;
}

}  // namespace umbra
