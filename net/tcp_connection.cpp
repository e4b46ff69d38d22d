#include "net/tcp_connection.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

#include "net/failure_messages.h"
#include "net/socket_error.h"

namespace umbra::net {
namespace {

using Clock = std::chrono::steady_clock;

// A deadline that may also be "never", for a timeout of zero.
class Deadline {
 public:
  explicit Deadline(std::chrono::milliseconds timeout)
      : unlimited_(timeout <= std::chrono::milliseconds::zero()), end_(Clock::now() + timeout) {}

  // Milliseconds left for poll(): -1 for no limit, 0 once passed.
  int PollTimeout() const {
    if (unlimited_) return -1;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(end_ - Clock::now()).count();
    if (left <= 0) return 0;
    return left > INT_MAX ? INT_MAX : static_cast<int>(left);
  }

 private:
  bool unlimited_;
  Clock::time_point end_;
};

// Waits until `fd` is ready for `events`. False when the deadline passes
// first.
bool WaitFor(int fd, short events, const Deadline& deadline) {
  for (;;) {
    pollfd entry{fd, events, 0};
    const int ready = poll(&entry, 1, deadline.PollTimeout());
    if (ready > 0) return true;
    if (ready == 0) return false;
    if (errno != EINTR) throw SocketFailure(WsaCodeFromErrno(errno));
  }
}

struct AddressList {
  addrinfo* head = nullptr;
  ~AddressList() {
    if (head != nullptr) freeaddrinfo(head);
  }
};

// Connects one socket to one address; returns the socket, or -1 with the
// Windows error number in `wsaCode`.
int ConnectOne(const addrinfo& address, const Deadline& deadline, int& wsaCode) {
  const int fd = socket(address.ai_family, address.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, address.ai_protocol);
  if (fd < 0) {
    wsaCode = WsaCodeFromErrno(errno);
    return -1;
  }
  int error = 0;
  if (connect(fd, address.ai_addr, address.ai_addrlen) != 0) {
    error = errno;
    if (error == EINPROGRESS) {
      if (!WaitFor(fd, POLLOUT, deadline)) {
        close(fd);
        wsaCode = kWsaTimedOut;
        return -1;
      }
      socklen_t length = sizeof error;
      if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0) error = errno;
    }
  }
  if (error != 0) {
    close(fd);
    wsaCode = WsaCodeFromErrno(error);
    return -1;
  }
  return fd;
}

}  // namespace

TcpConnection::~TcpConnection() { Close(); }

void TcpConnection::Close() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
}

void TcpConnection::Open(const std::string& host, std::uint16_t port, std::chrono::milliseconds timeout) {
  Close();
  const Deadline deadline(timeout);
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  AddressList addresses;
  const int resolved = getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &addresses.head);
  if (resolved != 0) throw SocketFailure(WsaCodeFromResolver(resolved, errno));

  int wsaCode = kWsaHostNotFound;
  for (const addrinfo* address = addresses.head; address != nullptr; address = address->ai_next) {
    fd_ = ConnectOne(*address, deadline, wsaCode);
    if (fd_ >= 0) return;
    if (wsaCode == kWsaTimedOut) break;  // the time is spent for every address
  }
  throw SocketFailure(wsaCode);
}

bool TcpConnection::PeerClosedOrSpoke() const {
  pollfd entry{fd_, POLLIN, 0};
  return poll(&entry, 1, 0) != 0;
}

void TcpConnection::SendAll(std::string_view bytes, std::chrono::milliseconds timeout) {
  while (!bytes.empty()) {
    const ssize_t sent = send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent > 0) {
      bytes.remove_prefix(static_cast<std::size_t>(sent));
      continue;
    }
    if (sent < 0 && errno == EINTR) continue;
    if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      // Each wait for room gets the whole limit, as each read does.
      if (!WaitFor(fd_, POLLOUT, Deadline(timeout))) throw SocketFailure(kWsaTimedOut);
      continue;
    }
    throw SocketFailure(WsaCodeFromErrno(errno));
  }
}

std::size_t TcpConnection::Receive(char* buffer, std::size_t capacity, std::chrono::milliseconds timeout) {
  const Deadline deadline(timeout);
  for (;;) {
    const ssize_t received = recv(fd_, buffer, capacity, 0);
    if (received >= 0) return static_cast<std::size_t>(received);
    if (errno == EINTR) continue;
    if (errno != EAGAIN && errno != EWOULDBLOCK) throw SocketFailure(WsaCodeFromErrno(errno));
    if (!WaitFor(fd_, POLLIN, deadline)) throw HttpError(std::string(kReadTimedOut));
  }
}

}  // namespace umbra::net
