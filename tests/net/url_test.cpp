#include "net/url.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "tests/net/http_error_of.h"

namespace umbra::net {
namespace {

struct UrlCase {
  const char* name;
  std::string url;
  std::string host;
  int port;
  std::string target;
  std::string hostHeader;
};

void PrintTo(const UrlCase& c, std::ostream* os) { *os << c.name; }

class UrlTable : public ::testing::TestWithParam<UrlCase> {};

TEST_P(UrlTable, SplitsAddressIntoHostPortAndTarget) {
  const UrlCase& c = GetParam();
  const HttpUrl url = ParseHttpUrl(c.url);
  EXPECT_EQ(url.host, c.host);
  EXPECT_EQ(url.port, c.port);
  EXPECT_EQ(url.target, c.target);
  EXPECT_EQ(HostHeaderValue(url), c.hostHeader);
}

INSTANTIATE_TEST_SUITE_P(
    Addresses, UrlTable,
    ::testing::Values(
        UrlCase{"DefaultPortLeftOutOfHost", "http://presence.example/getonline?Type=1&1:", "presence.example", 80,
                "/getonline?Type=1&1:", "presence.example"},
        UrlCase{"ExplicitPort80LeftOutOfHost", "http://presence.example:80/x", "presence.example", 80, "/x",
                "presence.example"},
        UrlCase{"OtherPortInHost", "http://127.0.0.1:8080/x", "127.0.0.1", 8080, "/x", "127.0.0.1:8080"},
        UrlCase{"NoTargetIsRoot", "http://host:81", "host", 81, "/", "host:81"},
        UrlCase{"QueryRightAfterHost", "http://host?a=1", "host", 80, "/?a=1", "host"},
        UrlCase{"SchemeAnyCase", "HTTP://Host/A", "Host", 80, "/A", "Host"},
        UrlCase{"Ipv6Literal", "http://[::1]:8080/x", "::1", 8080, "/x", "[::1]:8080"},
        // The target is taken raw here; escaping it is a later step.
        UrlCase{"TargetKeptRaw", "http://h/a b#c\\d", "h", 80, "/a b#c\\d", "h"}),
    [](const auto& info) { return std::string(info.param.name); });

struct BadUrlCase {
  const char* name;
  std::string url;
  std::string message;
};

void PrintTo(const BadUrlCase& c, std::ostream* os) { *os << c.name; }

class BadUrlTable : public ::testing::TestWithParam<BadUrlCase> {};

TEST_P(BadUrlTable, FailsWithMessage) {
  EXPECT_EQ(HttpErrorOf([&] { ParseHttpUrl(GetParam().url); }), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Addresses, BadUrlTable,
    ::testing::Values(BadUrlCase{"OtherScheme", "https://host/", "Unknown protocol."},
                      BadUrlCase{"NoScheme", "host/x", "Unknown protocol."},
                      BadUrlCase{"PortNotNumber", "http://host:8o/x", "Invalid port number."},
                      BadUrlCase{"PortZero", "http://host:0/x", "Invalid port number."},
                      BadUrlCase{"PortTooLarge", "http://host:65536/x", "Invalid port number."},
                      BadUrlCase{"EmptyHost", "http:///x", "Socket Error # 11001\r\nHost not found."}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace umbra::net
