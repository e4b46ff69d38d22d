#include "net/url.h"

#include <algorithm>
#include <cctype>

#include "net/failure_messages.h"
#include "net/http_client.h"
#include "net/socket_error.h"

namespace umbra::net {
namespace {

constexpr std::string_view kScheme = "http://";

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
         });
}

std::uint16_t ParsePort(std::string_view text) {
  if (text.empty() || text.size() > 5) throw HttpError(std::string(kInvalidPort));
  unsigned value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') throw HttpError(std::string(kInvalidPort));
    value = value * 10 + static_cast<unsigned>(c - '0');
  }
  if (value == 0 || value > 65535) throw HttpError(std::string(kInvalidPort));
  return static_cast<std::uint16_t>(value);
}

}  // namespace

HttpUrl ParseHttpUrl(std::string_view url) {
  if (!StartsWithIgnoringCase(url, kScheme)) throw HttpError(std::string(kUnknownProtocol));
  url.remove_prefix(kScheme.size());

  // A query may follow the authority directly ("http://host?x"); the target
  // then still has to begin with "/".
  const std::size_t authorityEnd = std::min(url.find('/'), url.find('?'));
  std::string_view authority = url.substr(0, authorityEnd);
  HttpUrl result;
  if (authorityEnd == std::string_view::npos) {
    result.target = "/";
  } else {
    result.target = url[authorityEnd] == '/' ? std::string(url.substr(authorityEnd))
                                             : "/" + std::string(url.substr(authorityEnd));
  }

  std::string_view portText;
  bool hasPort = false;
  if (!authority.empty() && authority.front() == '[') {
    const std::size_t close = authority.find(']');
    if (close == std::string_view::npos) throw HttpError(SocketErrorMessage(kWsaHostNotFound));
    result.host = std::string(authority.substr(1, close - 1));
    result.ipv6Literal = true;
    std::string_view rest = authority.substr(close + 1);
    if (!rest.empty()) {
      if (rest.front() != ':') throw HttpError(std::string(kInvalidPort));
      portText = rest.substr(1);
      hasPort = true;
    }
  } else {
    const std::size_t colon = authority.rfind(':');
    result.host = std::string(authority.substr(0, colon));
    if (colon != std::string_view::npos) {
      portText = authority.substr(colon + 1);
      hasPort = true;
    }
  }
  if (hasPort) result.port = ParsePort(portText);
  if (result.host.empty()) throw HttpError(SocketErrorMessage(kWsaHostNotFound));
  return result;
}

std::string HostHeaderValue(const HttpUrl& url) {
  std::string value = url.ipv6Literal ? "[" + url.host + "]" : url.host;
  if (url.port != 80) value += ":" + std::to_string(url.port);
  return value;
}

}  // namespace umbra::net
