#pragma once
// A loopback port where nothing listens, held for the life of the object: a
// socket bound to it but never listening keeps every other socket off the
// port, so connects to it are refused for certain. (A port taken from a
// server that has just closed may be given to someone else at any moment.)

#include <cstdint>
#include <string>

namespace umbra::test {

class ClosedPort {
 public:
  ClosedPort();
  ~ClosedPort();
  ClosedPort(const ClosedPort&) = delete;
  ClosedPort& operator=(const ClosedPort&) = delete;

  std::uint16_t Port() const { return port_; }
  // "http://127.0.0.1:<port>"
  std::string BaseUrl() const;

 private:
  int fd_ = -1;
  std::uint16_t port_ = 0;
};

}  // namespace umbra::test
