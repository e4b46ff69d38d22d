#pragma once
// One TCP connection over the operating system's sockets. Failures are
// reported by Windows socket error numbers, the numbers the program's users
// have always read, whatever the system underneath calls them.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "base/deadline.h"
#include "base/wait_canceller.h"

namespace umbra::os {

inline constexpr int kWsaInterrupted = 10004;
inline constexpr int kWsaConnectionReset = 10054;
inline constexpr int kWsaTimedOut = 10060;
inline constexpr int kWsaConnectionRefused = 10061;
inline constexpr int kWsaHostNotFound = 11001;

// A socket call that failed, with its Windows socket error number.
class SocketError : public std::runtime_error {
 public:
  explicit SocketError(int wsaCode);
  int Code() const { return code_; }

 private:
  int code_;
};

// A wait for the peer that ran out of time.
class SocketWaitTimedOut : public SocketError {
 public:
  SocketWaitTimedOut() : SocketError(kWsaTimedOut) {}
};

// A wait that was cancelled from elsewhere (WaitCanceller). Windows reports a
// blocking call cancelled this way as an interrupted call.
class SocketWaitCancelled : public SocketError {
 public:
  SocketWaitCancelled() : SocketError(kWsaInterrupted) {}
};

// Looks up the addresses a host name stands for, as numeric texts
// ("127.0.0.1", "::1"), taking as long as the lookup takes. An empty list
// means the name is unknown; other failures throw SocketError.
using HostResolver = std::function<std::vector<std::string>(const std::string& host)>;

// The system's resolver.
std::vector<std::string> ResolveWithSystem(const std::string& host);

class TcpSocket {
 public:
  // Every wait of the socket also ends, with SocketWaitCancelled, once
  // `canceller` (if any; it must outlive the socket) is cancelled.
  explicit TcpSocket(const WaitCanceller* canceller = nullptr) : canceller_(canceller) {}
  ~TcpSocket();
  TcpSocket(const TcpSocket&) = delete;
  TcpSocket& operator=(const TcpSocket&) = delete;

  // Resolves `host` with `resolver` (a numeric address needs none) and
  // connects to the first of its addresses that answers, the whole within
  // `deadline`: the lookup runs on a thread of its own, so a resolver that
  // never answers holds the caller no longer than the deadline. A name that
  // cannot be resolved fails with 11001, a lookup or connect that runs out of
  // time with 10060.
  void Open(const std::string& host, std::uint16_t port, const Deadline& deadline,
            const HostResolver& resolver = ResolveWithSystem);
  void Close();
  bool IsOpen() const { return fd_ >= 0; }

  // True when the peer has closed or reset the connection, or has sent bytes
  // that no request asked for, so that it cannot carry a new request.
  bool PeerClosedOrSpoke() const;

  // Sends every byte; SocketWaitTimedOut when the peer takes none until the
  // deadline. Every wait here and below also ends with SocketWaitCancelled
  // once the socket's canceller is cancelled.
  void SendAll(std::string_view bytes, const Deadline& deadline);

  // Waits until the deadline for bytes and reads as many as are there, up to
  // `capacity`. Returns 0 when the peer has closed the connection; throws
  // SocketWaitTimedOut when nothing came in time.
  std::size_t Receive(char* buffer, std::size_t capacity, const Deadline& deadline);

 private:
  const WaitCanceller* canceller_;
  int fd_ = -1;
};

// The Windows socket error number for an errno value of a socket call. An
// errno without a Windows counterpart is passed through unchanged.
int WsaCodeFromErrno(int errnoValue);

// The Windows socket error number for a getaddrinfo() result other than 0;
// `errnoValue` is consulted for EAI_SYSTEM.
int WsaCodeFromResolver(int gaiCode, int errnoValue);

}  // namespace umbra::os
