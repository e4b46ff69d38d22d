#include "net/reply_parser.h"

#include <gtest/gtest.h>

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

// The body limit needs 64 MiB of input, fed in large pieces as a socket would.
void FeedUntilCloseBody(ReplyParser& parser, std::size_t bodySize) {
  parser.Feed(kOk + "\r\n");
  const std::string piece(1 << 20, 'b');
  for (std::size_t fed = 0; fed < bodySize; fed += piece.size()) {
    parser.Feed(std::string_view(piece).substr(0, std::min(piece.size(), bodySize - fed)));
  }
  parser.Close();
}

TEST(BodyLimit, BodyOfExactlyTheLimitIsAccepted) {
  ReplyParser parser;
  FeedUntilCloseBody(parser, kMaxBodyBytes);
  EXPECT_EQ(parser.Body().size(), kMaxBodyBytes);
}

TEST(BodyLimit, OneByteOverTheLimitFails) {
  ReplyParser parser;
  EXPECT_EQ(HttpErrorOf([&] { FeedUntilCloseBody(parser, kMaxBodyBytes + 1); }), "Response too large.");
}

TEST(BodyLimit, ChunksAddingUpOverTheLimitFail) {
  ReplyParser parser;
  parser.Feed(kOk + "Transfer-Encoding: chunked\r\n\r\n");
  const std::string chunk = "100000\r\n" + std::string(0x100000, 'c') + "\r\n";  // 1 MiB each
  for (int i = 0; i < 64; ++i) parser.Feed(chunk);
  EXPECT_EQ(HttpErrorOf([&] { parser.Feed("1\r\n"); }), "Response too large.");
}

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
