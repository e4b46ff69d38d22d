#pragma once
// The integer syntax of the refresh-time box: optional leading blanks, one
// optional sign, then decimal digits or a hexadecimal number after "$", "x",
// "X", "0x" or "0X", and nothing after the last digit.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string_view>

namespace umbra {

// Raised when a text is not an integer; what() is
// "'<text>' is not a valid integer value".
class ConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The value of `text` read up to its first NUL, or nothing when it is not a
// valid signed 32-bit integer.
std::optional<std::int32_t> ParseInteger(std::string_view text);

// Whether ParseInteger accepts the text. Never throws.
bool IsNumber(std::string_view text);

// The value of `text`; throws ConvertError for every text IsNumber refuses.
std::int32_t StrToInt(std::string_view text);

}  // namespace umbra
