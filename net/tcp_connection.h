#pragma once
// The exchange's connection: the operating system's socket with its failures
// put into the exchange's own messages.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/tcp_socket.h"

namespace umbra::net {

class TcpConnection {
 public:
  // Resolves `host` and connects, name resolution and connect together
  // within `timeout` (zero: no limit of our own). Throws SocketFailure; one
  // that runs out of time fails with 10060.
  void Open(const std::string& host, std::uint16_t port, std::chrono::milliseconds timeout);
  void Close() { socket_.Close(); }
  bool IsOpen() const { return socket_.IsOpen(); }

  // True when the peer has closed or reset the connection, or has sent bytes
  // that no request asked for, so that it cannot carry a new request.
  bool PeerClosedOrSpoke() const { return socket_.PeerClosedOrSpoke(); }

  // Sends every byte. Throws SocketFailure; 10060 when the peer takes no
  // bytes for `timeout`.
  void SendAll(std::string_view bytes, std::chrono::milliseconds timeout);

  // Waits up to `timeout` for bytes and reads as many as are there, up to
  // `capacity`. Returns 0 when the peer has closed the connection. Throws
  // HttpError "Read timed out." or SocketFailure.
  std::size_t Receive(char* buffer, std::size_t capacity, std::chrono::milliseconds timeout);

 private:
  os::TcpSocket socket_;
};

}  // namespace umbra::net
