#include "watch/integer_text.h"

#include <string>

#include "base/text.h"

namespace umbra {

namespace {

// Length of the hexadecimal prefix at the start of `s`, or 0 for none.
std::size_t HexPrefixLength(std::string_view s) {
  if (s.empty()) return 0;
  if (s[0] == '$' || s[0] == 'x' || s[0] == 'X') return 1;
  if (s.size() >= 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) return 2;
  return 0;
}

std::optional<std::uint32_t> ParseHex(std::string_view digits) {
  if (digits.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : digits) {
    const int d = HexDigitValue(c);
    if (d < 0) return std::nullopt;
    value = value * 16 + static_cast<unsigned>(d);
    if (value > 0xFFFFFFFFu) return std::nullopt;
  }
  return static_cast<std::uint32_t>(value);
}

std::optional<std::uint64_t> ParseDecimal(std::string_view digits, std::uint64_t limit) {
  if (digits.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<unsigned>(c - '0');
    if (value > limit) return std::nullopt;
  }
  return value;
}

}  // namespace

std::optional<std::int32_t> ParseInteger(std::string_view text) {
  std::string_view s = UpToNul(text);
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  bool negative = false;
  if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  if (const std::size_t prefix = HexPrefixLength(s); prefix > 0) {
    const auto pattern = ParseHex(s.substr(prefix));
    if (!pattern) return std::nullopt;
    // The digits give a 32-bit pattern; a sign negates it in 32 bits.
    const std::uint32_t bits = negative ? 0u - *pattern : *pattern;
    return static_cast<std::int32_t>(bits);
  }
  const auto magnitude = ParseDecimal(s, negative ? 2147483648ull : 2147483647ull);
  if (!magnitude) return std::nullopt;
  const auto signedValue = static_cast<std::int64_t>(*magnitude);
  return static_cast<std::int32_t>(negative ? -signedValue : signedValue);
}

bool IsNumber(std::string_view text) { return ParseInteger(text).has_value(); }

std::int32_t StrToInt(std::string_view text) {
  if (const auto value = ParseInteger(text)) return *value;
  throw ConvertError("'" + std::string(UpToNul(text)) + "' is not a valid integer value");
}

}  // namespace umbra
