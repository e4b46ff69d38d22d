#pragma once
// The presence query's request target and the reading of its reply.

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

#include "watch/byte_search.h"
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

class ListIndexError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The state code of one entry: the text between its first and second "=", as
// a view into `entry`. Throws ListIndexError "List index out of bounds (1)"
// for an entry without "=", the error the program has always logged for it.
std::string_view EntryStateCode(std::string_view entry);

// Hands `take` the state code of each of the reply's first `limit` entries,
// in order, as views into the body, exactly as ReplyEntries and
// EntryStateCode give them, and returns how many it handed over. An entry
// without "=" throws ListIndexError once the entries before it have been
// taken. The body is read in one pass and no further than the entries asked
// for: a scan of a long list spends most of its time here, so the walk is
// inline, its state in registers.
template <typename Take>
std::size_t ForEachStateCode(std::string_view body, std::size_t limit, Take&& take);

namespace reply_detail {

[[noreturn]] void ThrowEntryWithoutStateCode();

// Every piece of the body that AnalyzeStr would cut (an entry, a key, a code)
// starts right after a ";" or "=", bytes that are never lead bytes, or at the
// body's start. So the run of lead bytes that AnalyzeStr counts from a
// piece's start is the run right before the hit, and one rule serves both
// delimiters.
bool EndsAnOddLeadRun(const char* begin, const char* hit);

}  // namespace reply_detail

template <typename Take>
std::size_t ForEachStateCode(std::string_view body, std::size_t limit, Take&& take) {
  const char* const begin = body.data();
  TwoByteScanner<> delimiters(begin, begin + body.size(), ';', '=');
  // The next ";" or "=" that is not the second byte of a character.
  const auto nextCut = [&]() -> const char* {
    for (;;) {
      const char* const hit = delimiters.Next();
      if (hit == delimiters.End() || hit == begin || !IsLeadByte(static_cast<unsigned char>(hit[-1])) ||
          !reply_detail::EndsAnOddLeadRun(begin, hit)) {
        return hit;
      }
    }
  };
  std::size_t taken = 0;
  while (taken < limit) {
    const char* cut = nextCut();
    if (cut == delimiters.End()) break;
    if (*cut == ';') reply_detail::ThrowEntryWithoutStateCode();
    const char* const code = cut + 1;
    cut = nextCut();
    const char* const codeEnd = cut;
    // Past a second "=", only the ";" that ends the entry matters.
    while (cut != delimiters.End() && *cut == '=') cut = nextCut();
    if (cut == delimiters.End()) break;
    take(std::string_view(code, static_cast<std::size_t>(codeEnd - code)));
    ++taken;
  }
  return taken;
}

}  // namespace umbra
