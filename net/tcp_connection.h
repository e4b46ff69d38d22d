#pragma once
// One TCP connection on a plain POSIX socket, with a time limit on every wait
// so that no server can hold the caller for longer than it allows.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace umbra::net {

class TcpConnection {
 public:
  TcpConnection() = default;
  ~TcpConnection();
  TcpConnection(const TcpConnection&) = delete;
  TcpConnection& operator=(const TcpConnection&) = delete;

  // Resolves `host` and connects to the first of its addresses that answers,
  // all within `timeout` (zero: no limit of our own). Throws SocketFailure;
  // a connect that runs out of time fails with 10060.
  void Open(const std::string& host, std::uint16_t port, std::chrono::milliseconds timeout);
  void Close();
  bool IsOpen() const { return fd_ >= 0; }

  // True when the peer has closed or reset the connection, or has sent bytes
  // that no request asked for, so that it cannot carry a new request.
  bool PeerClosedOrSpoke() const;

  // Sends every byte. Throws SocketFailure; 10060 when the peer takes no
  // bytes for `timeout`.
  void SendAll(std::string_view bytes, std::chrono::milliseconds timeout);

  // Waits up to `timeout` for bytes and reads as many as are there, up to
  // `capacity`. Returns 0 when the peer has closed the connection. Throws
  // HttpError "Read timed out." or SocketFailure.
  std::size_t Receive(char* buffer, std::size_t capacity, std::chrono::milliseconds timeout);

 private:
  int fd_ = -1;
};

}  // namespace umbra::net
