#pragma once
// Reading a history file back: the changes it records, for the history view,
// the export and umbrascope-history. It only ever reads the file.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/local_time.h"

namespace umbra {

// The four event texts a history line can end with.
enum class HistoryEventKind {
  CameOnline,       // "在线!", the first scan of a watch found it online
  WentOffline,      // "离线", the first scan of a watch found it offline
  CameOnlineAgain,  // "上线了!!!"
  WentInvisible,    // "隐身中!"
};

struct HistoryEvent {
  LocalDateTime at;           // as written, with the zone's offset at that moment filled in
  long long epochSeconds = 0;  // the same moment, for arithmetic
  HistoryEventKind kind = HistoryEventKind::CameOnline;

  // "在线!" and "上线了!!!" start a time online; the other two end one.
  bool StartsSession() const;
  // The event text as GBK bytes.
  const std::string& EventText() const;
};

struct HistoryLog {
  std::vector<HistoryEvent> events;  // in the order of the file, oldest first
  // Lines that are no history line (an empty one included), numbered from 1.
  std::vector<std::size_t> skippedLines;
};

// One history line: the date-time text, "-----" and one of the four event
// texts, nothing more. Nothing for any other line.
std::optional<HistoryEvent> ParseHistoryLine(std::string_view line);

// The lines of a history file's bytes, cut at CR LF, a lone CR and a lone LF;
// a last line without a line end counts, an empty text has none.
HistoryLog ReadHistoryText(std::string_view bytes);

// The history file at `path` (in the file system's encoding). Throws
// FileError when it cannot be read.
HistoryLog ReadHistoryLog(const std::string& path);

}  // namespace umbra
