#pragma once
// A blocking HTTP/1.1 client that sends exactly the presence query's request
// and reads its reply. One kept-alive connection, reused between requests.

#include <chrono>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "base/tcp_socket.h"

namespace umbra::net {

// Every failure of an exchange. what() is the text the event log shows.
class HttpError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// An exchange ended by HttpClient::Cancel(). what() is the socket message of
// an interrupted call, "Socket Error # 10004\r\nInterrupted system call.",
// but a front end that cancelled on purpose has nothing to report.
class ExchangeCancelled : public HttpError {
 public:
  ExchangeCancelled();
};

class HttpClient {
 public:
  explicit HttpClient(std::chrono::milliseconds timeout = std::chrono::seconds(30));
  ~HttpClient();
  HttpClient(const HttpClient&) = delete;
  HttpClient& operator=(const HttpClient&) = delete;

  // Time limit for name resolution and connect together, for each read and
  // for each wait to send. A read that runs out fails with "Read timed out.",
  // a resolution or connect with socket error 10060. Zero waits without a
  // limit of the client's own.
  void SetTimeout(std::chrono::milliseconds timeout);

  // Time limit for a whole Get, from its start to the reply's last byte (a
  // repeated request included), so that a server trickling its reply cannot
  // hold the caller for ever: past it the Get fails with "Read timed out.".
  // One minute unless set: long enough for a large reply on a slow line.
  // Zero: no limit beyond the one of each wait.
  void SetExchangeTimeout(std::chrono::milliseconds timeout);

  // Where host names are looked up: the system's resolver unless set. The
  // lookup counts against the connect limit; it may block as long as it
  // likes, the client stops waiting for it at the limit.
  void SetResolver(os::HostResolver resolver);

  // Ends the Get under way (on whatever thread it runs) within moments with
  // ExchangeCancelled, and fails every later Get the same way until
  // ClearCancel(). Safe from any thread and from a signal handler.
  void Cancel() noexcept;
  void ClearCancel() noexcept;

  // GET of "http://host[:port]/target", read up to its first NUL. Bytes of
  // the target that cannot stand in a request line are percent-encoded.
  // Returns the reply body's bytes; throws HttpError with the user-facing
  // message on every failure. Cookies set by earlier replies go back with
  // the request; a connection kept from an earlier Get is reused, and if the
  // server has dropped it meanwhile the request goes again on a new one.
  std::string Get(std::string_view url);
  // The same, the body read into `body`: whatever memory `body` holds is
  // used for the reply, so a caller that keeps it for the next request reads
  // a long reply without allocating again. On failure `body` is left empty.
  void Get(std::string_view url, std::string& body);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace umbra::net
