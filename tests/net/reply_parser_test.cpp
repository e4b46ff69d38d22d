#include "net/reply_parser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <string>
#include <tuple>

#include "tests/net/http_error_of.h"

namespace umbra::net {
namespace {

struct ReplyCase {
  const char* name;
  std::string bytes;
  bool closeAfter;  // the server closes the connection after the bytes
  std::string expectedBody;
  std::string expectedError;  // empty: the reply succeeds with expectedBody
};

void PrintTo(const ReplyCase& c, std::ostream* os) { *os << c.name; }

struct Outcome {
  bool complete = false;
  std::string body;
  std::string error;
  std::string statusLine;
};

// Feeds the bytes in pieces of `pieceSize` (0: all at once), then the close.
Outcome ParseInPieces(const std::string& bytes, bool closeAfter, std::size_t pieceSize) {
  ReplyParser parser;
  Outcome outcome;
  outcome.error = HttpErrorOf([&] {
    const std::size_t step = pieceSize == 0 ? bytes.size() : pieceSize;
    for (std::size_t pos = 0; pos < bytes.size() && !parser.Complete(); pos += step) {
      parser.Feed(std::string_view(bytes).substr(pos, step));
    }
    if (closeAfter) parser.Close();
  });
  outcome.complete = parser.Complete();
  outcome.body = parser.Body();
  outcome.statusLine = parser.Head().statusLine;
  return outcome;
}

std::string LongText(std::size_t length) { return std::string(length, 'x'); }

class ReplyParserTable : public ::testing::TestWithParam<std::tuple<ReplyCase, std::size_t>> {};

TEST_P(ReplyParserTable, ReadsReplyTheSameHoweverItIsCutUp) {
  const auto& [c, pieceSize] = GetParam();
  const Outcome outcome = ParseInPieces(c.bytes, c.closeAfter, pieceSize);
  EXPECT_EQ(outcome.error, c.expectedError.empty() ? kNoError : c.expectedError);
  if (c.expectedError.empty()) {
    EXPECT_TRUE(outcome.complete);
    EXPECT_EQ(outcome.body, c.expectedBody);
  }
}

const std::string kOk = "HTTP/1.1 200 OK\r\n";

INSTANTIATE_TEST_SUITE_P(
    Replies, ReplyParserTable,
    ::testing::Combine(
        ::testing::Values(
            ReplyCase{"ContentLength", kOk + "Content-Length: 8\r\n\r\n1=1;2=0;", false, "1=1;2=0;", ""},
            ReplyCase{"ContentLengthCutShortGivesBytesSoFar", kOk + "Content-Length: 10\r\n\r\n1=1;", true, "1=1;",
                      ""},
            ReplyCase{"ContentLengthZero", kOk + "Content-Length: 0\r\n\r\n", false, "", ""},
            ReplyCase{"HeaderNamesIgnoreCase", kOk + "content-LENGTH:3\r\n\r\nabc", false, "abc", ""},
            ReplyCase{"Chunked",
                      kOk + "Transfer-Encoding: chunked\r\n\r\n4\r\n1=1;\r\n4;name=value\r\n2=0;\r\n0\r\n\r\n", false,
                      "1=1;2=0;", ""},
            ReplyCase{"ChunkedWithTrailerAndUpperHex",
                      kOk + "Transfer-Encoding: Chunked\r\n\r\nA\r\n0123456789\r\n0\r\nX-Trailer: 1\r\n\r\n", false,
                      "0123456789", ""},
            ReplyCase{"ChunkedClosedAfterLastChunk", kOk + "Transfer-Encoding: chunked\r\n\r\n2\r\nab\r\n0\r\n", true,
                      "ab", ""},
            ReplyCase{"ContentLengthWinsOverChunked",
                      kOk + "Content-Length: 3\r\nTransfer-Encoding: chunked\r\n\r\nabc", false, "abc", ""},
            // Only a length above 0 frames the body before chunked coding does.
            ReplyCase{"ChunkedBesideContentLengthZero",
                      kOk + "Content-Length: 0\r\nTransfer-Encoding: chunked\r\n\r\n4\r\n1=1;\r\n0\r\n\r\n", false,
                      "1=1;", ""},
            ReplyCase{"NoContentIgnoresChunked",
                      "HTTP/1.1 204 No Content\r\nTransfer-Encoding: chunked\r\n\r\n", false, "", ""},
            ReplyCase{"UntilClose", kOk + "Content-Type: text/html\r\n\r\n1=1;\r\n2=0;", true, "1=1;\r\n2=0;", ""},
            ReplyCase{"InvalidContentLengthFramesByClose", kOk + "Content-Length: abc\r\n\r\nxyz", true, "xyz", ""},
            ReplyCase{"NoContentIgnoresContentLength", "HTTP/1.1 204 No Content\r\nContent-Length: 5\r\n\r\n", false,
                      "", ""},
            ReplyCase{"ContinueIsSkipped",
                      "HTTP/1.1 100 Continue\r\nX-A: 1\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok", false,
                      "ok", ""},
            ReplyCase{"BareLineFeeds", "HTTP/1.1 200 OK\nContent-Length: 2\n\nok", false, "ok", ""},
            ReplyCase{"BodyBytesUntouched", kOk + "Content-Length: 7\r\n\r\n" + std::string("1=1\r\n\0x", 7), false,
                      std::string("1=1\r\n\0x", 7), ""},
            ReplyCase{"LongestHeaderLineFits", kOk + "X-Long: " + LongText(16384 - 8) + "\r\nContent-Length: 1\r\n\r\n1",
                      false, "1", ""},
            ReplyCase{"LongestBareLineFits", kOk + "X-Long: " + LongText(16384 - 8) + "\nContent-Length: 1\r\n\r\n1",
                      false, "1", ""},

            ReplyCase{"NothingBeforeClose", "", true, "", "Connection Closed Gracefully."},
            ReplyCase{"CloseInStatusLine", "HTTP/1.1 200 O", true, "", "Connection Closed Gracefully."},
            ReplyCase{"CloseAfterContinue", "HTTP/1.1 100 Continue\r\n\r\n", true, "", "Connection Closed Gracefully."},
            ReplyCase{"CloseInHeadersOfSuccess", kOk + "Content-Length: 5\r\n", true, "", "Undefined situation"},
            ReplyCase{"CloseInHeadersOfFailure", "HTTP/1.1 404 Not Found\r\nContent-Le", true, "",
                      "HTTP/1.1 404 Not Found"},
            ReplyCase{"CloseInChunk", kOk + "Transfer-Encoding: chunked\r\n\r\n8\r\n1=1;", true, "",
                      "Connection Closed Gracefully."},
            ReplyCase{"StatusLineTooLong", "HTTP/1.1 200 " + LongText(16384 - 12) + "\r\n\r\n", false, "",
                      "Max line length exceeded."},
            ReplyCase{"HeaderLineTooLong", kOk + "X-Long: " + LongText(16384 - 7) + "\r\n\r\n", false, "",
                      "Max line length exceeded."},
            // Without a line end the limit is hit while the line still comes.
            ReplyCase{"EndlessLineFailsWithoutClose", kOk + LongText(16386), false, "", "Max line length exceeded."},
            ReplyCase{"ContentLengthOverLimit", kOk + "Content-Length: 67108865\r\n\r\n", false, "",
                      "Response too large."},
            ReplyCase{"HugeContentLength", kOk + "Content-Length: 99999999999999999999999\r\n\r\n", false, "",
                      "Response too large."},
            ReplyCase{"ChunkOverLimit", kOk + "Transfer-Encoding: chunked\r\n\r\n4000001\r\n", false, "",
                      "Response too large."},
            ReplyCase{"ChunkSizeNotHex", kOk + "Transfer-Encoding: chunked\r\n\r\nzz\r\n", false, "",
                      "Invalid chunk size."}),
        ::testing::Values(std::size_t{0}, std::size_t{1}, std::size_t{7})),
    [](const auto& info) {
      const std::size_t piece = std::get<1>(info.param);
      return std::string(std::get<0>(info.param).name) +
             (piece == 0 ? "_Whole" : "_InPiecesOf" + std::to_string(piece));
    });

TEST(ReplyParser, KeepsStatusLineAsReceived) {
  const Outcome outcome = ParseInPieces("HTTP/1.1 404  Not\tFound \r\nContent-Length: 0\r\n\r\n", false, 0);
  EXPECT_EQ(outcome.statusLine, "HTTP/1.1 404  Not\tFound ");
}

TEST(ReplyParser, UsesNoBytesBeyondTheReply) {
  ReplyParser parser;
  const std::string bytes = kOk + "Content-Length: 2\r\n\r\nokHTTP/1.1 200 OK\r\n";
  EXPECT_EQ(parser.Feed(bytes), bytes.size() - kOk.size());
  EXPECT_TRUE(parser.Complete());
  EXPECT_EQ(parser.Body(), "ok");
}

TEST(ReplyParser, FoldedHeaderJoinsPreviousValue) {
  ReplyParser parser;
  parser.Feed(kOk + "Connection: keep-alive,\r\n close\r\nContent-Length: 0\r\n\r\n");
  ASSERT_NE(parser.Head().Find("connection"), nullptr);
  EXPECT_EQ(*parser.Head().Find("connection"), "keep-alive, close");
  EXPECT_TRUE(AsksToClose(parser.Head()));
}

// The body limit needs 64 MiB of input, fed in large pieces as a socket would,
// in each way a body can be framed.
enum class Framing { Length, OneChunk, MegabyteChunks, UntilClose };

struct BodyLimitCase {
  const char* name;
  Framing framing;
  std::size_t size;
  bool accepted;
};

void PrintTo(const BodyLimitCase& c, std::ostream* os) { *os << c.name; }

std::string Hex(std::size_t value) {
  char text[32];
  std::snprintf(text, sizeof text, "%zx", value);
  return text;
}

void FeedBodyOfSize(ReplyParser& parser, Framing framing, std::size_t size) {
  // Pieces of an odd size, as a socket's reads come, so that no series of
  // doublings happens to land on the limit exactly.
  const std::string piece((1 << 20) - 3, 'b');
  const auto feedData = [&](std::size_t n) {
    for (std::size_t fed = 0; fed < n; fed += piece.size()) {
      parser.Feed(std::string_view(piece).substr(0, std::min(piece.size(), n - fed)));
    }
  };
  const std::string chunked = kOk + "Transfer-Encoding: chunked\r\n\r\n";
  switch (framing) {
    case Framing::Length:
      parser.Feed(kOk + "Content-Length: " + std::to_string(size) + "\r\n\r\n");
      feedData(size);
      break;
    case Framing::OneChunk:
      parser.Feed(chunked + Hex(size) + "\r\n");
      feedData(size);
      parser.Feed("\r\n0\r\n\r\n");
      break;
    case Framing::MegabyteChunks:
      parser.Feed(chunked);
      for (std::size_t left = size; left > 0;) {
        const std::size_t n = std::min(piece.size(), left);
        parser.Feed(Hex(n) + "\r\n");
        feedData(n);
        parser.Feed("\r\n");
        left -= n;
      }
      parser.Feed("0\r\n\r\n");
      break;
    case Framing::UntilClose:
      parser.Feed(kOk + "\r\n");
      feedData(size);
      parser.Close();
      break;
  }
}

class BodyLimit : public ::testing::TestWithParam<BodyLimitCase> {};

TEST_P(BodyLimit, BodyOfTheLimitIsAcceptedAndNoMore) {
  const BodyLimitCase& c = GetParam();
  ReplyParser parser;
  const std::string error = HttpErrorOf([&] { FeedBodyOfSize(parser, c.framing, c.size); });
  if (!c.accepted) {
    EXPECT_EQ(error, "Response too large.");
    return;
  }
  EXPECT_EQ(error, kNoError);
  EXPECT_TRUE(parser.Complete());
  EXPECT_EQ(parser.Body().size(), c.size);
  // However the body grew, its buffer never held more than the limit.
  EXPECT_LE(parser.Body().capacity(), kMaxBodyBytes);
}

INSTANTIATE_TEST_SUITE_P(
    Framings, BodyLimit,
    ::testing::Values(BodyLimitCase{"LengthAtLimit", Framing::Length, kMaxBodyBytes, true},
                      BodyLimitCase{"LengthOverLimit", Framing::Length, kMaxBodyBytes + 1, false},
                      BodyLimitCase{"OneChunkAtLimit", Framing::OneChunk, kMaxBodyBytes, true},
                      BodyLimitCase{"OneChunkOverLimit", Framing::OneChunk, kMaxBodyBytes + 1, false},
                      BodyLimitCase{"ChunksAddingUpToLimit", Framing::MegabyteChunks, kMaxBodyBytes, true},
                      BodyLimitCase{"ChunksAddingUpOverLimit", Framing::MegabyteChunks, kMaxBodyBytes + 1, false},
                      BodyLimitCase{"UntilCloseAtLimit", Framing::UntilClose, kMaxBodyBytes, true},
                      BodyLimitCase{"UntilCloseOverLimit", Framing::UntilClose, kMaxBodyBytes + 1, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BodyMemory, AnnouncedLengthIsNotReservedBeforeItsBytesCome) {
  ReplyParser parser;
  parser.Feed(kOk + "Content-Length: " + std::to_string(kMaxBodyBytes) + "\r\n\r\n1=1;");
  parser.Close();
  EXPECT_EQ(parser.Body(), "1=1;");
  EXPECT_LT(parser.Body().capacity(), std::size_t{1} << 20);
}

// A head of `total` bytes: the status line, filler headers, a Content-Length
// of 1 and the empty line.
std::string HeadOfSize(std::size_t total) {
  const std::string tail = "Content-Length: 1\r\n\r\n";
  std::string head = kOk;
  while (head.size() + tail.size() < total) {
    const std::size_t room = total - head.size() - tail.size();
    // "X:", the value and CR LF: 4 bytes at least, the line limit at most.
    std::size_t lineSize = std::min(room, kMaxLineLength + 2);
    if (room - lineSize != 0 && room - lineSize < 4) lineSize -= 4;
    head += "X:" + std::string(lineSize - 4, 'x') + "\r\n";
  }
  return head + tail;
}

TEST(HeadLimit, HeadOfTheLimitIsAcceptedAndNoMore) {
  for (const std::size_t total : {kMaxHeadBytes, kMaxHeadBytes + 1}) {
    const std::string head = HeadOfSize(total);
    ASSERT_EQ(head.size(), total);
    const Outcome outcome = ParseInPieces(head + "1", false, 0);
    EXPECT_EQ(outcome.error, total <= kMaxHeadBytes ? kNoError : "Response too large.") << total;
  }
}

// Lines that never end the head, or never end the trailer, add up against
// the head limit whatever they hold, so they cannot be read for ever.
struct EndlessLinesCase {
  const char* name;
  std::string start;
  std::string line;  // repeated without end
};

void PrintTo(const EndlessLinesCase& c, std::ostream* os) { *os << c.name; }

class EndlessLines : public ::testing::TestWithParam<EndlessLinesCase> {};

TEST_P(EndlessLines, FailOnceTheyPassTheHeadLimit) {
  ReplyParser parser;
  std::string batch;
  while (batch.size() < 64 * 1024) batch += GetParam().line;
  std::size_t fed = 0;
  const std::string error = HttpErrorOf([&] {
    parser.Feed(GetParam().start);
    for (fed = GetParam().start.size(); fed <= 4 * kMaxHeadBytes; fed += batch.size()) parser.Feed(batch);
  });
  EXPECT_EQ(error, "Response too large.");
  EXPECT_LE(fed, kMaxHeadBytes + batch.size());
}

INSTANTIATE_TEST_SUITE_P(
    Lines, EndlessLines,
    ::testing::Values(
        EndlessLinesCase{"HeaderLines", kOk, "X-A: 1\r\n"},
        EndlessLinesCase{"LinesWithoutColon", kOk, "no colon here\r\n"},
        EndlessLinesCase{"FoldedLines", kOk + "X-A: 1\r\n", " more\r\n"},
        EndlessLinesCase{"HundredContinues", "", "HTTP/1.1 100 Continue\r\n\r\n"},
        EndlessLinesCase{"HundredContinuesWithHeaders", "", "HTTP/1.1 100 Continue\r\nX-A: 1\r\n\r\n"},
        EndlessLinesCase{"TrailerLines", kOk + "Transfer-Encoding: chunked\r\n\r\n1\r\na\r\n0\r\n",
                         "X-Trailer: 1\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

struct StatusCase {
  const char* name;
  std::string head;
  bool success;
};

void PrintTo(const StatusCase& c, std::ostream* os) { *os << c.name; }

class SuccessTable : public ::testing::TestWithParam<StatusCase> {};

TEST_P(SuccessTable, OnlyTwoHundredsWithoutLocationSucceed) {
  ReplyParser parser;
  parser.Feed(GetParam().head + "Content-Length: 0\r\n\r\n");
  ASSERT_TRUE(parser.Complete());
  EXPECT_EQ(IsSuccess(parser.Head()), GetParam().success);
}

INSTANTIATE_TEST_SUITE_P(
    Statuses, SuccessTable,
    ::testing::Values(StatusCase{"Ok", "HTTP/1.1 200 OK\r\n", true},
                      StatusCase{"LastOfTwoHundreds", "HTTP/1.1 299 Whatever\r\n", true},
                      StatusCase{"Http10", "HTTP/1.0 200 OK\r\n", true},
                      StatusCase{"CreatedWithLocation", "HTTP/1.1 201 Created\r\nLocation: /x\r\n", false},
                      StatusCase{"OkWithLocation", "HTTP/1.1 200 OK\r\nlocation: http://elsewhere/\r\n", false},
                      StatusCase{"Found", "HTTP/1.1 302 Found\r\n", false},
                      StatusCase{"NotModified", "HTTP/1.1 304 Not Modified\r\n", false},
                      StatusCase{"SwitchingProtocols", "HTTP/1.1 101 Switching Protocols\r\n", false},
                      StatusCase{"Unauthorized", "HTTP/1.1 401 Unauthorized\r\n", false},
                      StatusCase{"ServerError", "HTTP/1.1 500 Internal Server Error\r\n", false},
                      StatusCase{"NoStatusCode", "garbage\r\n", false}),
    [](const auto& info) { return std::string(info.param.name); });

struct CloseCase {
  const char* name;
  std::string headers;
  bool asksToClose;
};

void PrintTo(const CloseCase& c, std::ostream* os) { *os << c.name; }

class CloseTable : public ::testing::TestWithParam<CloseCase> {};

TEST_P(CloseTable, ConnectionOrProxyConnectionCloseEndsTheConnection) {
  ReplyParser parser;
  parser.Feed(kOk + GetParam().headers + "Content-Length: 0\r\n\r\n");
  EXPECT_EQ(AsksToClose(parser.Head()), GetParam().asksToClose);
}

INSTANTIATE_TEST_SUITE_P(Headers, CloseTable,
                         ::testing::Values(CloseCase{"None", "", false},
                                           CloseCase{"KeepAlive", "Connection: keep-alive\r\n", false},
                                           CloseCase{"Close", "Connection: close\r\n", true},
                                           CloseCase{"CloseAnyCase", "connection: CLOSE\r\n", true},
                                           CloseCase{"CloseInList", "Connection: Upgrade, close\r\n", true},
                                           CloseCase{"ProxyConnection", "Proxy-Connection: close\r\n", true},
                                           CloseCase{"CloseElsewhere", "X-Note: close\r\n", false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace umbra::net
