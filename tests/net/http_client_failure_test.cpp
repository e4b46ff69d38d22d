// Every way an exchange fails, checked by its message on a real loopback
// connection, and the limits that keep a bad server from hanging the client
// or exhausting its memory.

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "net/http_client.h"
#include "tests/net/http_error_of.h"
#include "tests/net/test_resolvers.h"
#include "tests/support/closed_port.h"
#include "tests/support/scripted_http_server.h"

namespace umbra::net {
namespace {

using namespace std::chrono_literals;
using test::ScriptedHttpServer;
using test::ScriptedReply;

const std::string kTimedOutMessage = "Socket Error # 10060\r\nConnection timed out.";
const std::string kCancelledMessage = "Socket Error # 10004\r\nInterrupted system call.";


struct FailureCase {
  const char* name;
  ScriptedReply reply;
  std::string message;
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class ReplyFailures : public ::testing::TestWithParam<FailureCase> {};

TEST_P(ReplyFailures, FailWithTheirMessage) {
  ScriptedHttpServer server({GetParam().reply});
  // Every case must fail at once; running into this limit would show as a
  // different message.
  HttpClient client(10s);
  EXPECT_EQ(HttpErrorOf([&] { client.Get(server.Url("/getonline?Type=1&1:")); }), GetParam().message);
}

std::string Long(std::size_t n) { return std::string(n, 'x'); }

INSTANTIATE_TEST_SUITE_P(
    Messages, ReplyFailures,
    ::testing::Values(
        FailureCase{"NotFound", ScriptedReply::Raw("HTTP/1.1 404 Not Found\r\nContent-Length: 3\r\n\r\nnop"),
                    "HTTP/1.1 404 Not Found"},
        FailureCase{"RedirectNotFollowed",
                    ScriptedReply::Raw("HTTP/1.1 302 Found\r\nLocation: http://127.0.0.1:1/\r\nContent-Length: 0\r\n\r\n"),
                    "HTTP/1.1 302 Found"},
        FailureCase{"LocationFailsEvenSuccess",
                    ScriptedReply::Raw("HTTP/1.1 200 OK\r\nLocation: /elsewhere\r\nContent-Length: 2\r\n\r\nok"),
                    "HTTP/1.1 200 OK"},
        FailureCase{"NotModified", ScriptedReply::Raw("HTTP/1.1 304 Not Modified\r\n\r\n"), "HTTP/1.1 304 Not Modified"},
        FailureCase{"ChallengeNotAnswered",
                    ScriptedReply::Raw("HTTP/1.1 401 Unauthorized\r\nWWW-Authenticate: Basic realm=\"x\"\r\n"
                                       "Content-Length: 0\r\n\r\n"),
                    "HTTP/1.1 401 Unauthorized"},
        FailureCase{"StatusLineKeptAsReceived", ScriptedReply::Raw("HTTP/1.0 503  Busy, try later \r\n\r\n").ThenClose(),
                    "HTTP/1.0 503  Busy, try later "},
        // A failed reply whose body only the close would end: no waiting.
        FailureCase{"FailureWithoutFramingFailsAtOnce",
                    ScriptedReply::Raw("HTTP/1.1 500 Internal Server Error\r\n\r\npartial").ThenHold(),
                    "HTTP/1.1 500 Internal Server Error"},
        FailureCase{"CloseWithoutReply", ScriptedReply::CloseWithoutReply(), "Connection Closed Gracefully."},
        FailureCase{"CloseInStatusLine", ScriptedReply::Raw("HTTP/1.1 200").ThenClose(),
                    "Connection Closed Gracefully."},
        FailureCase{"CloseInHeadersOfSuccess",
                    ScriptedReply::Raw("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n").ThenClose(),
                    "Undefined situation"},
        FailureCase{"CloseInHeadersOfFailure",
                    ScriptedReply::Raw("HTTP/1.1 502 Bad Gateway\r\nContent-Type: text/html\r\n").ThenClose(),
                    "HTTP/1.1 502 Bad Gateway"},
        FailureCase{"CloseInChunkedBody",
                    ScriptedReply::Raw("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n10\r\n1=1;").ThenClose(),
                    "Connection Closed Gracefully."},
        FailureCase{"ResetWithoutReply", ScriptedReply::ResetWithoutReply(),
                    "Socket Error # 10054\r\nConnection reset by peer."},
        // The limits fail while the server still holds the connection open.
        FailureCase{"StatusLineOverLimit", ScriptedReply::Raw("HTTP/1.1 200 " + Long(16372) + "\r\n").ThenHold(),
                    "Max line length exceeded."},
        FailureCase{"EndlessHeaderLine", ScriptedReply::Raw("HTTP/1.1 200 OK\r\nX: " + Long(100000)).ThenHold(),
                    "Max line length exceeded."},
        FailureCase{"ContentLengthOverLimit",
                    ScriptedReply::Raw("HTTP/1.1 200 OK\r\nContent-Length: 67108865\r\n\r\n").ThenHold(),
                    "Response too large."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BodyLimitOnTheWire, BodyStreamedPastTheLimitFails) {
  std::string reply = "HTTP/1.1 200 OK\r\n\r\n";
  reply.append(64u * 1024 * 1024 + 1, '1');
  ScriptedHttpServer server({ScriptedReply::Raw(std::move(reply)).ThenClose()});
  HttpClient client(10s);
  EXPECT_EQ(HttpErrorOf([&] { client.Get(server.Url("/")); }), "Response too large.");
}

class ReadTimeLimit : public ::testing::Test {
 protected:
  ScriptedHttpServer server;
  HttpClient client{200ms};
};

TEST_F(ReadTimeLimit, ServerThatNeverAnswersTimesOut) {
  server.SetScript({ScriptedReply::NeverReply(), ScriptedReply::Ok("b")});
  EXPECT_EQ(HttpErrorOf([&] { client.Get(server.Url("/1")); }), "Read timed out.");
  // The timed-out connection is not reused.
  EXPECT_EQ(client.Get(server.Url("/2")), "b");
  EXPECT_EQ(server.Requests()[1].connection, 2);
}

TEST_F(ReadTimeLimit, ServerThatStopsMidBodyTimesOut) {
  server.SetScript({ScriptedReply::Raw("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n1=1;").ThenHold()});
  EXPECT_EQ(HttpErrorOf([&] { client.Get(server.Url("/")); }), "Read timed out.");
}

TEST_F(ReadTimeLimit, LimitAppliesToEachReadNotToTheWholeReply) {
  // A dozen pieces 150 ms apart take longer than the limit in all, but no
  // single wait comes near it.
  client.SetTimeout(1000ms);
  server.SetScript({ScriptedReply::Ok("0123456789").InPieces(4, 150ms)});
  EXPECT_EQ(client.Get(server.Url("/")), "0123456789");
}

TEST_F(ReadTimeLimit, SetTimeoutChangesTheLimit) {
  client.SetTimeout(10s);
  server.SetScript({ScriptedReply::Ok("ok").InPieces(100, 400ms)});
  EXPECT_EQ(client.Get(server.Url("/")), "ok");
}

// A listening socket whose accept queue is full: the system drops further
// connection requests without an answer, as an unreachable host would.
class SilentListener {
 public:
  SilentListener() {
    fd_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(fd_, 0) != 0 ||
        getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
      throw std::runtime_error("cannot listen");
    }
    port_ = ntohs(address.sin_port);
    for (int i = 0; i < 2; ++i) {
      const int filler = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
      connect(filler, reinterpret_cast<sockaddr*>(&address), sizeof address);
      fillers_.push_back(filler);
    }
  }
  ~SilentListener() {
    for (int filler : fillers_) close(filler);
    close(fd_);
  }
  int Port() const { return port_; }

 private:
  int fd_ = -1;
  int port_ = 0;
  std::vector<int> fillers_;
};

TEST(ConnectFailures, ConnectThatGetsNoAnswerTimesOut) {
  SilentListener listener;
  HttpClient client(300ms);
  EXPECT_EQ(HttpErrorOf([&] { client.Get("http://127.0.0.1:" + std::to_string(listener.Port()) + "/"); }),
            "Socket Error # 10060\r\nConnection timed out.");
}

TEST(ConnectFailures, RefusedConnection) {
  const test::ClosedPort closed;
  HttpClient client(10s);
  EXPECT_EQ(HttpErrorOf([&] { client.Get(closed.BaseUrl() + "/"); }), "Socket Error # 10061\r\nConnection refused.");
}

// Name resolution, with resolvers the test controls: a name is looked up
// within the connect limit, and the connection goes to the addresses found,
// in their order.
struct ResolutionCase {
  const char* name;
  enum class Answer { Unknown, SystemFailure, Never, Loopback, RefusingAddressFirst } answer;
  std::string message;  // empty: the Get succeeds
};

void PrintTo(const ResolutionCase& c, std::ostream* os) { *os << c.name; }

class Resolution : public ::testing::TestWithParam<ResolutionCase> {
 protected:
  os::HostResolver ResolverFor(ResolutionCase::Answer answer) const {
    switch (answer) {
      case ResolutionCase::Answer::Unknown:
        return TestResolvers::Answering({});
      case ResolutionCase::Answer::SystemFailure:
        return [](const std::string&) -> std::vector<std::string> { throw os::SocketError(10051); };
      case ResolutionCase::Answer::Never:
        return resolvers_.Silent();
      case ResolutionCase::Answer::Loopback:
        return TestResolvers::Answering({"127.0.0.1"});
      case ResolutionCase::Answer::RefusingAddressFirst:
        // The server listens on 127.0.0.1 alone; 127.0.0.2 refuses.
        return TestResolvers::Answering({"127.0.0.2", "127.0.0.1"});
    }
    return nullptr;
  }

  TestResolvers resolvers_;
  ScriptedHttpServer server_{{ScriptedReply::Ok("1=1;")}};
};

TEST_P(Resolution, NameIsLookedUpWithinTheConnectLimit) {
  HttpClient client(300ms);
  client.SetResolver(ResolverFor(GetParam().answer));
  const std::string host = kTestHost + ":" + std::to_string(server_.Port());
  const std::string url = "http://" + host + "/getonline?Type=1&1:";
  if (!GetParam().message.empty()) {
    EXPECT_EQ(HttpErrorOf([&] { client.Get(url); }), GetParam().message);
    return;
  }
  EXPECT_EQ(client.Get(url), "1=1;");
  ASSERT_EQ(server_.RequestCount(), 1u);
  EXPECT_NE(server_.Requests()[0].bytes.find("\r\nHost: " + host + "\r\n"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, Resolution,
    ::testing::Values(
        ResolutionCase{"UnknownHost", ResolutionCase::Answer::Unknown, "Socket Error # 11001\r\nHost not found."},
        ResolutionCase{"ResolverFailureKeepsItsNumber", ResolutionCase::Answer::SystemFailure,
                       "Socket Error # 10051\r\nNetwork is unreachable."},
        ResolutionCase{"ResolverThatNeverAnswersTimesOut", ResolutionCase::Answer::Never, kTimedOutMessage},
        ResolutionCase{"ConnectsToTheAddressFound", ResolutionCase::Answer::Loopback, ""},
        ResolutionCase{"TriesTheNextAddressWhenOneRefuses", ResolutionCase::Answer::RefusingAddressFirst, ""}),
    [](const auto& info) { return std::string(info.param.name); });

// One limit for the whole exchange: a server that keeps every single wait
// short but never finishes is cut off there.
struct TrickleCase {
  const char* name;
  ScriptedReply reply;
};

void PrintTo(const TrickleCase& c, std::ostream* os) { *os << c.name; }

class WholeExchangeLimit : public ::testing::TestWithParam<TrickleCase> {};

TEST_P(WholeExchangeLimit, TrickledReplyFailsAtTheLimit) {
  ScriptedHttpServer server({GetParam().reply});
  HttpClient client(5s);
  client.SetExchangeTimeout(400ms);
  EXPECT_EQ(HttpErrorOf([&] { client.Get(server.Url("/")); }), "Read timed out.");
}

std::string ManyHeaders() {
  std::string head = "HTTP/1.1 200 OK\r\n";
  for (int i = 0; i < 100; ++i) head += "X-A: 1\r\n";
  return head;
}

INSTANTIATE_TEST_SUITE_P(
    Trickles, WholeExchangeLimit,
    ::testing::Values(TrickleCase{"Head", ScriptedReply::Raw(ManyHeaders()).InPieces(1, 20ms)},
                      TrickleCase{"LengthBody", ScriptedReply::Ok(std::string(200, '1')).InPieces(1, 20ms)},
                      TrickleCase{"Chunks", ScriptedReply::Raw("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n" +
                                                                std::string(100, '0') + "1\r\na\r\n")
                                                .InPieces(1, 20ms)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NoWholeExchangeLimit, ZeroLeavesOnlyTheLimitOfEachWait) {
  ScriptedHttpServer server({ScriptedReply::Ok("0123456789").InPieces(8, 50ms)});
  HttpClient client(5s);
  client.SetExchangeTimeout(0ms);
  EXPECT_EQ(client.Get(server.Url("/")), "0123456789");
}

// Cancel() from another thread ends the Get wherever it waits.
enum class WaitingIn { Resolution, Connect, Reply, Body, FailedReplysBody };

std::string NameOf(WaitingIn phase) {
  switch (phase) {
    case WaitingIn::Resolution:
      return "Resolution";
    case WaitingIn::Connect:
      return "Connect";
    case WaitingIn::Reply:
      return "Reply";
    case WaitingIn::Body:
      return "Body";
    case WaitingIn::FailedReplysBody:
      return "FailedReplysBody";
  }
  return "?";
}

void PrintTo(WaitingIn phase, std::ostream* os) { *os << NameOf(phase); }

class CancelledExchange : public ::testing::TestWithParam<WaitingIn> {
 protected:
  std::string UrlFor(WaitingIn phase) {
    switch (phase) {
      case WaitingIn::Resolution:
        return "http://" + kTestHost + "/";
      case WaitingIn::Connect:
        return "http://127.0.0.1:" + std::to_string(silent_.Port()) + "/";
      case WaitingIn::Reply:
        server_.SetScript({ScriptedReply::NeverReply()});
        break;
      case WaitingIn::Body:
        server_.SetScript({ScriptedReply::Raw("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n1=1;").ThenHold()});
        break;
      case WaitingIn::FailedReplysBody:
        server_.SetScript(
            {ScriptedReply::Raw("HTTP/1.1 404 Not Found\r\nContent-Length: 10\r\n\r\nnot").ThenHold()});
        break;
    }
    return server_.Url("/");
  }

  TestResolvers resolvers_;
  SilentListener silent_;
  ScriptedHttpServer server_;
};

TEST_P(CancelledExchange, EndsAtOnceAndTheClientWorksOnceCleared) {
  // Far longer than the test waits: running into a limit would show as
  // another message.
  HttpClient client(10s);
  client.SetResolver(resolvers_.Silent());
  const std::string url = UrlFor(GetParam());
  std::thread canceller([&] {
    std::this_thread::sleep_for(100ms);
    client.Cancel();
  });
  std::string message;
  try {
    client.Get(url);
    message = kNoError;
  } catch (const ExchangeCancelled& e) {
    message = e.what();
  } catch (const std::exception& e) {
    message = std::string("not a cancel: ") + e.what();
  }
  canceller.join();
  EXPECT_EQ(message, kCancelledMessage);

  client.ClearCancel();
  server_.SetScript({ScriptedReply::Ok("next")});
  EXPECT_EQ(client.Get(server_.Url("/next")), "next");
  // Whatever the cancelled exchange left on its connection is not read.
  EXPECT_EQ(server_.Requests().back().connection, server_.ConnectionCount());
}

INSTANTIATE_TEST_SUITE_P(Waits, CancelledExchange,
                         ::testing::Values(WaitingIn::Resolution, WaitingIn::Connect, WaitingIn::Reply,
                                           WaitingIn::Body, WaitingIn::FailedReplysBody),
                         [](const auto& info) { return NameOf(info.param); });

TEST(Cancel, FailsEveryGetUntilCleared) {
  ScriptedHttpServer server({ScriptedReply::Ok("a"), ScriptedReply::Ok("b")});
  HttpClient client(10s);
  EXPECT_EQ(client.Get(server.Url("/1")), "a");
  client.Cancel();
  EXPECT_THROW(client.Get(server.Url("/2")), ExchangeCancelled);
  EXPECT_THROW(client.Get(server.Url("/2")), ExchangeCancelled);
  EXPECT_EQ(server.RequestCount(), 1u);
  client.ClearCancel();
  EXPECT_EQ(client.Get(server.Url("/2")), "b");
}

}  // namespace
}  // namespace umbra::net
