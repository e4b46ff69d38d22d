#include "net/cookie_store.h"

#include <arpa/inet.h>

#include <algorithm>

#include "base/text.h"
#include "net/cookie_date.h"

namespace umbra::net {
namespace {

using std::chrono::sys_seconds;

std::string_view Unquote(std::string_view text) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') return text.substr(1, text.size() - 2);
  return text;
}

bool IsIpAddress(const std::string& host) {
  unsigned char buffer[16];
  return inet_pton(AF_INET, host.c_str(), buffer) == 1 || inet_pton(AF_INET6, host.c_str(), buffer) == 1;
}

bool HasControlByte(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) {
    const auto b = static_cast<unsigned char>(c);
    return (b < 0x20 && b != '\t') || b == 0x7F;
  });
}

// The path part of a request target: up to the query.
std::string_view TargetPath(std::string_view target) { return target.substr(0, target.find('?')); }

// Where a cookie without a Path attribute applies: the "directory" of the
// request path.
std::string DefaultPath(std::string_view target) {
  const std::string_view path = TargetPath(target);
  if (path.empty() || path.front() != '/') return "/";
  const std::size_t lastSlash = path.rfind('/');
  if (lastSlash == 0) return "/";
  return std::string(path.substr(0, lastSlash));
}

bool DomainMatches(const std::string& host, std::string_view domain) {
  if (host == domain) return true;
  return host.size() > domain.size() && host.compare(host.size() - domain.size(), domain.size(), domain) == 0 &&
         host[host.size() - domain.size() - 1] == '.' && !IsIpAddress(host);
}

bool PathMatches(std::string_view requestPath, std::string_view cookiePath) {
  if (requestPath == cookiePath) return true;
  if (requestPath.substr(0, cookiePath.size()) != cookiePath) return false;
  return cookiePath.back() == '/' || requestPath[cookiePath.size()] == '/';
}

// Set-Cookie2 puts several cookies in one header, separated by commas that
// stand outside quoted values.
std::vector<std::string_view> SplitAtUnquotedCommas(std::string_view text) {
  std::vector<std::string_view> pieces;
  bool quoted = false;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '"') quoted = !quoted;
    if (text[i] == ',' && !quoted) {
      pieces.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  pieces.push_back(text.substr(start));
  return pieces;
}

// Max-Age as seconds from now; nothing when it is not a number.
std::optional<sys_seconds> ExpiryFromMaxAge(std::string_view text, sys_seconds now) {
  text = TrimBlanks(text);
  const bool negative = !text.empty() && text.front() == '-';
  if (negative) text.remove_prefix(1);
  if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
  if (negative) return sys_seconds::min();
  // Beyond a century is as good as for ever, and keeps the sum in range.
  constexpr long long kCentury = 100LL * 366 * 24 * 3600;
  long long seconds = 0;
  for (char c : text) {
    seconds = seconds * 10 + (c - '0');
    if (seconds > kCentury) {
      seconds = kCentury;
      break;
    }
  }
  if (seconds == 0) return sys_seconds::min();
  return now + std::chrono::seconds{seconds};
}

}  // namespace

void CookieStore::Take(std::string_view headerName, std::string_view headerValue, std::string_view host,
                       std::string_view target, sys_seconds now) {
  const std::string lowerHost = LowerAscii(host);
  if (EqualsIgnoringCase(headerName, "Set-Cookie")) {
    TakeOne(headerValue, false, lowerHost, target, now);
  } else if (EqualsIgnoringCase(headerName, "Set-Cookie2")) {
    for (std::string_view piece : SplitAtUnquotedCommas(headerValue)) TakeOne(piece, true, lowerHost, target, now);
  }
}

