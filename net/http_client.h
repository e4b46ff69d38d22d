#pragma once
// A blocking HTTP/1.1 client that sends exactly the presence query's request
// and reads its reply. One kept-alive connection, reused between requests.

#include <chrono>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace umbra::net {

// Every failure of an exchange. what() is the text the event log shows.
class HttpError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class HttpClient {
 public:
  explicit HttpClient(std::chrono::milliseconds timeout = std::chrono::seconds(30));
  ~HttpClient();
  HttpClient(const HttpClient&) = delete;
  HttpClient& operator=(const HttpClient&) = delete;

  // Time limit for the connect, for each read and for each wait to send. A
  // read that runs out fails with "Read timed out.", a connect with socket
  // error 10060. Zero waits without a limit of the client's own.
  void SetTimeout(std::chrono::milliseconds timeout);

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
