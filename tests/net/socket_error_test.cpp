#include "net/socket_error.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>

namespace umbra::net {
namespace {

struct MessageCase {
  const char* name;
  int wsaCode;
  std::string message;
};

void PrintTo(const MessageCase& c, std::ostream* os) { *os << c.name; }

class SocketErrorMessages : public ::testing::TestWithParam<MessageCase> {};

TEST_P(SocketErrorMessages, NumberCrLfAndTheClientsText) {
  EXPECT_EQ(SocketErrorMessage(GetParam().wsaCode), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Errors, SocketErrorMessages,
    ::testing::Values(MessageCase{"Refused", 10061, "Socket Error # 10061\r\nConnection refused."},
                      MessageCase{"TimedOut", 10060, "Socket Error # 10060\r\nConnection timed out."},
                      MessageCase{"NetworkUnreachable", 10051, "Socket Error # 10051\r\nNetwork is unreachable."},
                      MessageCase{"Reset", 10054, "Socket Error # 10054\r\nConnection reset by peer."},
                      MessageCase{"HostDown", 10064, "Socket Error # 10064\r\nHost is down."},
                      MessageCase{"NoRoute", 10065, "Socket Error # 10065\r\nNo route to host."},
                      MessageCase{"HostNotFound", 11001, "Socket Error # 11001\r\nHost not found."},
                      // A number the client has no text for: the number, CR LF, nothing.
                      MessageCase{"Unknown", 5, "Socket Error # 5\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace umbra::net
