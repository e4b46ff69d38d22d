// The client against a real loopback server: what goes over the wire, how
// replies are read, and how the connection is kept, reused and replaced.

#include <gtest/gtest.h>

#include <chrono>
#include <ostream>
#include <string>
#include <vector>

#include "net/http_client.h"
#include "tests/net/test_resolvers.h"
#include "tests/support/scripted_http_server.h"

namespace umbra::net {
namespace {

using test::RecordedRequest;
using test::ScriptedHttpServer;
using test::ScriptedReply;

std::string ExpectedRequest(const std::string& target, const std::string& host, const std::string& cookie = "") {
  return "GET " + target + " HTTP/1.1\r\n" + "Content-Type: text/html\r\n" + "Host: " + host + "\r\n" +
         "Accept: text/html, */*\r\n" + "User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n" +
         (cookie.empty() ? "" : "Cookie: " + cookie + "\r\n") + "\r\n";
}

std::vector<int> ConnectionsOf(const std::vector<RecordedRequest>& requests) {
  std::vector<int> numbers;
  for (const RecordedRequest& request : requests) numbers.push_back(request.connection);
  return numbers;
}

class HttpClientWire : public ::testing::Test {
 protected:
  std::string HostHeader() const { return "127.0.0.1:" + std::to_string(server.Port()); }

