#pragma once
// Cookies the endpoint sets, kept in memory for the run and sent back with
// later requests to a matching address. Nothing is written to disk.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace umbra::net {

class CookieStore {
 public:
  static constexpr std::size_t kMaxCookies = 300;

  // Takes the value of one "Set-Cookie" or "Set-Cookie2" header (the name is
  // compared ignoring case; other headers are ignored) from the reply to a
  // request for `host` and the request target `target`.
  void Take(std::string_view headerName, std::string_view headerValue, std::string_view host,
            std::string_view target, std::chrono::sys_seconds now);

  // The Cookie header's value for a request to `host` and `target`: the
  // unexpired cookies that match, as "name=value" joined by "; ", longer
  // paths first, then oldest first. Empty when none matches.
  std::string HeaderFor(std::string_view host, std::string_view target, std::chrono::sys_seconds now) const;

 private:
  struct Cookie {
    std::string name;
    std::string value;
    std::string domain;  // lower case
    bool hostOnly = true;
    std::string path;
    std::optional<std::chrono::sys_seconds> expires;  // none: for the run
    std::uint64_t created = 0;
  };

  void TakeOne(std::string_view text, bool quotedValues, const std::string& host, std::string_view target,
               std::chrono::sys_seconds now);

  std::vector<Cookie> cookies_;
  std::uint64_t nextCreated_ = 0;
};

}  // namespace umbra::net
