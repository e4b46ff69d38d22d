#include "base/tcp_socket.h"

#include <netdb.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

#include "base/file_descriptor.h"

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
// first; SocketWaitCancelled as soon as `canceller` is cancelled.
bool WaitFor(int fd, short events, const Deadline& deadline, const WaitCanceller* canceller) {
  for (;;) {
    pollfd entries[2] = {{fd, events, 0}, {canceller != nullptr ? canceller->PollFd() : -1, POLLIN, 0}};
    const int ready = poll(entries, 2, deadline.MillisecondsLeft());
    if (ready < 0 && errno != EINTR) throw SocketError(WsaCodeFromErrno(errno));
    if (entries[1].revents != 0) throw SocketWaitCancelled();
    if (ready > 0) return true;
    if (ready == 0) return false;
  }
}

struct AddressList {
  addrinfo* head = nullptr;

  AddressList() = default;
  AddressList(AddressList&& other) noexcept : head(std::exchange(other.head, nullptr)) {}
  AddressList& operator=(AddressList&&) = delete;
  ~AddressList() {
    if (head != nullptr) freeaddrinfo(head);
  }
};

// The address list of a numeric host text; empty when the text is a name.
AddressList NumericAddresses(const std::string& host, std::uint16_t port) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV;
  AddressList addresses;
  if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &addresses.head) != 0) addresses.head = nullptr;
  return addresses;
}

// One lookup under way, shared by the thread that runs it and the caller
// that waits for it; whoever leaves last frees it, so a caller that stops
// waiting leaves the lookup to end on its own.
struct PendingLookup {
  std::mutex mutex;
  std::vector<std::string> addresses;
  int failure = 0;  // a Windows socket error number
  FileDescriptor done{eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)};
};

void RunLookup(const std::shared_ptr<PendingLookup>& lookup, const HostResolver& resolver, const std::string& host) {
  std::vector<std::string> addresses;
  int failure = 0;
  try {
    addresses = resolver(host);
    if (addresses.empty()) failure = kWsaHostNotFound;
  } catch (const SocketError& e) {
    failure = e.Code();
  } catch (...) {
    failure = kWsaHostNotFound;
  }
  {
    const std::lock_guard<std::mutex> lock(lookup->mutex);
    lookup->addresses = std::move(addresses);
    lookup->failure = failure;
  }
  const std::uint64_t one = 1;
  [[maybe_unused]] const ssize_t written = write(lookup->done.Get(), &one, sizeof one);
}

// Runs the resolver on a thread of its own and waits for it no longer than
// the deadline: a name server that never answers must not hold the caller.
std::vector<std::string> ResolveWithin(const HostResolver& resolver, const std::string& host, const Deadline& deadline,
                                       const WaitCanceller* canceller) {
  auto lookup = std::make_shared<PendingLookup>();
  if (!lookup->done.IsOpen()) throw SocketError(WsaCodeFromErrno(errno));
  try {
    std::thread(RunLookup, lookup, resolver, host).detach();
  } catch (const std::system_error& e) {
    throw SocketError(WsaCodeFromErrno(e.code().value()));
  }
  if (!WaitFor(lookup->done.Get(), POLLIN, deadline, canceller)) throw SocketError(kWsaTimedOut);
  const std::lock_guard<std::mutex> lock(lookup->mutex);
  if (lookup->failure != 0) throw SocketError(lookup->failure);
  return std::move(lookup->addresses);
}

// Connects one socket to one address; returns the socket, or -1 with the
// Windows error number in `wsaCode`.
int ConnectOne(const addrinfo& address, const Deadline& deadline, const WaitCanceller* canceller, int& wsaCode) {
  const int fd = socket(address.ai_family, address.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, address.ai_protocol);
  if (fd < 0) {
    wsaCode = WsaCodeFromErrno(errno);
    return -1;
  }
  int error = 0;
  if (connect(fd, address.ai_addr, address.ai_addrlen) != 0) {
    error = errno;
    if (error == EINPROGRESS) {
      bool ready = false;
      try {
        ready = WaitFor(fd, POLLOUT, deadline, canceller);
      } catch (...) {
        close(fd);
        throw;
      }
      if (!ready) {
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

void TcpSocket::Open(const std::string& host, std::uint16_t port, const Deadline& deadline,
                     const HostResolver& resolver) {
  Close();
  if (canceller_ != nullptr && canceller_->Cancelled()) throw SocketWaitCancelled();
  std::vector<AddressList> candidates;
  candidates.push_back(NumericAddresses(host, port));
  if (candidates.front().head == nullptr) {
    candidates.clear();
    for (const std::string& numeric : ResolveWithin(resolver, host, deadline, canceller_)) {
      candidates.push_back(NumericAddresses(numeric, port));
    }
  }

  int wsaCode = kWsaHostNotFound;
  for (const AddressList& list : candidates) {
    for (const addrinfo* address = list.head; address != nullptr; address = address->ai_next) {
      fd_ = ConnectOne(*address, deadline, canceller_, wsaCode);
      if (fd_ >= 0) return;
      if (wsaCode == kWsaTimedOut) throw SocketError(wsaCode);  // the time is spent for every address
    }
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
      if (!WaitFor(fd_, POLLOUT, deadline, canceller_)) throw SocketWaitTimedOut();
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
    if (!WaitFor(fd_, POLLIN, deadline, canceller_)) throw SocketWaitTimedOut();
  }
}

std::vector<std::string> ResolveWithSystem(const std::string& host) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  AddressList addresses;
  const int resolved = getaddrinfo(host.c_str(), nullptr, &hints, &addresses.head);
  if (resolved != 0) throw SocketError(WsaCodeFromResolver(resolved, errno));
  std::vector<std::string> numeric;
  for (const addrinfo* address = addresses.head; address != nullptr; address = address->ai_next) {
    char text[NI_MAXHOST];
    if (getnameinfo(address->ai_addr, address->ai_addrlen, text, sizeof text, nullptr, 0, NI_NUMERICHOST) == 0) {
      numeric.emplace_back(text);
    }
  }
  return numeric;
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
