#include "base/tcp_socket.h"

#include <netdb.h>

#include <cerrno>
#include <gtest/gtest.h>
#include <ostream>
#include <string>

namespace umbra::os {
namespace {

struct ErrnoCase {
  const char* name;
  int errnoValue;
  int wsaCode;
};

void PrintTo(const ErrnoCase& c, std::ostream* os) { *os << c.name; }

class SocketErrnoTable : public ::testing::TestWithParam<ErrnoCase> {};

TEST_P(SocketErrnoTable, SystemErrorBecomesWindowsSocketNumber) {
  EXPECT_EQ(WsaCodeFromErrno(GetParam().errnoValue), GetParam().wsaCode);
}

INSTANTIATE_TEST_SUITE_P(
    Errors, SocketErrnoTable,
    ::testing::Values(ErrnoCase{"Refused", ECONNREFUSED, 10061},
                      ErrnoCase{"TimedOut", ETIMEDOUT, 10060},
                      ErrnoCase{"NetworkUnreachable", ENETUNREACH, 10051},
                      ErrnoCase{"Reset", ECONNRESET, 10054},
                      ErrnoCase{"BrokenPipeIsAReset", EPIPE, 10054},
                      ErrnoCase{"HostDown", EHOSTDOWN, 10064},
                      ErrnoCase{"NoRoute", EHOSTUNREACH, 10065},
                      // An errno without a Windows counterpart keeps its number.
                      ErrnoCase{"Unmapped", EIO, EIO}),
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

}  // namespace
}  // namespace umbra::os
