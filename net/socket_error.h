#pragma once
// Socket failures as the user has always read them: Windows socket error
// numbers and their texts, whatever the operating system underneath says.

#include <string>
#include <string_view>

#include "base/tcp_socket.h"
#include "net/http_client.h"

namespace umbra::net {

using os::kWsaConnectionRefused;
using os::kWsaConnectionReset;
using os::kWsaHostNotFound;
using os::kWsaTimedOut;

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
