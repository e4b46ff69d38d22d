#pragma once
// Finding two bytes in a long text a block at a time. A presence reply is a
// long row of short entries ("online[7]=1;"): a call of memchr per entry
// costs more than the search itself, so the reply is read here block by
// block, each block yielding every hit it holds: sixteen bytes at a time with
// SSE2 where the machine has it, eight with plain integer arithmetic
// elsewhere. Like every routine of the program that reads a text, it reads
// up to the first NUL byte, found in the same pass.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace umbra {

namespace byte_blocks {

// Eight bytes in a 64-bit word. Bit 8i+7 of a block's hits stands for byte i.
struct Swar {
  using Pattern = std::uint64_t;
  static constexpr std::ptrdiff_t kBlock = 8;
  static constexpr int kBitsPerByte = 8;

  static constexpr Pattern Repeated(char c) { return 0x0101010101010101ull * static_cast<unsigned char>(c); }

  // The block's bytes equal to a or b, and its NUL bytes.
  static std::uint64_t Hits(const char* block, Pattern a, Pattern b, std::uint64_t& nuls) {
    std::uint64_t word = 0;
    if constexpr (std::endian::native == std::endian::little) {
      std::memcpy(&word, block, sizeof word);
    } else {
      for (int i = 0; i < 8; ++i) word |= std::uint64_t{static_cast<unsigned char>(block[i])} << (8 * i);
    }
    nuls = EqualBytes(word, 0);
    return EqualBytes(word, a) | EqualBytes(word, b);
  }

 private:
  static constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;

  // The high bit of every byte of `word` that equals the byte repeated in
  // `pattern`, and no other bit: exact, with no false hits after a match.
  static constexpr std::uint64_t EqualBytes(std::uint64_t word, std::uint64_t pattern) {
    const std::uint64_t x = word ^ pattern;
    return ~(((x & kLow7) + kLow7) | x | kLow7);
  }
};

#if defined(__SSE2__)
// Sixteen bytes in a vector register. Bit i of a block's hits stands for byte i.
struct Sse2 {
  using Pattern = __m128i;
  static constexpr std::ptrdiff_t kBlock = 16;
  static constexpr int kBitsPerByte = 1;

  static Pattern Repeated(char c) { return _mm_set1_epi8(c); }

  // The block's bytes equal to a or b, and its NUL bytes.
  static std::uint64_t Hits(const char* block, Pattern a, Pattern b, std::uint64_t& nuls) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block));
    const __m128i hits = _mm_or_si128(_mm_cmpeq_epi8(bytes, a), _mm_cmpeq_epi8(bytes, b));
    nuls = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_setzero_si128())));
    return static_cast<std::uint32_t>(_mm_movemask_epi8(hits));
  }
};
using Native = Sse2;
#else
using Native = Swar;
#endif

}  // namespace byte_blocks

// Walks the positions of two byte values in a text, left to right, up to the
// text's end or its first NUL byte, whichever comes first.
template <typename Blocks = byte_blocks::Native>
class TwoByteScanner {
 public:
  // Neither `a` nor `b` may be NUL.
  TwoByteScanner(const char* begin, const char* end, char a, char b)
      : end_(end), a_(Blocks::Repeated(a)), b_(Blocks::Repeated(b)), block_(begin), next_(begin) {}

  // The next position holding either byte, or End().
  const char* Next() {
    while (pending_ == 0) {
      const std::ptrdiff_t left = end_ - next_;
      if (left <= 0) return end_;
      block_ = next_;
      std::uint64_t nuls = 0;
      if (left >= Blocks::kBlock) {
        pending_ = Blocks::Hits(block_, a_, b_, nuls);
        next_ += Blocks::kBlock;
      } else {
        pending_ = ShortHits(block_, left, a_, b_, nuls);
        next_ = end_;
      }
      if (nuls != 0) {
        // The text ends at its first NUL: hits beyond it do not count.
        pending_ &= (nuls & (0 - nuls)) - 1;
        end_ = block_ + std::countr_zero(nuls) / Blocks::kBitsPerByte;
        next_ = end_;
      }
    }
    const int bit = std::countr_zero(pending_);
    pending_ &= pending_ - 1;
    return block_ + bit / Blocks::kBitsPerByte;
  }

  // Where the text ends: its end, or its first NUL once Next has reached it.
  const char* End() const { return end_; }

 private:
  using Pattern = typename Blocks::Pattern;

  // The hits of the last bytes, fewer than a block: copied into a block of
  // their own, the bytes past them neither hits nor NULs.
  [[gnu::noinline]] static std::uint64_t ShortHits(const char* p, std::ptrdiff_t n, Pattern a, Pattern b,
                                                    std::uint64_t& nuls) {
    char block[Blocks::kBlock] = {};
    std::memcpy(block, p, static_cast<std::size_t>(n));
    const std::uint64_t taken = (std::uint64_t{1} << (n * Blocks::kBitsPerByte)) - 1;
    const std::uint64_t hits = Blocks::Hits(block, a, b, nuls) & taken;
    nuls &= taken;
    return hits;
  }

  const char* end_;
  Pattern a_;
  Pattern b_;
  const char* block_;          // the block whose hits are pending
  const char* next_;           // the block after it
  std::uint64_t pending_ = 0;  // hits of that block not yet handed out
};

}  // namespace umbra
