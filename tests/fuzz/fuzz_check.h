#pragma once
// What the fuzz targets share: a broken property stops the run the way a
// crash does, so libFuzzer keeps the input that broke it, and the texts it
// prints show every byte.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace umbra::fuzz {

// `text` with every byte outside printable ASCII written as \xHH.
inline std::string Shown(std::string_view text) {
  std::string shown = "\"";
  for (const char c : text) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 0x20 && b < 0x7F && c != '"' && c != '\\') {
      shown += c;
    } else {
      char escaped[5];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", b);
      shown += escaped;
    }
  }
  return shown + "\"";
}

[[noreturn]] inline void Broken(const char* property, const char* file, int line, const std::string& detail = {}) {
  std::fprintf(stderr, "%s:%d: property broken: %s\n%s%s", file, line, property, detail.c_str(),
               detail.empty() ? "" : "\n");
  std::abort();
}

// A small deterministic generator, so that the cuts a target makes in its
// input are the same every time the input is run again.
class SplitMix64 {
 public:
  explicit SplitMix64(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // A number from 1 to `most`.
  std::size_t Between1And(std::size_t most) { return 1 + static_cast<std::size_t>(Next() % most); }

 private:
  std::uint64_t state_;
};

inline std::uint64_t HashOf(std::string_view bytes) {
  std::uint64_t hash = 0xCBF29CE484222325ull;  // FNV-1a
  for (const char c : bytes) hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001B3ull;
  return hash;
}

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

}  // namespace umbra::fuzz

#define FUZZ_CHECK(condition)                                                   \
  do {                                                                          \
    if (!(condition)) ::umbra::fuzz::Broken(#condition, __FILE__, __LINE__);    \
  } while (0)

// For texts: prints both sides, every byte visible.
#define FUZZ_CHECK_TEXT_EQ(actual, expected)                                                       \
  do {                                                                                             \
    const std::string fuzzActual_(actual);                                                         \
    const std::string fuzzExpected_(expected);                                                     \
    if (fuzzActual_ != fuzzExpected_) {                                                            \
      ::umbra::fuzz::Broken(#actual " == " #expected, __FILE__, __LINE__,                          \
                            "  actual:   " + ::umbra::fuzz::Shown(fuzzActual_) +                   \
                                "\n  expected: " + ::umbra::fuzz::Shown(fuzzExpected_));           \
    }                                                                                              \
  } while (0)
