#include "net/request_bytes.h"

#include <gtest/gtest.h>

namespace umbra::net {
namespace {

TEST(BuildGetRequest, FixedHeadersInOrderAndNothingElse) {
  EXPECT_EQ(BuildGetRequest("/getonline?Type=1&123456:88888:", "presence.example", ""),
            "GET /getonline?Type=1&123456:88888: HTTP/1.1\r\n"
            "Content-Type: text/html\r\n"
            "Host: presence.example\r\n"
            "Accept: text/html, */*\r\n"
            "User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n"
            "\r\n");
}

TEST(BuildGetRequest, CookieHeaderComesLast) {
  EXPECT_EQ(BuildGetRequest("/", "h:8080", "a=1; b=2"),
            "GET / HTTP/1.1\r\n"
            "Content-Type: text/html\r\n"
            "Host: h:8080\r\n"
            "Accept: text/html, */*\r\n"
            "User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n"
            "Cookie: a=1; b=2\r\n"
            "\r\n");
}

}  // namespace
}  // namespace umbra::net
