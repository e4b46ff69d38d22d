#include "base/tcp_socket.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace umbra::os {
namespace {

struct ErrnoToWsa {
  int errnoValue;
  int wsaCode;
};

// Windows numbers its socket errors 10000 plus the BSD errno; Linux numbers
// its errno values differently, so the pairs are spelled out.
constexpr ErrnoToWsa kErrnoToWsa[] = {
    {EINTR, 10004},        {EBADF, 10009},           {EACCES, 10013},          {EFAULT, 10014},
    {EINVAL, 10022},       {EMFILE, 10024},          {EWOULDBLOCK, 10035},     {EINPROGRESS, 10036},
    {EALREADY, 10037},     {ENOTSOCK, 10038},        {EDESTADDRREQ, 10039},    {EMSGSIZE, 10040},
    {EPROTOTYPE, 10041},   {ENOPROTOOPT, 10042},     {EPROTONOSUPPORT, 10043}, {ESOCKTNOSUPPORT, 10044},
    {EOPNOTSUPP, 10045},   {EPFNOSUPPORT, 10046},    {EAFNOSUPPORT, 10047},    {EADDRINUSE, 10048},
    {EADDRNOTAVAIL, 10049}, {ENETDOWN, 10050},       {ENETUNREACH, 10051},     {ENETRESET, 10052},
    {ECONNABORTED, 10053}, {ECONNRESET, 10054},      {ENOBUFS, 10055},         {EISCONN, 10056},
    {ENOTCONN, 10057},     {ESHUTDOWN, 10058},       {ETOOMANYREFS, 10059},    {ETIMEDOUT, 10060},
    {ECONNREFUSED, 10061}, {ELOOP, 10062},           {ENAMETOOLONG, 10063},    {EHOSTDOWN, 10064},
    {EHOSTUNREACH, 10065},
    // Writing to a connection the peer has reset: Windows reports the reset.
    {EPIPE, 10054},
};

// Waits until `fd` is ready for `events`. False when the deadline passes
// first.
bool WaitFor(int fd, short events, const Deadline& deadline) {
  for (;;) {
    pollfd entry{fd, events, 0};
    const int ready = poll(&entry, 1, deadline.MillisecondsLeft());
    if (ready > 0) return true;
    if (ready == 0) return false;
    if (errno != EINTR) throw SocketError(WsaCodeFromErrno(errno));
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

SocketError::SocketError(int wsaCode)
    : std::runtime_error("socket error " + std::to_string(wsaCode)), code_(wsaCode) {}

TcpSocket::~TcpSocket() { Close(); }

void TcpSocket::Close() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
}

void TcpSocket::Open(const std::string& host, std::uint16_t port, const Deadline& deadline) {
  Close();
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  AddressList addresses;
  const int resolved = getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &addresses.head);
  if (resolved != 0) throw SocketError(WsaCodeFromResolver(resolved, errno));

  int wsaCode = kWsaHostNotFound;
  for (const addrinfo* address = addresses.head; address != nullptr; address = address->ai_next) {
    fd_ = ConnectOne(*address, deadline, wsaCode);
    if (fd_ >= 0) return;
    if (wsaCode == kWsaTimedOut) break;  // the time is spent for every address
  }
  throw SocketError(wsaCode);
}

bool TcpSocket::PeerClosedOrSpoke() const {
  pollfd entry{fd_, POLLIN, 0};
  return poll(&entry, 1, 0) != 0;
}

void TcpSocket::SendAll(std::string_view bytes, const Deadline& deadline) {
  while (!bytes.empty()) {
    const ssize_t sent = send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent > 0) {
      bytes.remove_prefix(static_cast<std::size_t>(sent));
      continue;
    }
    if (sent < 0 && errno == EINTR) continue;
    if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      if (!WaitFor(fd_, POLLOUT, deadline)) throw SocketWaitTimedOut();
      continue;
    }
    throw SocketError(WsaCodeFromErrno(errno));
  }
}

std::size_t TcpSocket::Receive(char* buffer, std::size_t capacity, const Deadline& deadline) {
  for (;;) {
    const ssize_t received = recv(fd_, buffer, capacity, 0);
    if (received >= 0) return static_cast<std::size_t>(received);
    if (errno == EINTR) continue;
    if (errno != EAGAIN && errno != EWOULDBLOCK) throw SocketError(WsaCodeFromErrno(errno));
    if (!WaitFor(fd_, POLLIN, deadline)) throw SocketWaitTimedOut();
  }
}

int WsaCodeFromErrno(int errnoValue) {
  for (const ErrnoToWsa& pair : kErrnoToWsa) {
    if (pair.errnoValue == errnoValue) return pair.wsaCode;
  }
  return errnoValue;
}

int WsaCodeFromResolver(int gaiCode, int errnoValue) {
  if (gaiCode == EAI_SYSTEM) return WsaCodeFromErrno(errnoValue);
  // Whether the name is unknown or no name server answered, the user's
  // situation is the same: the host name could not be resolved.
  return kWsaHostNotFound;
}

}  // namespace umbra::os
