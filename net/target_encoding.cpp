#include "net/target_encoding.h"

#include <algorithm>
#include <array>
#include <cstddef>

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

// A presence query's target is a megabyte of digits and ":" for a long list,
// so blocks of bytes from "&" to ";" (all of them allowed) are recognised
// without a table look-up per byte; the fixed-length loop compiles to a few
// vector instructions.
constexpr std::size_t kBlock = 32;

bool BlockIsPlain(const char* block) {
  unsigned char outside = 0;
  for (std::size_t i = 0; i < kBlock; ++i) {
    outside |= static_cast<unsigned char>(static_cast<unsigned char>(block[i]) - '&') > ';' - '&';
  }
  return outside == 0;
}

}  // namespace

bool StandsInRequestTarget(unsigned char byte) { return kAllowed[byte]; }

std::string EncodeRequestTarget(std::string_view target) {
  std::string out;
  EncodeRequestTarget(target, out);
  return out;
}

void EncodeRequestTarget(std::string_view target, std::string& out) {
  // Block by block: a plain block is taken whole, any other byte by byte.
  const char* const begin = target.data();
  const std::size_t size = target.size();
  std::size_t escaped = 0;
  for (std::size_t i = 0; i < size; i += kBlock) {
    const std::size_t end = std::min(i + kBlock, size);
    if (end - i == kBlock && BlockIsPlain(begin + i)) continue;
    for (std::size_t j = i; j < end; ++j) escaped += kAllowed[static_cast<unsigned char>(begin[j])] ? 0 : 1;
  }
  if (escaped == 0) {
    out.assign(target);
    return;
  }
  out.resize(size + 2 * escaped);
  char* dst = out.data();
  for (std::size_t i = 0; i < size; i += kBlock) {
    const std::size_t end = std::min(i + kBlock, size);
    if (end - i == kBlock && BlockIsPlain(begin + i)) {
      dst = std::copy(begin + i, begin + end, dst);
      continue;
    }
    for (std::size_t j = i; j < end; ++j) {
      const auto b = static_cast<unsigned char>(begin[j]);
      if (kAllowed[b]) {
        *dst++ = static_cast<char>(b);
      } else {
        *dst++ = '%';
        *dst++ = kHexDigits[b >> 4];
        *dst++ = kHexDigits[b & 0x0F];
      }
    }
  }
}

}  // namespace umbra::net