void CookieStore::TakeOne(std::string_view text, bool quotedValues, const std::string& host, std::string_view target,
                          sys_seconds now) {
  std::string_view rest = text;
  const std::size_t firstSemicolon = rest.find(';');
  const std::string_view pair = rest.substr(0, firstSemicolon);
  rest = firstSemicolon == std::string_view::npos ? std::string_view{} : rest.substr(firstSemicolon + 1);
  const std::size_t equals = pair.find('=');
  if (equals == std::string_view::npos) return;
  Cookie cookie;
  cookie.name = std::string(TrimBlanks(pair.substr(0, equals)));
  cookie.value = std::string(TrimBlanks(pair.substr(equals + 1)));
  // Control bytes would go back out inside the Cookie header line.
  if (cookie.name.empty() || HasControlByte(cookie.name) || HasControlByte(cookie.value)) return;
  cookie.domain = host;
  cookie.path = DefaultPath(target);

  std::optional<sys_seconds> fromMaxAge;
  std::optional<sys_seconds> fromExpires;
  bool secure = false;
  while (!rest.empty()) {
    const std::size_t semicolon = rest.find(';');
    const std::string_view attribute = rest.substr(0, semicolon);
    rest = semicolon == std::string_view::npos ? std::string_view{} : rest.substr(semicolon + 1);
    const std::size_t eq = attribute.find('=');
    const std::string_view key = TrimBlanks(attribute.substr(0, eq));
    std::string_view value = eq == std::string_view::npos ? std::string_view{} : TrimBlanks(attribute.substr(eq + 1));
    if (quotedValues) value = Unquote(value);

    if (EqualsIgnoringCase(key, "Max-Age")) {
      if (auto expiry = ExpiryFromMaxAge(value, now)) fromMaxAge = expiry;
    } else if (EqualsIgnoringCase(key, "Expires")) {
      if (auto expiry = ParseCookieDate(value)) fromExpires = expiry;
    } else if (EqualsIgnoringCase(key, "Domain")) {
      if (!value.empty() && value.front() == '.') value.remove_prefix(1);
      if (!value.empty()) {
        const std::string domain = LowerAscii(value);
        // A server may widen a cookie to its own parent domain, never to a
        // domain it does not belong to.
        if (!DomainMatches(host, domain)) return;
        cookie.domain = domain;
        cookie.hostOnly = false;
      }
    } else if (EqualsIgnoringCase(key, "Path")) {
      if (!value.empty() && value.front() == '/') cookie.path = std::string(value);
    } else if (EqualsIgnoringCase(key, "Secure")) {
      secure = true;
    }
  }
  // The client speaks plain HTTP only, so a cookie meant for secure
  // connections would never be sent.
  if (secure) return;
  cookie.expires = fromMaxAge ? fromMaxAge : fromExpires;

  const auto same = std::find_if(cookies_.begin(), cookies_.end(), [&](const Cookie& kept) {
    return kept.name == cookie.name && kept.domain == cookie.domain && kept.path == cookie.path;
  });
  const bool expired = cookie.expires && *cookie.expires <= now;
  if (same != cookies_.end()) {
    if (expired) {
      cookies_.erase(same);
    } else {
      cookie.created = same->created;
      *same = std::move(cookie);
    }
    return;
  }
  if (expired) return;
  cookie.created = nextCreated_++;
  cookies_.push_back(std::move(cookie));
  // A server that keeps inventing names must not grow the store without end;
  // the oldest cookie gives way (the vector is in order of creation).
  if (cookies_.size() > kMaxCookies) cookies_.erase(cookies_.begin());
}

std::string CookieStore::HeaderFor(std::string_view host, std::string_view target, sys_seconds now) const {
  const std::string lowerHost = LowerAscii(host);
  const std::string_view path = TargetPath(target);
  std::vector<const Cookie*> matching;
  for (const Cookie& cookie : cookies_) {
    if (cookie.expires && *cookie.expires <= now) continue;
    const bool domainOk = cookie.hostOnly ? lowerHost == cookie.domain : DomainMatches(lowerHost, cookie.domain);
    if (domainOk && PathMatches(path, cookie.path)) matching.push_back(&cookie);
  }
  std::stable_sort(matching.begin(), matching.end(), [](const Cookie* a, const Cookie* b) {
    if (a->path.size() != b->path.size()) return a->path.size() > b->path.size();
    return a->created < b->created;
  });
  std::string header;
  for (const Cookie* cookie : matching) {
    if (!header.empty()) header += "; ";
    header += cookie->name;
    header += '=';
    header += cookie->value;
  }
  return header;
}

}  // namespace umbra::net
