#pragma once
// Finding two bytes in a long text eight bytes at a time. A presence reply is
// a long row of short entries ("online[7]=1;"): a call of memchr per entry
// costs more than the search itself, so the reply is read here word by word
// with plain integer arithmetic, each word yielding every hit it holds.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace umbra {

// Walks the positions of two byte values in a text, left to right.
class TwoByteScanner {
 public:
  TwoByteScanner(const char* begin, const char* end, char a, char b)
      : end_(end), a_(Repeated(a)), b_(Repeated(b)), byteA_(a), byteB_(b), block_(begin), next_(begin) {}

  // The next position holding either byte, or end.
  const char* Next() {
    while (pending_ == 0) {
      const std::ptrdiff_t left = end_ - next_;
      if (left <= 0) return end_;
      block_ = next_;
      next_ += left >= 8 ? 8 : left;
      pending_ = left >= 8 ? WordHits(block_) : TailHits(block_, left);
    }
    const int bit = std::countr_zero(pending_);
    pending_ &= pending_ - 1;
    return block_ + bit / 8;
  }

 private:
  static constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;

  static constexpr std::uint64_t Repeated(char c) { return 0x0101010101010101ull * static_cast<unsigned char>(c); }

  // The high bit of every byte of `word` that equals the byte repeated in
  // `pattern`, and no other bit: exact, with no false hits after a match.
  static constexpr std::uint64_t EqualBytes(std::uint64_t word, std::uint64_t pattern) {
    const std::uint64_t x = word ^ pattern;
    return ~(((x & kLow7) + kLow7) | x | kLow7);
  }

  std::uint64_t WordHits(const char* p) const {
    if constexpr (std::endian::native == std::endian::little) {
      std::uint64_t word;
      std::memcpy(&word, p, sizeof word);
      return EqualBytes(word, a_) | EqualBytes(word, b_);
    } else {
      return TailHits(p, 8);
    }
  }

  // The same bit for byte i as WordHits gives on a little-endian machine.
  std::uint64_t TailHits(const char* p, std::ptrdiff_t n) const {
    std::uint64_t hits = 0;
    for (std::ptrdiff_t i = 0; i < n; ++i) {
      if (p[i] == byteA_ || p[i] == byteB_) hits |= 0x80ull << (8 * i);
    }
    return hits;
  }

  const char* end_;
  std::uint64_t a_;
  std::uint64_t b_;
  char byteA_;
  char byteB_;
  const char* block_;         // the block whose hits are pending
  const char* next_;          // the block after it
  std::uint64_t pending_ = 0;  // hits of that block not yet handed out
};

}  // namespace umbra
