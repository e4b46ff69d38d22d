#include "net/target_encoding.h"

#include <array>

namespace umbra::net {
namespace {

constexpr std::array<bool, 256> MakeAllowedTable() {
  std::array<bool, 256> allowed{};
  for (int b = 0x21; b <= 0x7E; ++b) allowed[b] = true;
  for (unsigned char b : std::string_view("\"#%<>\\^`{|}")) allowed[b] = false;
  return allowed;
}

constexpr std::array<bool, 256> kAllowed = MakeAllowedTable();
constexpr char kHexDigits[] = "0123456789ABCDEF";

}  // namespace

bool StandsInRequestTarget(unsigned char byte) { return kAllowed[byte]; }

std::string EncodeRequestTarget(std::string_view target) {
  std::size_t escaped = 0;
  for (unsigned char b : target) escaped += kAllowed[b] ? 0 : 1;
  std::string out;
  out.resize(target.size() + 2 * escaped);
  char* dst = out.data();
  for (unsigned char b : target) {
    if (kAllowed[b]) {
      *dst++ = static_cast<char>(b);
    } else {
      *dst++ = '%';
      *dst++ = kHexDigits[b >> 4];
      *dst++ = kHexDigits[b & 0x0F];
    }
  }
  return out;
}

}  // namespace umbra::net
