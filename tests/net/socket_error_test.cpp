#include "net/socket_error.h"

#include <netdb.h>

#include <cerrno>
#include <gtest/gtest.h>
#include <ostream>
#include <string>

namespace umbra::net {
namespace {

struct ErrnoCase {
  const char* name;
  int errnoValue;
  std::string message;
};

void PrintTo(const ErrnoCase& c, std::ostream* os) { *os << c.name; }

class SocketErrorTable : public ::testing::TestWithParam<ErrnoCase> {};

TEST_P(SocketErrorTable, SystemErrorBecomesWindowsSocketMessage) {
  EXPECT_EQ(SocketErrorMessage(WsaCodeFromErrno(GetParam().errnoValue)), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Errors, SocketErrorTable,
    ::testing::Values(ErrnoCase{"Refused", ECONNREFUSED, "Socket Error # 10061\r\nConnection refused."},
                      ErrnoCase{"TimedOut", ETIMEDOUT, "Socket Error # 10060\r\nConnection timed out."},
                      ErrnoCase{"NetworkUnreachable", ENETUNREACH, "Socket Error # 10051\r\nNetwork is unreachable."},
                      ErrnoCase{"Reset", ECONNRESET, "Socket Error # 10054\r\nConnection reset by peer."},
                      ErrnoCase{"BrokenPipeIsAReset", EPIPE, "Socket Error # 10054\r\nConnection reset by peer."},
                      ErrnoCase{"HostDown", EHOSTDOWN, "Socket Error # 10064\r\nHost is down."},
                      ErrnoCase{"NoRoute", EHOSTUNREACH, "Socket Error # 10065\r\nNo route to host."},
                      // An errno without a Windows counterpart keeps its number and has no text.
                      ErrnoCase{"Unmapped", EIO, "Socket Error # " + std::to_string(EIO) + "\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

struct ResolverCase {
  const char* name;
  int gaiCode;
  int errnoValue;
  int wsaCode;
};

void PrintTo(const ResolverCase& c, std::ostream* os) { *os << c.name; }

class ResolverErrorTable : public ::testing::TestWithParam<ResolverCase> {};

TEST_P(ResolverErrorTable, NameThatCannotBeResolvedIsHostNotFound) {
  EXPECT_EQ(WsaCodeFromResolver(GetParam().gaiCode, GetParam().errnoValue), GetParam().wsaCode);
}

INSTANTIATE_TEST_SUITE_P(Errors, ResolverErrorTable,
                         ::testing::Values(ResolverCase{"UnknownName", EAI_NONAME, 0, 11001},
                                           ResolverCase{"NameServerUnreachable", EAI_AGAIN, 0, 11001},
                                           ResolverCase{"NameServerFailed", EAI_FAIL, 0, 11001},
                                           ResolverCase{"SystemErrorUsesErrno", EAI_SYSTEM, ENETUNREACH, 10051}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SocketErrorMessage, HostNotFound) {
  EXPECT_EQ(SocketErrorMessage(11001), "Socket Error # 11001\r\nHost not found.");
}

}  // namespace
}  // namespace umbra::net
