#include "net/cookie_date.h"

#include <array>

#include "base/text.h"

namespace umbra::net {
namespace {

bool IsDelimiter(unsigned char c) {
  return c == 0x09 || (c >= 0x20 && c <= 0x2F) || (c >= 0x3B && c <= 0x40) || (c >= 0x5B && c <= 0x60) ||
         (c >= 0x7B && c <= 0x7E);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads 1 to maxDigits digits at the start of `token`; the rest must not
// begin with a digit. A longer run of digits is counted but not added up, so
// a server's endless number cannot overflow the value.
bool LeadingNumber(std::string_view token, std::size_t maxDigits, int& value, std::size_t& used) {
  used = 0;
  value = 0;
  while (used < token.size() && IsDigit(token[used])) {
    if (used < maxDigits) value = value * 10 + (token[used] - '0');
    ++used;
  }
  return used >= 1 && used <= maxDigits;
}

bool ParseTime(std::string_view token, int& hour, int& minute, int& second) {
  int* parts[] = {&hour, &minute, &second};
  for (int i = 0; i < 3; ++i) {
    std::size_t used = 0;
    if (!LeadingNumber(token, 2, *parts[i], used)) return false;
    token.remove_prefix(used);
    if (i < 2) {
      if (token.empty() || token.front() != ':') return false;
      token.remove_prefix(1);
    }
  }
  return true;
}

int MonthFromName(std::string_view token) {
  static constexpr std::array<std::string_view, 12> kMonths = {"jan", "feb", "mar", "apr", "may", "jun",
                                                              "jul", "aug", "sep", "oct", "nov", "dec"};
  if (token.size() < 3) return 0;
  char lower[3];
  for (int i = 0; i < 3; ++i) lower[i] = LowerAscii(token[i]);
  for (std::size_t m = 0; m < kMonths.size(); ++m) {
    if (std::string_view(lower, 3) == kMonths[m]) return static_cast<int>(m) + 1;
  }
  return 0;
}

}  // namespace

std::optional<std::chrono::sys_seconds> ParseCookieDate(std::string_view text) {
  bool foundTime = false, foundDay = false, foundMonth = false, foundYear = false;
  int hour = 0, minute = 0, second = 0, day = 0, month = 0, year = 0;

  std::size_t pos = 0;
  while (pos < text.size()) {
    while (pos < text.size() && IsDelimiter(static_cast<unsigned char>(text[pos]))) ++pos;
    const std::size_t start = pos;
    while (pos < text.size() && !IsDelimiter(static_cast<unsigned char>(text[pos]))) ++pos;
    const std::string_view token = text.substr(start, pos - start);
    if (token.empty()) continue;

    int value = 0;
    std::size_t used = 0;
    if (!foundTime && ParseTime(token, hour, minute, second)) {
      foundTime = true;
    } else if (!foundDay && LeadingNumber(token, 2, value, used)) {
      foundDay = true;
      day = value;
    } else if (!foundMonth && MonthFromName(token) != 0) {
      foundMonth = true;
      month = MonthFromName(token);
    } else if (!foundYear && LeadingNumber(token, 4, value, used) && used >= 2) {
      foundYear = true;
      year = value;
    }
  }
  if (!foundTime || !foundDay || !foundMonth || !foundYear) return std::nullopt;
  if (year >= 70 && year <= 99) year += 1900;
  if (year >= 0 && year <= 69) year += 2000;
  if (year < 1601 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 59) return std::nullopt;

  const std::chrono::year_month_day date{std::chrono::year{year}, std::chrono::month{static_cast<unsigned>(month)},
                                         std::chrono::day{static_cast<unsigned>(day)}};
  if (!date.ok()) return std::nullopt;
  return std::chrono::sys_days{date} + std::chrono::hours{hour} + std::chrono::minutes{minute} +
         std::chrono::seconds{second};
}

}  // namespace umbra::net
