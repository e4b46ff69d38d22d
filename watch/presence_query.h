#pragma once
// The presence query's request target and the reading of its reply.

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "watch/status_table.h"
#include "watch/text_split.h"

namespace umbra {

// The public presence endpoint the program asks when no other is configured.
inline constexpr char kDefaultPresenceEndpoint[] = "http://webpresence.qq.com";

// "/getonline?Type=1&" followed by every row's number text and ":".
std::string PresenceQueryTarget(const StatusTable& table);

// The full address: the endpoint's base ("http://host[:port]", a trailing
// "/" tolerated) and the target.
std::string PresenceQueryUrl(std::string_view endpointBase, const StatusTable& table);

// The same address written into `url`, replacing what it held: a scan that
// keeps its buffer builds the address of a long list without allocating.
void WritePresenceQueryUrl(std::string& url, std::string_view endpointBase, const StatusTable& table);

// The reply's entries: the body cut at ";", all pieces but the last.
PieceList ReplyEntries(std::string_view body);

// The reply's entries one at a time, as views into the body, so that a scan
// reads no further than the numbers it watches.
class ReplyEntryCursor {
 public:
  // `body` must outlive the cursor and the entries it hands out.
  explicit ReplyEntryCursor(std::string_view body) : pieces_(body, ";") {}
  // The next entry; nothing once no ";" follows.
  std::optional<std::string_view> Next() { return pieces_.NextBeforeDelimiter(); }

 private:
  PieceCursor pieces_;
};

class ListIndexError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The state code of one entry: the text between its first and second "=", as
// a view into `entry`. Throws ListIndexError "List index out of bounds (1)"
// for an entry without "=", the error the program has always logged for it.
std::string_view EntryStateCode(std::string_view entry);

}  // namespace umbra
