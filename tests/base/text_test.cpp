#include "base/text.h"

#include <gtest/gtest.h>

#include <string>

namespace umbra {
namespace {

TEST(UpToNul, EndsAtTheFirstNulByte) {
  EXPECT_EQ(UpToNul(std::string("ab\0cd", 5)), "ab");
  EXPECT_EQ(UpToNul("abc"), "abc");
  EXPECT_EQ(UpToNul(std::string("\0", 1)), "");
}

TEST(CaseFolding, FoldsAsciiLettersOnly) {
  EXPECT_TRUE(EqualsIgnoringCase("Set-Cookie", "set-cookie"));
  EXPECT_FALSE(EqualsIgnoringCase("Set-Cookie", "Set-Cookie2"));
  // 0xC1 and 0xE1 differ by 0x20 like 'A' and 'a', but are no ASCII letters.
  EXPECT_FALSE(EqualsIgnoringCase("\xC1", "\xE1"));
  EXPECT_EQ(LowerAscii("GBK\xC1Z"), "gbk\xC1z");
  EXPECT_TRUE(ContainsIgnoringCase("gzip, Chunked", "chunked"));
  EXPECT_FALSE(ContainsIgnoringCase("chunk", "chunked"));
}

TEST(TrimBlanks, TakesBlanksAndTabsFromBothEnds) {
  EXPECT_EQ(TrimBlanks(" \t a b \t"), "a b");
  EXPECT_EQ(TrimBlanks("\r\n"), "\r\n");
  EXPECT_EQ(TrimBlanks("   "), "");
}

}  // namespace
}  // namespace umbra