  ScriptedHttpServer server;
  // Long enough never to cut a test short, short enough that a hang fails.
  HttpClient client{std::chrono::seconds(10)};
};

TEST_F(HttpClientWire, SendsExactlyTheQueryRequestAndReturnsTheBody) {
  server.SetScript({ScriptedReply::Ok("1=1;2=0;")});
  EXPECT_EQ(client.Get(server.Url("/getonline?Type=1&123456:88888:")), "1=1;2=0;");
  ASSERT_EQ(server.RequestCount(), 1u);
  EXPECT_EQ(server.Requests()[0].bytes, ExpectedRequest("/getonline?Type=1&123456:88888:", HostHeader()));
}

TEST_F(HttpClientWire, EscapesTargetBytesThatCouldBreakTheRequestLine) {
  server.SetScript({ScriptedReply::Ok("")});
  client.Get(server.Url("/getonline?Type=1&1 2\r\nX: 1#\xc4\xe3:"));
  EXPECT_EQ(server.Requests()[0].bytes,
            ExpectedRequest("/getonline?Type=1&1%202%0D%0AX:%201%23%C4%E3:", HostHeader()));
}

TEST_F(HttpClientWire, AddressEndsAtFirstNul) {
  server.SetScript({ScriptedReply::Ok("")});
  client.Get(server.Url(std::string("/getonline?Type=1&1:\0" "2:", 23)));
  EXPECT_EQ(server.Requests()[0].bytes, ExpectedRequest("/getonline?Type=1&1:", HostHeader()));
}

TEST_F(HttpClientWire, HundredThousandNumbersGoInOneRequest) {
  std::string target = "/getonline?Type=1&";
  std::string body;
  for (int i = 0; i < 100000; ++i) {
    target += std::to_string(1000000 + i) + ":";
    body += "online[" + std::to_string(i) + "]=1;";
  }
  server.SetScript({ScriptedReply::Ok(body)});
  EXPECT_EQ(client.Get(server.Url(target)), body);
  EXPECT_EQ(server.Requests()[0].bytes, ExpectedRequest(target, HostHeader()));
}

TEST_F(HttpClientWire, KeepsOneConnectionForSeveralRequests) {
  server.SetScript({ScriptedReply::Ok("a"), ScriptedReply::Ok("b"), ScriptedReply::Ok("c")});
  EXPECT_EQ(client.Get(server.Url("/1")), "a");
  EXPECT_EQ(client.Get(server.Url("/2")), "b");
  EXPECT_EQ(client.Get(server.Url("/3")), "c");
  EXPECT_EQ(ConnectionsOf(server.Requests()), (std::vector<int>{1, 1, 1}));
}

TEST_F(HttpClientWire, ReconnectsWhenServerClosedIdleConnection) {
  server.SetScript({ScriptedReply::Ok("a").ThenClose(), ScriptedReply::Ok("b")});
  EXPECT_EQ(client.Get(server.Url("/1")), "a");
  EXPECT_EQ(client.Get(server.Url("/2")), "b");
  EXPECT_EQ(ConnectionsOf(server.Requests()), (std::vector<int>{1, 2}));
}

// The server may drop a kept connection just as the request arrives; the
// request then goes again, once, on a new connection.
class DroppedKeptConnection : public HttpClientWire, public ::testing::WithParamInterface<ScriptedReply> {};

TEST_P(DroppedKeptConnection, RequestGoesAgainOnNewConnection) {
  server.SetScript({ScriptedReply::Ok("a"), GetParam(), ScriptedReply::Ok("b")});
  EXPECT_EQ(client.Get(server.Url("/1")), "a");
  EXPECT_EQ(client.Get(server.Url("/2")), "b");
  const std::vector<RecordedRequest> requests = server.Requests();
  EXPECT_EQ(ConnectionsOf(requests), (std::vector<int>{1, 1, 2}));
  EXPECT_EQ(requests[2].bytes, requests[1].bytes);
}

INSTANTIATE_TEST_SUITE_P(Drops, DroppedKeptConnection,
                         ::testing::Values(ScriptedReply::CloseWithoutReply(), ScriptedReply::ResetWithoutReply()),
                         [](const auto& info) { return info.index == 0 ? "Closed" : "Reset"; });

TEST_F(HttpClientWire, BytesBeyondTheReplyEndTheConnection) {
  // The server sends a second reply nobody asked for right behind the first;
  // the connection is out of step, whether those bytes came with the first
  // reply's read or after it.
  server.SetScript({ScriptedReply::Raw("HTTP/1.1 200 OK\r\nContent-Length: 1\r\n\r\na"
                                       "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nstale"),
                    ScriptedReply::Ok("b")});
  EXPECT_EQ(client.Get(server.Url("/1")), "a");
  EXPECT_EQ(client.Get(server.Url("/2")), "b");
  EXPECT_EQ(ConnectionsOf(server.Requests()), (std::vector<int>{1, 2}));
}

TEST_F(HttpClientWire, FreshConnectionDroppedWithoutReplyIsNotRetried) {
  server.SetScript({ScriptedReply::CloseWithoutReply(), ScriptedReply::Ok("b")});
  EXPECT_THROW(client.Get(server.Url("/1")), HttpError);
  EXPECT_EQ(server.RequestCount(), 1u);
}

class ServerAsksToClose : public HttpClientWire, public ::testing::WithParamInterface<std::string> {};

TEST_P(ServerAsksToClose, ClientClosesAndNextRequestOpensNewConnection) {
  // The server itself keeps the connection open: only the client can end it.
  server.SetScript({ScriptedReply::Raw("HTTP/1.1 200 OK\r\n" + GetParam() + ": close\r\nContent-Length: 1\r\n\r\na"),
                    ScriptedReply::Ok("b")});
  EXPECT_EQ(client.Get(server.Url("/1")), "a");
  EXPECT_EQ(client.Get(server.Url("/2")), "b");
  EXPECT_EQ(ConnectionsOf(server.Requests()), (std::vector<int>{1, 2}));
}

INSTANTIATE_TEST_SUITE_P(Headers, ServerAsksToClose, ::testing::Values("Connection", "Proxy-Connection"),
                         [](const auto& info) { return info.index == 0 ? "Connection" : "ProxyConnection"; });

TEST_F(HttpClientWire, FailedReplyWithWholeBodyKeepsConnection) {
  server.SetScript({ScriptedReply::Raw("HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\n\r\nnot found"),
                    ScriptedReply::Ok("b")});
  EXPECT_THROW(client.Get(server.Url("/1")), HttpError);
  EXPECT_EQ(client.Get(server.Url("/2")), "b");
  EXPECT_EQ(ConnectionsOf(server.Requests()), (std::vector<int>{1, 1}));
}

TEST_F(HttpClientWire, BrokenConnectionIsReplacedAfterFailure) {
  server.SetScript({ScriptedReply::Raw("HTTP/1.1 200 OK\r\nX: " + std::string(20000, 'x')).ThenHold(),
                    ScriptedReply::Ok("b")});
  EXPECT_THROW(client.Get(server.Url("/1")), HttpError);
  EXPECT_EQ(client.Get(server.Url("/2")), "b");
  EXPECT_EQ(ConnectionsOf(server.Requests()), (std::vector<int>{1, 2}));
}

TEST_F(HttpClientWire, CookiesGoBackWithLaterRequestsOfTheRun) {
  server.SetScript({ScriptedReply::Raw("HTTP/1.1 200 OK\r\nSet-Cookie: sid=abc; Path=/\r\n"
                                       "Set-Cookie2: v=\"1\"; Version=1\r\nContent-Length: 0\r\n\r\n")
                        .ThenClose(),
                    ScriptedReply::Ok(""), ScriptedReply::Ok("")});
  client.Get(server.Url("/getonline?Type=1&1:"));
  client.Get(server.Url("/getonline?Type=1&2:"));
  // Another client is another run: it starts without cookies.
  HttpClient otherRun(std::chrono::seconds(10));
  otherRun.Get(server.Url("/getonline?Type=1&3:"));

  const std::vector<RecordedRequest> requests = server.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].bytes, ExpectedRequest("/getonline?Type=1&1:", HostHeader()));
  EXPECT_EQ(requests[1].bytes, ExpectedRequest("/getonline?Type=1&2:", HostHeader(), "sid=abc; v=\"1\""));
  EXPECT_EQ(requests[2].bytes, ExpectedRequest("/getonline?Type=1&3:", HostHeader()));
}

