#include "watch/byte_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace umbra {
namespace {

// Every position of a or b before the text's first NUL.
std::vector<std::size_t> Naively(const std::string& text, char a, char b) {
  std::vector<std::size_t> at;
  for (std::size_t i = 0; i < text.size() && text[i] != '\0'; ++i) {
    if (text[i] == a || text[i] == b) at.push_back(i);
  }
  return at;
}

template <typename Blocks>
std::vector<std::size_t> Scanned(const std::string& text, char a, char b) {
  std::vector<std::size_t> at;
  TwoByteScanner<Blocks> scanner(text.data(), text.data() + text.size(), a, b);
  for (const char* hit = scanner.Next(); hit != scanner.End(); hit = scanner.Next()) {
    at.push_back(static_cast<std::size_t>(hit - text.data()));
  }
  // The end is the first NUL, or the text's end.
  EXPECT_EQ(scanner.End(), text.data() + std::min(text.find('\0'), text.size()));
  return at;
}

template <typename Blocks>
class TwoByteScannerTest : public ::testing::Test {};

using BlockKinds = ::testing::Types<byte_blocks::Swar, byte_blocks::Native>;
TYPED_TEST_SUITE(TwoByteScannerTest, BlockKinds);

// Every length around the block sizes, hits at every place, bytes next to
// the searched ones (a byte above or below, 0x80, 0xFF) that must not count,
// high bytes searched for, and a NUL, rarely, anywhere.
TYPED_TEST(TwoByteScannerTest, FindsEveryHitAndNothingElse) {
  const std::string alphabet = ";=<:a\x80\xff\x81\xfe";
  const std::vector<std::pair<char, char>> searched = {{';', '='}, {'\x80', '\x81'}, {'\xff', 'a'}};
  std::mt19937 random(20261211);
  for (int round = 0; round < 3000; ++round) {
    std::string text(random() % 50, ' ');
    for (char& c : text) c = alphabet[random() % alphabet.size()];
    if (!text.empty() && random() % 4 == 0) text[random() % text.size()] = '\0';
    for (const auto& [a, b] : searched) {
      ASSERT_EQ(Scanned<TypeParam>(text, a, b), Naively(text, a, b)) << ::testing::PrintToString(text);
    }
  }
}

TYPED_TEST(TwoByteScannerTest, StaysAtTheEndOnceThere) {
  EXPECT_EQ(Scanned<TypeParam>("", ';', '='), std::vector<std::size_t>{});
  EXPECT_EQ(Scanned<TypeParam>(std::string(100, 'x'), ';', '='), std::vector<std::size_t>{});
  // The bytes past a short text's end are no hits and no NUL either.
  const std::string text = "a;";
  TwoByteScanner<TypeParam> scanner(text.data(), text.data() + 1, ';', 'a');
  EXPECT_EQ(scanner.Next(), text.data());
  for (int i = 0; i < 3; ++i) EXPECT_EQ(scanner.Next(), text.data() + 1);
  EXPECT_EQ(scanner.End(), text.data() + 1);
}

}  // namespace
}  // namespace umbra
