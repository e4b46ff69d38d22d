#include "net/tcp_connection.h"

#include "net/failure_messages.h"
#include "net/socket_error.h"

namespace umbra::net {

void TcpConnection::Open(const std::string& host, std::uint16_t port, const Deadline& deadline,
                         const os::HostResolver& resolver) {
  try {
    socket_.Open(host, port, deadline, resolver);
  } catch (const os::SocketWaitCancelled&) {
    throw ExchangeCancelled();
  } catch (const os::SocketError& e) {
    throw SocketFailure(e.Code());
  }
}

void TcpConnection::SendAll(std::string_view bytes, const Deadline& deadline) {
  try {
    socket_.SendAll(bytes, deadline);
  } catch (const os::SocketWaitCancelled&) {
    throw ExchangeCancelled();
  } catch (const os::SocketError& e) {
    throw SocketFailure(e.Code());
  }
}

std::size_t TcpConnection::Receive(char* buffer, std::size_t capacity, const Deadline& deadline) {
  try {
    return socket_.Receive(buffer, capacity, deadline);
  } catch (const os::SocketWaitCancelled&) {
    throw ExchangeCancelled();
  } catch (const os::SocketWaitTimedOut&) {
    throw HttpError(std::string(kReadTimedOut));
  } catch (const os::SocketError& e) {
    throw SocketFailure(e.Code());
  }
}

}  // namespace umbra::net