// A watch asks for the same address at every scan; each request carries the
// cookies of its moment, and every address its own target, escaped or not.
TEST_F(HttpClientWire, RepeatedAddressesCarryTheCookiesOfTheirMoment) {
  const std::string setCookie = "HTTP/1.1 200 OK\r\nSet-Cookie: sid=abc\r\nContent-Length: 0\r\n\r\n";
  const std::string changeCookie = "HTTP/1.1 200 OK\r\nSet-Cookie: sid=xyz\r\nContent-Length: 0\r\n\r\n";
  const std::string dropCookie = "HTTP/1.1 200 OK\r\nSet-Cookie: sid=xyz; Max-Age=0\r\nContent-Length: 0\r\n\r\n";
  server.SetScript({ScriptedReply::Ok(""), ScriptedReply::Raw(setCookie), ScriptedReply::Ok(""),
                    ScriptedReply::Raw(changeCookie), ScriptedReply::Ok(""), ScriptedReply::Raw(dropCookie),
                    ScriptedReply::Ok(""), ScriptedReply::Ok(""), ScriptedReply::Ok(""), ScriptedReply::Ok("")});
  const std::string plain = "/getonline?Type=1&1:2:";
  const std::string escaped = "/getonline?Type=1&1 2:";
  for (const std::string& target : {plain, plain, plain, plain, plain, plain, plain, escaped, escaped, plain}) {
    client.Get(server.Url(target));
  }
  const std::string host = HostHeader();
  const std::vector<std::string> expected = {
      ExpectedRequest(plain, host),
      ExpectedRequest(plain, host),
      ExpectedRequest(plain, host, "sid=abc"),
      ExpectedRequest(plain, host, "sid=abc"),
      ExpectedRequest(plain, host, "sid=xyz"),
      ExpectedRequest(plain, host, "sid=xyz"),
      ExpectedRequest(plain, host),
      ExpectedRequest("/getonline?Type=1&1%202:", host),
      ExpectedRequest("/getonline?Type=1&1%202:", host),
      ExpectedRequest(plain, host),
  };
  const std::vector<RecordedRequest> requests = server.Requests();
  ASSERT_EQ(requests.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(requests[i].bytes, expected[i]) << "request " << i;
}

TEST_F(HttpClientWire, TheSameTargetAtAnotherHostGoesToThatHost) {
  server.SetScript({ScriptedReply::Ok(""), ScriptedReply::Ok("")});
  const std::string otherHost = "localhost:" + std::to_string(server.Port());
  client.Get(server.Url("/getonline?Type=1&1:"));
  client.Get("http://" + otherHost + "/getonline?Type=1&1:");
  const std::vector<RecordedRequest> requests = server.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[1].bytes, ExpectedRequest("/getonline?Type=1&1:", otherHost));
  EXPECT_EQ(requests[1].connection, 2);
}

