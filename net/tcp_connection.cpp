#include "net/tcp_connection.h"

#include "net/failure_messages.h"
#include "net/socket_error.h"

namespace umbra::net {

void TcpConnection::Open(const std::string& host, std::uint16_t port, std::chrono::milliseconds timeout) {
  try {
    socket_.Open(host, port, Deadline(timeout));
  } catch (const os::SocketError& e) {
    throw SocketFailure(e.Code());
  }
}

void TcpConnection::SendAll(std::string_view bytes, std::chrono::milliseconds timeout) {
  try {
    socket_.SendAll(bytes, Deadline(timeout));
  } catch (const os::SocketError& e) {
    throw SocketFailure(e.Code());
  }
}

std::size_t TcpConnection::Receive(char* buffer, std::size_t capacity, std::chrono::milliseconds timeout) {
  try {
    return socket_.Receive(buffer, capacity, Deadline(timeout));
  } catch (const os::SocketWaitTimedOut&) {
    throw HttpError(std::string(kReadTimedOut));
  } catch (const os::SocketError& e) {
    throw SocketFailure(e.Code());
  }
}

}  // namespace umbra::net
