#pragma once
// Socket failures as the user has always read them: Windows socket error
// numbers and their texts, whatever the operating system underneath says.

#include <string>
#include <string_view>

#include "net/http_client.h"

namespace umbra::net {

inline constexpr int kWsaConnectionReset = 10054;
inline constexpr int kWsaTimedOut = 10060;
inline constexpr int kWsaConnectionRefused = 10061;
inline constexpr int kWsaHostNotFound = 11001;

// The Windows socket error number for an errno value of a socket call. An
// errno without a Windows counterpart is passed through unchanged.
int WsaCodeFromErrno(int errnoValue);

// The Windows socket error number for a getaddrinfo() result other than 0;
// `errnoValue` is consulted for EAI_SYSTEM.
int WsaCodeFromResolver(int gaiCode, int errnoValue);

// The text shown for a Windows socket error number; empty when unknown.
std::string_view SocketErrorText(int wsaCode);

// "Socket Error # <code>\r\n<text>".
std::string SocketErrorMessage(int wsaCode);

// A failed socket call. Keeps the number so the client can tell a connection
// the server dropped from other failures.
class SocketFailure : public HttpError {
 public:
  explicit SocketFailure(int wsaCode) : HttpError(SocketErrorMessage(wsaCode)), code_(wsaCode) {}
  int Code() const { return code_; }

 private:
  int code_;
};

}  // namespace umbra::net
