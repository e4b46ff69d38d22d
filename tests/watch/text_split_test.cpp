#include "watch/text_split.h"

#include <gtest/gtest.h>

#include <string>

namespace umbra {
namespace {

struct SplitCase {
  const char* name;
  std::string text;
  std::string delimiter;
  PieceList expected;
};
void PrintTo(const SplitCase& c, std::ostream* os) { *os << c.name; }

class AnalyzeStrTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(AnalyzeStrTest, CutsAsExpected) {
  const SplitCase& c = GetParam();
  EXPECT_EQ(AnalyzeStr(c.text, c.delimiter), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AnalyzeStrTest,
    ::testing::Values(
        SplitCase{"TrailingDelimiterGivesEmptyLastPiece", "a,b,", ",", {"a", "b", ""}},
        SplitCase{"EmptyTextGivesOneEmptyPiece", "", ",", {""}},
        SplitCase{"DelimitersAloneGiveEmptyPieces", ",,", ",", {"", "", ""}},
        SplitCase{"EmptyDelimiterGivesWholeText", "a,b", "", {"a,b"}},
        SplitCase{"EveryOccurrenceCuts", "k=1=2", "=", {"k", "1", "2"}},
        SplitCase{"MultiByteDelimiterDoesNotOverlap", "a:::b", "::", {"a", ":b"}},
        SplitCase{"NoDelimiterGivesWholeText", "123456", ",", {"123456"}},
        SplitCase{"BlanksAreKept", " 1, 2 ", ",", {" 1", " 2 "}},
        // 亅 is 81 7C in GBK: its second byte is "|" but is no match.
        SplitCase{"TrailByteIsNoMatch", "\x81\x7c|x", "|", {"\x81\x7c", "x"}},
        // Two double-byte characters whose second bytes look like "|".
        SplitCase{"RunOfDoubleByteCharacters", "\x81\x7c\x81\x7c|", "|", {"\x81\x7c\x81\x7c", ""}},
        // After a lead byte that is itself a trail byte (81 81), 7C is single.
        SplitCase{"LeadByteAsTrailByte", "\x81\x81|y", "|", {"\x81\x81", "y"}},
        // The run of lead bytes is counted from the current position: after a
        // cut, an odd run starts afresh.
        SplitCase{"RunRestartsAfterEachCut", "\x81|\x81\x7c|z", "|", {"\x81|\x81\x7c", "z"}},
        SplitCase{"ChineseTextAtComma", "\xc4\xe3\xba\xc3,\xca\xc0", ",", {"\xc4\xe3\xba\xc3", "\xca\xc0"}},
        SplitCase{"TextEndsAtNul", std::string("1,2\0,3", 6), ",", {"1", "2"}},
        SplitCase{"DelimiterEndsAtNul", "a=b", std::string("=\0x", 3), {"a", "b"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AnalyzeStrScale, LongReplyIsCutIntoEveryEntry) {
  std::string reply;
  for (int i = 0; i < 100000; ++i) reply += "online[" + std::to_string(i) + "]=1;";
  const PieceList pieces = AnalyzeStr(reply, ";");
  ASSERT_EQ(pieces.size(), 100001u);
  EXPECT_EQ(pieces[99999], "online[99999]=1");
  EXPECT_EQ(pieces.back(), "");
}

}  // namespace
}  // namespace umbra
