// The input is the bytes a server sends before it closes the connection. The
// parser reads them three times: in one piece, one byte at a time, and in
// pieces of random sizes. However the bytes are cut, it must come to the same
// head, body and completion, both before and after the close, or fail with
// the same message.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "net/http_client.h"
#include "net/reply_parser.h"
#include "tests/fuzz/fuzz_check.h"

namespace umbra::fuzz {
namespace {

using net::BodyFraming;
using net::HttpError;
using net::ReplyParser;

// What a parser shows at one moment.
struct Snapshot {
  std::string statusLine;
  int statusCode = -1;
  std::vector<std::pair<std::string, std::string>> headers;
  bool headComplete = false;
  bool complete = false;
  BodyFraming framing = BodyFraming::None;
  std::string body;
  bool receivedAnything = false;

  bool operator==(const Snapshot&) const = default;
};

struct Outcome {
  std::optional<std::string> error;  // the failure message; may be empty text
  std::size_t used = 0;              // bytes the Feed calls took
  Snapshot afterFeeding;
  Snapshot afterClose;
};

Snapshot Take(ReplyParser& parser) {
  Snapshot s;
  s.statusLine = parser.Head().statusLine;
  s.statusCode = parser.Head().statusCode;
  for (const net::HeaderField& field : parser.Head().headers) s.headers.emplace_back(field.name, field.value);
  s.headComplete = parser.HeadComplete();
  s.complete = parser.Complete();
  s.framing = parser.Framing();
  s.body = parser.Body();
  s.receivedAnything = parser.ReceivedAnything();

  // What holds at every moment, however the bytes came.
  FUZZ_CHECK(!s.complete || s.headComplete);
  FUZZ_CHECK(s.headComplete || s.body.empty());
  FUZZ_CHECK(s.body.size() <= net::kMaxBodyBytes);
  FUZZ_CHECK(s.statusLine.size() <= net::kMaxLineLength);
  return s;
}

// Feeds `bytes` in the pieces `cuts` gives (each call returns the next
// piece's size), then closes.
template <typename Cuts>
Outcome Parse(std::string_view bytes, Cuts cuts) {
  ReplyParser parser;
  Outcome outcome;
  try {
    for (std::size_t pos = 0; pos < bytes.size();) {
      const std::string_view piece = bytes.substr(pos, cuts());
      const std::size_t used = parser.Feed(piece);
      FUZZ_CHECK(used <= piece.size());
      // Only a reply that has just completed leaves bytes unread.
      FUZZ_CHECK(used == piece.size() || parser.Complete());
      outcome.used += used;
      pos += piece.size();
    }
    outcome.afterFeeding = Take(parser);
    parser.Close();
    FUZZ_CHECK(parser.Complete());
    outcome.afterClose = Take(parser);
  } catch (const HttpError& e) {
    outcome.error = e.what();
  }
  return outcome;
}

std::string Describe(const Outcome& o) {
  if (o.error) return "error " + Shown(*o.error);
  return "used " + std::to_string(o.used) + ", complete " + std::to_string(o.afterFeeding.complete) + "/" +
         std::to_string(o.afterClose.complete) + ", status " + Shown(o.afterClose.statusLine) + ", body " +
         Shown(o.afterClose.body.substr(0, 200));
}

void CheckSame(const Outcome& whole, const Outcome& cut, const char* how) {
  // Once a reply has failed, how far the parser got before it noticed may
  // depend on the cuts; the message may not.
  const bool same = whole.error ? cut.error == whole.error
                                : !cut.error && cut.used == whole.used && cut.afterFeeding == whole.afterFeeding &&
                                      cut.afterClose == whole.afterClose;
  if (!same) {
    Broken("the reply reads the same however it is cut", __FILE__, __LINE__,
           std::string("  whole:     ") + Describe(whole) + "\n  " + how + ": " + Describe(cut));
  }
}

}  // namespace
}  // namespace umbra::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace umbra::fuzz;
  const std::string_view bytes = AsText(data, size);

  const Outcome whole = Parse(bytes, [&] { return bytes.size(); });
  const Outcome byByte = Parse(bytes, [] { return std::size_t{1}; });
  CheckSame(whole, byByte, "by byte");

  // Mostly short pieces, which end inside lines, line ends and chunk sizes;
  // now and then a long one.
  SplitMix64 random(HashOf(bytes));
  const Outcome randomly = Parse(bytes, [&] {
    return random.Next() % 4 == 0 ? random.Between1And(512) : random.Between1And(6);
  });
  CheckSame(whole, randomly, "randomly");
  return 0;
}
