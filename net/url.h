#pragma once
// The parts of an "http://host[:port]/target" address that the exchange uses.

#include <cstdint>
#include <string>
#include <string_view>

namespace umbra::net {

struct HttpUrl {
  std::string host;  // as written; an IPv6 literal without its brackets
  std::uint16_t port = 80;
  std::string target;  // raw bytes from the first "/" on; "/" when none
  bool ipv6Literal = false;
};

// Throws HttpError for another scheme, a bad port or an empty host.
HttpUrl ParseHttpUrl(std::string_view url);

// The Host header's value: the host, and ":port" only when the port is not 80.
std::string HostHeaderValue(const HttpUrl& url);

}  // namespace umbra::net
