// A whole presence exchange over loopback: a request naming 100,000 numbers
// and a reply of 100,000 entries, against the scripted test server on a
// kept-alive connection. Run it inside the loopback namespace.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "net/http_client.h"
#include "net/reply_parser.h"
#include "tests/support/scripted_http_server.h"

namespace {

std::string QueryTarget(int numbers) {
  std::string target = "/getonline?Type=1&";
  for (int i = 0; i < numbers; ++i) target += "1234567890:";
  return target;
}

std::string PresenceReply(int entries) {
  std::string reply;
  for (int i = 0; i < entries; ++i) reply += "online[" + std::to_string(i) + "]=1;";
  return reply;
}

void BM_GetPresenceExchange(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const std::string body = PresenceReply(count);
  umbra::test::ScriptedHttpServer server;
  server.SetRecording(false);
  server.ReplyOkToEveryRequest(body);
  const std::string url = server.Url(QueryTarget(count));
  umbra::net::HttpClient client(std::chrono::seconds(30));
  for (auto _ : state) {
    std::string reply = client.Get(url);
    benchmark::DoNotOptimize(reply.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(url.size() + body.size()));
  state.counters["connections"] = server.ConnectionCount();
}
BENCHMARK(BM_GetPresenceExchange)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The client's own reading work with no socket: the same reply fed to the
// parser in 64 KiB pieces, as the socket delivers it, framed by length and
// chunked.
void BM_ParseReply(benchmark::State& state) {
  const std::string body = PresenceReply(100000);
  std::string reply;
  if (state.range(0) == 0) {
    reply = "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
  } else {
    reply = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";
    constexpr std::size_t kChunk = 4096;
    char size[16];
    for (std::size_t pos = 0; pos < body.size(); pos += kChunk) {
      const std::size_t n = std::min(kChunk, body.size() - pos);
      std::snprintf(size, sizeof size, "%zx\r\n", n);
      reply += size;
      reply.append(body, pos, n);
      reply += "\r\n";
    }
    reply += "0\r\n\r\n";
  }
  for (auto _ : state) {
    umbra::net::ReplyParser parser;
    for (std::size_t pos = 0; pos < reply.size(); pos += 65536) {
      parser.Feed(std::string_view(reply).substr(pos, 65536));
    }
    benchmark::DoNotOptimize(parser.Body().data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(reply.size()));
  state.SetLabel(state.range(0) == 0 ? "content-length" : "chunked");
}
BENCHMARK(BM_ParseReply)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
