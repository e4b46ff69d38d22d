// The input is the text of the refresh-time box. IsNumber and ParseInteger
// agree with a plain reading of the integer syntax (one that handles the
// digits as text, without arithmetic that could overflow), and StrToInt
// throws exactly when IsNumber says no, with the message that names the text.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/text.h"
#include "tests/fuzz/fuzz_check.h"
#include "watch/integer_text.h"

namespace umbra::fuzz {
namespace {

std::string_view WithoutLeadingZeros(std::string_view digits) {
  while (digits.size() > 1 && digits.front() == '0') digits.remove_prefix(1);
  return digits;
}

bool AllOf(std::string_view text, std::string_view allowed) {
  return !text.empty() && text.find_first_not_of(allowed) == std::string_view::npos;
}

std::optional<std::int32_t> ReadInteger(std::string_view text) {
  text = umbra::UpToNul(text);
  text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
  const bool negative = !text.empty() && text.front() == '-';
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);

  std::string_view digits;
  int base = 10;
  if (text.starts_with("0x") || text.starts_with("0X")) {
    digits = text.substr(2), base = 16;
  } else if (text.starts_with("$") || text.starts_with("x") || text.starts_with("X")) {
    digits = text.substr(1), base = 16;
  } else {
    digits = text;
  }
  if (!AllOf(digits, base == 16 ? "0123456789abcdefABCDEF" : "0123456789")) return std::nullopt;
  digits = WithoutLeadingZeros(digits);

  if (base == 16) {
    // Up to eight hexadecimal digits make a 32-bit pattern; a sign negates
    // it in 32 bits.
    if (digits.size() > 8) return std::nullopt;
    std::uint32_t pattern = 0;
    for (const char c : digits) pattern = pattern * 16 + static_cast<std::uint32_t>(umbra::HexDigitValue(c));
    return static_cast<std::int32_t>(negative ? 0u - pattern : pattern);
  }
  // Compared as text against the limits of a 32-bit integer.
  const std::string_view limit = negative ? "2147483648" : "2147483647";
  if (digits.size() > limit.size() || (digits.size() == limit.size() && digits > limit)) return std::nullopt;
  std::int64_t value = 0;
  for (const char c : digits) value = value * 10 + (c - '0');
  return static_cast<std::int32_t>(negative ? -value : value);
}

}  // namespace
}  // namespace umbra::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace umbra::fuzz;
  const std::string_view text = AsText(data, size);

  const std::optional<std::int32_t> expected = ReadInteger(text);
  const std::optional<std::int32_t> parsed = umbra::ParseInteger(text);
  if (parsed != expected) {
    Broken("ParseInteger reads the integer syntax", __FILE__, __LINE__,
           "  text: " + Shown(text) + "\n  parsed: " + (parsed ? std::to_string(*parsed) : "nothing") +
               "\n  expected: " + (expected ? std::to_string(*expected) : "nothing"));
  }
  FUZZ_CHECK(umbra::IsNumber(text) == expected.has_value());

  try {
    const std::int32_t value = umbra::StrToInt(text);
    FUZZ_CHECK(expected.has_value() && value == *expected);
  } catch (const umbra::ConvertError& e) {
    FUZZ_CHECK(!expected.has_value());
    FUZZ_CHECK_TEXT_EQ(e.what(), "'" + std::string(umbra::UpToNul(text)) + "' is not a valid integer value");
  }
  return 0;
}
