#pragma once
// The check behind every first append to a history file: whether the file's
// bytes are in the program's own form (every line ended by CR LF, no lone CR
// or LF). It runs once over each file a process appends to, however long the
// file has grown, so it must cost no more than reading the file: it looks at
// 64 bytes at a time, the way memchr does, with SSE2 where the processor has
// it and with eight bytes to a word elsewhere.

#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace umbra::history_form {

// Where the line-end bytes of a block of 64 lie: bit i stands for byte i.
struct LineEnds {
  std::uint64_t carriageReturns = 0;
  std::uint64_t lineFeeds = 0;
};

// Any processor: eight bytes to a word.
inline LineEnds FindLineEndsByWords(const char* block) {
  // 0x80 in each byte that equals `c`, exactly: no byte's sum carries into
  // the next. Then byte k's 0x80 becomes bit k.
  const auto bitsEqualTo = [](std::uint64_t word, unsigned char c) -> std::uint64_t {
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
    const std::uint64_t x = word ^ (0x0101010101010101ull * c);
    const std::uint64_t high = ~(((x & kLow7) + kLow7) | x | kLow7);
    return ((high >> 7) * 0x0102040810204080ull) >> 56;
  };
  LineEnds ends;
  for (int k = 0; k < 8; ++k) {
    unsigned char bytes[8];
    std::memcpy(bytes, block + 8 * k, 8);
    // Byte 0 in the lowest bits, whatever the processor's byte order.
    std::uint64_t word = 0;
    for (int b = 7; b >= 0; --b) word = (word << 8) | bytes[b];
    ends.carriageReturns |= bitsEqualTo(word, '\r') << (8 * k);
    ends.lineFeeds |= bitsEqualTo(word, '\n') << (8 * k);
  }
  return ends;
}

#if defined(__SSE2__)
inline LineEnds FindLineEndsBySse2(const char* block) {
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  LineEnds ends;
  for (int k = 0; k < 4; ++k) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 16 * k));
    const auto bitsEqualTo = [bytes](__m128i c) {
      return std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, c)))};
    };
    ends.carriageReturns |= bitsEqualTo(cr) << (16 * k);
    ends.lineFeeds |= bitsEqualTo(lf) << (16 * k);
  }
  return ends;
}
inline constexpr LineEnds (*kFindLineEnds)(const char*) = FindLineEndsBySse2;
#else
inline constexpr LineEnds (*kFindLineEnds)(const char*) = FindLineEndsByWords;
#endif

// Follows bytes piece by piece and tells whether, all together, they are in
// the written form.
template <LineEnds (*FindLineEnds)(const char*) = kFindLineEnds>
class WrittenFormCheck {
 public:
  // False once the bytes seen so far hold a lone CR or LF.
  bool Take(std::string_view piece) {
    if (!inForm_ || piece.empty()) return inForm_;
    const char* const bytes = piece.data();
    const std::size_t size = piece.size();
    std::size_t i = 0;
    // Bit 0 set when the byte before the block was a CR: an LF must follow.
    std::uint64_t carry = afterCr_ ? 1 : 0;
    for (; i + 64 <= size; i += 64) {
      const LineEnds ends = FindLineEnds(bytes + i);
      // An LF right after every CR, and no LF anywhere else.
      if (ends.lineFeeds != ((ends.carriageReturns << 1) | carry)) return inForm_ = false;
      carry = ends.carriageReturns >> 63;
    }
    bool afterCr = carry != 0;
    for (; i < size; ++i) {
      if (afterCr != (bytes[i] == '\n')) return inForm_ = false;
      afterCr = bytes[i] == '\r';
    }
    afterCr_ = afterCr;
    endsWithLf_ = bytes[size - 1] == '\n';
    empty_ = false;
    return true;
  }

  // Whether all the bytes taken are in the written form: none at all, or
  // lines that all end with CR LF.
  bool InForm() const { return inForm_ && (empty_ || (endsWithLf_ && !afterCr_)); }

 private:
  bool inForm_ = true;
  bool afterCr_ = false;
  bool endsWithLf_ = false;
  bool empty_ = true;
};

}  // namespace umbra::history_form
