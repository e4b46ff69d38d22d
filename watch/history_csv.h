#pragma once
// A number's history as CSV for spreadsheets and scripts: UTF-8, a header
// row, CR LF after every row, fields quoted where they need it (RFC 4180).
// Times are ISO 8601 with their offset.

#include <string>
#include <string_view>
#include <vector>

#include "watch/history_reader.h"
#include "watch/history_sessions.h"

namespace umbra {

// "number,start,end,seconds". A session still open has end and seconds empty.
std::string SessionsCsvHeader();
std::string SessionsCsvRows(std::string_view numberUtf8, const std::vector<OnlineSession>& sessions);

// "number,time,event", the event text in UTF-8.
std::string EventsCsvHeader();
std::string EventsCsvRows(std::string_view numberUtf8, const std::vector<HistoryEvent>& events);

// One field: as it is, or quoted with its quotes doubled when it holds a
// comma, a quote, a CR or an LF.
std::string CsvField(std::string_view utf8);

}  // namespace umbra
