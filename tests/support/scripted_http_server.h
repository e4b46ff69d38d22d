#pragma once
// A real HTTP server on loopback for tests: it records the exact bytes of
// every request and answers with scripted bytes, so that tests check what
// goes over the wire rather than what a mock was told.
//
//   ScriptedHttpServer server({ScriptedReply::Ok("1=1;2=0;")});
//   net::HttpClient client;
//   client.Get(server.Url("/getonline?Type=1&1:2:"));
//   server.Requests()[0].bytes;       // "GET /getonline?Type=1&1:2: HTTP/1.1\r\n..."
//   server.Requests()[0].connection;  // 1
//
// The server listens on 127.0.0.1 at a port the system picks and serves on
// threads of its own from construction to destruction. Each request (taken
// to end at its first empty line) gets the next reply of the script; once the
// script is used up, every further request gets the fallback reply, which
// by default is "HTTP/1.1 500 No scripted reply" with an empty body, so a
// test that asks more than it scripted fails readably.
//
// All methods may be called from the test's thread while the server runs.

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace umbra::test {

// One scripted answer to one request: bytes to send and what to do after.
struct ScriptedReply {
  enum class Then {
    KeepOpen,  // wait for the next request on the same connection
    Close,     // close the connection (an orderly FIN)
    Reset,     // abort the connection (RST): the client reads "connection reset"
    Hold,      // keep the connection open and send nothing more until the client closes it
  };

  std::string bytes;                       // sent exactly as they are
  std::size_t pieceSize = 0;               // 0: all bytes in one go
  std::chrono::milliseconds pause{0};      // waited before each piece
  Then then = Then::KeepOpen;

  // "HTTP/1.1 200 OK", a Content-Length header for `body`, and `body`.
  static ScriptedReply Ok(std::string_view body);
  // Any bytes at all: a whole reply, a partial one, garbage.
  static ScriptedReply Raw(std::string bytes);
  // Reads the request and closes the connection without a byte of reply.
  static ScriptedReply CloseWithoutReply();
  // Reads the request and resets the connection without a byte of reply.
  static ScriptedReply ResetWithoutReply();
  // Reads the request and never answers (until the server is destroyed).
  static ScriptedReply NeverReply();

  // Modifiers, for example
  //   ScriptedReply::Raw("HTTP/1.1 200 OK\r\nContent-Le").ThenClose()   // partial reply, then close
  //   ScriptedReply::Ok(body).InPieces(10, std::chrono::milliseconds(50)) // a slow reply
  ScriptedReply ThenClose() &&;
  ScriptedReply ThenReset() &&;
  ScriptedReply ThenHold() &&;
  ScriptedReply InPieces(std::size_t size, std::chrono::milliseconds pauseBeforeEach) &&;
};

// For GoogleTest's messages about parameterized tests: a reply's size, not
// its bytes.
void PrintTo(const ScriptedReply& reply, std::ostream* os);

struct RecordedRequest {
  std::string bytes;   // from the request line to the empty line, inclusive
  int connection = 0;  // 1 for the first connection the server accepted, 2 for the next...
};

class ScriptedHttpServer {
 public:
  explicit ScriptedHttpServer(std::vector<ScriptedReply> script = {});
  ~ScriptedHttpServer();
  ScriptedHttpServer(const ScriptedHttpServer&) = delete;
  ScriptedHttpServer& operator=(const ScriptedHttpServer&) = delete;

  std::uint16_t Port() const { return port_; }
  // "http://127.0.0.1:<port>"
  std::string BaseUrl() const;
  // BaseUrl() followed by `target`.
  std::string Url(std::string_view target) const;

  // Replaces the replies still to come; the next request gets script[0].
  void SetScript(std::vector<ScriptedReply> script);
  // Adds one reply at the end of the script.
  void Enqueue(ScriptedReply reply);
  // The reply to every request that finds the script used up.
  void SetFallback(ScriptedReply reply);
  // Shorthand: drop the script and answer every request with Ok(body).
  void ReplyOkToEveryRequest(std::string_view body);

  // Requests received so far, in the order they came.
  std::vector<RecordedRequest> Requests() const;
  std::size_t RequestCount() const;
  // Connections accepted so far.
  int ConnectionCount() const;
  // Whether request bytes are kept (they are by default). Benchmarks that
  // send megabytes per request turn it off; requests are still counted.
  void SetRecording(bool on);

 private:
  struct Connection;

  void AcceptLoop();
  void Serve(std::shared_ptr<Connection> connection);
  std::shared_ptr<const ScriptedReply> NextReply();
  bool Play(Connection& connection, const ScriptedReply& reply);
  bool SleepUnlessStopping(std::chrono::milliseconds duration);
  void CloseConnection(Connection& connection, bool reset);

  int listenFd_ = -1;
  int wakePipe_[2] = {-1, -1};
  std::uint16_t port_ = 0;

  mutable std::mutex mutex_;
  std::condition_variable stopped_;
  bool stopping_ = false;
  std::deque<std::shared_ptr<const ScriptedReply>> script_;
  std::shared_ptr<const ScriptedReply> fallback_;
  std::vector<RecordedRequest> requests_;
  std::size_t requestCount_ = 0;
  bool recording_ = true;
  int connectionCount_ = 0;
  std::vector<std::shared_ptr<Connection>> connections_;
  std::vector<std::thread> connectionThreads_;
  std::thread acceptThread_;
};

}  // namespace umbra::test
