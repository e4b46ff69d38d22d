#pragma once
// The exchange's connection: the operating system's socket with its failures
// put into the exchange's own messages.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/deadline.h"
#include "base/tcp_socket.h"
#include "base/wait_canceller.h"

namespace umbra::net {

class TcpConnection {
 public:
  // Every wait ends with ExchangeCancelled once `canceller` (if any; it must
  // outlive the connection) is cancelled.
  explicit TcpConnection(const os::WaitCanceller* canceller = nullptr) : socket_(canceller) {}

  // Resolves `host` with `resolver` and connects, name resolution and connect
  // together within `deadline`. Throws SocketFailure; one that runs out of
  // time fails with 10060.
  void Open(const std::string& host, std::uint16_t port, const Deadline& deadline,
            const os::HostResolver& resolver);
  void Close() { socket_.Close(); }
  bool IsOpen() const { return socket_.IsOpen(); }

  // True when the peer has closed or reset the connection, or has sent bytes
  // that no request asked for, so that it cannot carry a new request.
  bool PeerClosedOrSpoke() const { return socket_.PeerClosedOrSpoke(); }

  // Sends every byte. Throws SocketFailure; 10060 when the peer takes no
  // bytes until the deadline.
  void SendAll(std::string_view bytes, const Deadline& deadline);

  // Waits until the deadline for bytes and reads as many as are there, up to
  // `capacity`. Returns 0 when the peer has closed the connection. Throws
  // HttpError "Read timed out." or SocketFailure.
  std::size_t Receive(char* buffer, std::size_t capacity, const Deadline& deadline);

 private:
  os::TcpSocket socket_;
};

}  // namespace umbra::net
