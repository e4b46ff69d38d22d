// The scripted server is shared by the suites of the whole project; these
// pin the parts they lean on.

#include "tests/support/scripted_http_server.h"

#include <gtest/gtest.h>

#include <chrono>

#include "net/http_client.h"
#include "tests/net/http_error_of.h"

namespace umbra::test {
namespace {

TEST(ScriptedHttpServer, OkReplyCarriesContentLength) {
  EXPECT_EQ(ScriptedReply::Ok("1=1;").bytes, "HTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\n1=1;");
}

TEST(ScriptedHttpServer, UsedUpScriptFailsReadably) {
  ScriptedHttpServer server;
  net::HttpClient client(std::chrono::seconds(10));
  EXPECT_EQ(net::HttpErrorOf([&] { client.Get(server.Url("/")); }), "HTTP/1.1 500 No scripted reply");
}

TEST(ScriptedHttpServer, ScriptCanBeReplacedBetweenRequests) {
  ScriptedHttpServer server({ScriptedReply::Ok("first"), ScriptedReply::Ok("never sent")});
  net::HttpClient client(std::chrono::seconds(10));
  EXPECT_EQ(client.Get(server.Url("/")), "first");
  server.SetScript({ScriptedReply::Ok("second")});
  EXPECT_EQ(client.Get(server.Url("/")), "second");
  server.ReplyOkToEveryRequest("always");
  EXPECT_EQ(client.Get(server.Url("/")), "always");
  EXPECT_EQ(client.Get(server.Url("/")), "always");
  EXPECT_EQ(server.RequestCount(), 4u);
}

TEST(ScriptedHttpServer, StopsWhileAConnectionIsHeld) {
  auto server = std::make_unique<ScriptedHttpServer>(std::vector<ScriptedReply>{ScriptedReply::NeverReply()});
  net::HttpClient client(std::chrono::milliseconds(200));
  EXPECT_EQ(net::HttpErrorOf([&] { client.Get(server->Url("/")); }), "Read timed out.");
  server.reset();  // must return although the client never closed its side
}

}  // namespace
}  // namespace umbra::test
