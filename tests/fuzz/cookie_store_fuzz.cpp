// The input is a script, one command a line:
//   Set-Cookie: a=1; Path=/   a header of a reply (any name; only the two
//                             cookie headers count) to the current address
//   @host /target             the address the next replies come from
//   ?host /target             the Cookie header for a request there
//   +3600                     the clock moves on by that many seconds
// Whatever the replies set, the Cookie header must be fit to go out on the
// wire and read the same for any case of the host name, and a plain cookie
// just set must go back to the address that set it.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "net/cookie_store.h"
#include "tests/fuzz/fuzz_check.h"

namespace umbra::fuzz {
namespace {

using namespace std::chrono;
using net::CookieStore;

struct Address {
  std::string host = "presence.example.com";
  std::string target = "/getonline?Type=1&10001:";
};

Address ParseAddress(std::string_view text) {
  Address address;
  const std::size_t blank = text.find(' ');
  address.host = std::string(text.substr(0, blank));
  address.target = blank == std::string_view::npos ? "/" : std::string(text.substr(blank + 1));
  return address;
}

std::string UpperAscii(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

std::string_view TrimSpacesAndTabs(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

bool IsControlByte(char c) {
  const auto b = static_cast<unsigned char>(c);
  return (b < 0x20 && b != '\t') || b == 0x7F;
}

bool HasControlByte(std::string_view text) {
  for (const char c : text) {
    if (IsControlByte(c)) return true;
  }
  return false;
}

// The "name=value" pieces of a Cookie header.
std::vector<std::string_view> CookiesIn(std::string_view header) {
  std::vector<std::string_view> cookies;
  while (!header.empty()) {
    const std::size_t separator = header.find("; ");
    cookies.push_back(header.substr(0, separator));
    if (separator == std::string_view::npos) break;
    header.remove_prefix(separator + 2);
  }
  return cookies;
}

std::string CheckedHeader(const CookieStore& store, const Address& address, sys_seconds now) {
  const std::string header = store.HeaderFor(address.host, address.target, now);
  if (HasControlByte(header)) {
    Broken("the Cookie header holds no control byte", __FILE__, __LINE__, "  header: " + Shown(header));
  }
  const std::vector<std::string_view> cookies = CookiesIn(header);
  FUZZ_CHECK(cookies.size() <= CookieStore::kMaxCookies);
  for (const std::string_view cookie : cookies) {
    const std::size_t equals = cookie.find('=');
    if (equals == 0 || equals == std::string_view::npos) {
      Broken("every cookie sent is name=value", __FILE__, __LINE__, "  header: " + Shown(header));
    }
  }
  FUZZ_CHECK_TEXT_EQ(store.HeaderFor(UpperAscii(address.host), address.target, now), header);
  return header;
}

// After a header "Set-Cookie: name=value" without attributes, the cookie
// goes back to the same host and request path.
void CheckPlainCookieReturns(const CookieStore& store, std::string_view headerName, std::string_view value,
                             const Address& address, sys_seconds now) {
  if (UpperAscii(headerName) != "SET-COOKIE" || value.find(';') != std::string_view::npos) return;
  if (address.target.empty() || address.target.front() != '/') return;
  const std::size_t equals = value.find('=');
  if (equals == std::string_view::npos) return;
  const std::string_view name = TrimSpacesAndTabs(value.substr(0, equals));
  const std::string_view cookieValue = TrimSpacesAndTabs(value.substr(equals + 1));
  if (name.empty() || HasControlByte(name) || HasControlByte(cookieValue)) return;
  const std::string expected = std::string(name) + "=" + std::string(cookieValue);
  const std::string header = store.HeaderFor(address.host, address.target, now);
  for (const std::string_view cookie : CookiesIn(header)) {
    if (cookie == expected) return;
  }
  Broken("a plain cookie goes back where it came from", __FILE__, __LINE__,
         "  set: " + Shown(value) + "\n  header: " + Shown(header));
}

}  // namespace
}  // namespace umbra::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace umbra::fuzz;
  std::string_view script = AsText(data, size);
  CookieStore store;
  Address address;
  sys_seconds now = sys_days{year{2024} / 5 / 17} + hours{12};
  while (!script.empty()) {
    const std::size_t lineEnd = script.find('\n');
    const std::string_view line = script.substr(0, lineEnd);
    script = lineEnd == std::string_view::npos ? std::string_view{} : script.substr(lineEnd + 1);
    if (line.empty()) continue;

    if (line.front() == '@') {
      address = ParseAddress(line.substr(1));
    } else if (line.front() == '?') {
      CheckedHeader(store, ParseAddress(line.substr(1)), now);
    } else if (line.front() == '+') {
      long long seconds = 0;
      for (const char c : line.substr(1, 10)) {
        if (c < '0' || c > '9') break;
        seconds = seconds * 10 + (c - '0');
      }
      now += std::chrono::seconds{seconds};
    } else if (const std::size_t colon = line.find(':'); colon != std::string_view::npos) {
      const std::string_view name = line.substr(0, colon);
      std::string_view value = line.substr(colon + 1);
      while (!value.empty() && value.front() == ' ') value.remove_prefix(1);
      store.Take(name, value, address.host, address.target, now);
      CheckPlainCookieReturns(store, name, value, address, now);
    }
  }
  CheckedHeader(store, address, now);
  return 0;
}