TEST_F(HttpClientWire, CookiesAreNotSentToAnotherHost) {
  server.SetScript({ScriptedReply::Raw("HTTP/1.1 200 OK\r\nSet-Cookie: sid=abc\r\nContent-Length: 0\r\n\r\n"),
                    ScriptedReply::Ok("")});
  client.Get(server.Url("/1"));
  // Another name for the same server.
  client.SetResolver(TestResolvers::Answering({"127.0.0.1"}));
  const std::string otherHost = kTestHost + ":" + std::to_string(server.Port());
  client.Get("http://" + otherHost + "/2");
  const std::vector<RecordedRequest> requests = server.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[1].bytes, ExpectedRequest("/2", otherHost));
  // A different address is a different connection.
  EXPECT_EQ(requests[1].connection, 2);
}

struct BodyCase {
  const char* name;
  ScriptedReply reply;
  std::string body;
};

void PrintTo(const BodyCase& c, std::ostream* os) { *os << c.name; }

class ReplyBodies : public HttpClientWire, public ::testing::WithParamInterface<BodyCase> {};

TEST_P(ReplyBodies, BodyIsFramedAsTheHeadersSay) {
  server.SetScript({GetParam().reply, ScriptedReply::Ok("next")});
  EXPECT_EQ(client.Get(server.Url("/1")), GetParam().body);
  // Whatever the framing, the next exchange reads its own reply.
  EXPECT_EQ(client.Get(server.Url("/2")), "next");
}

const char* const kChunked =
    "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n4\r\n1=1;\r\n4\r\n2=0;\r\n0\r\n\r\n";

INSTANTIATE_TEST_SUITE_P(
    Framings, ReplyBodies,
    ::testing::Values(
        BodyCase{"Chunked", ScriptedReply::Raw(kChunked), "1=1;2=0;"},
        BodyCase{"ChunkedInSmallPieces", ScriptedReply::Raw(kChunked).InPieces(3, std::chrono::milliseconds(1)),
                 "1=1;2=0;"},
        BodyCase{"UntilClose", ScriptedReply::Raw("HTTP/1.1 200 OK\r\n\r\n1=1;\r\n").ThenClose(), "1=1;\r\n"},
        BodyCase{"ContentLengthCutShort", ScriptedReply::Raw("HTTP/1.1 200 OK\r\nContent-Length: 9\r\n\r\n1=1;").ThenClose(),
                 "1=1;"},
        BodyCase{"ContentLengthZero", ScriptedReply::Raw("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n"), ""},
        BodyCase{"ChunkedBesideContentLengthZero",
                 ScriptedReply::Raw("HTTP/1.1 200 OK\r\nContent-Length: 0\r\nTransfer-Encoding: chunked\r\n\r\n"
                                    "4\r\n1=1;\r\n0\r\n\r\n"),
                 "1=1;"},
        BodyCase{"NoContent", ScriptedReply::Raw("HTTP/1.1 204 No Content\r\n\r\n"), ""},
        BodyCase{"ContinueFirst",
                 ScriptedReply::Raw("HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok"),
                 "ok"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace umbra::net
