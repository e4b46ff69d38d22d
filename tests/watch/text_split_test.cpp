#include "watch/text_split.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

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
        // The run of lead bytes before a match reaches back over matches that
        // were skipped: 81 | 82 81 | ... with delimiter "82 81" never matches.
        SplitCase{"RunReachesBackOverSkippedMatches", "\x81\x82\x81\x82\x81x", "\x82\x81", {"\x81\x82\x81\x82\x81x"}},
        SplitCase{"ChineseTextAtComma", "\xc4\xe3\xba\xc3,\xca\xc0", ",", {"\xc4\xe3\xba\xc3", "\xca\xc0"}},
        SplitCase{"TextEndsAtNul", std::string("1,2\0,3", 6), ",", {"1", "2"}},
        SplitCase{"DelimiterEndsAtNul", "a=b", std::string("=\0x", 3), {"a", "b"}}),
    [](const auto& info) { return std::string(info.param.name); });

// The rule as the platform states it, byte by byte from the current position:
// a match is skipped when it stands directly behind an odd run of lead bytes.
PieceList SplitByTheRule(std::string_view text, std::string_view delimiter) {
  text = UpToNul(text);
  delimiter = UpToNul(delimiter);
  PieceList pieces;
  std::size_t current = 0;
  while (!delimiter.empty()) {
    std::size_t run = 0;
    std::size_t hit = std::string_view::npos;
    for (std::size_t pos = current; pos + delimiter.size() <= text.size(); ++pos) {
      if (run % 2 == 0 && text.substr(pos, delimiter.size()) == delimiter) {
        hit = pos;
        break;
      }
      run = IsLeadByte(static_cast<unsigned char>(text[pos])) ? run + 1 : 0;
    }
    if (hit == std::string_view::npos) break;
    pieces.emplace_back(text.substr(current, hit - current));
    current = hit + delimiter.size();
  }
  pieces.emplace_back(text.substr(current));
  return pieces;
}

// Texts made of lead bytes, bytes that are both lead and trail bytes, ASCII
// and delimiters, so that matches land on every kind of byte.
TEST(AnalyzeStrAgainstTheRule, AgreesOnMixedDoubleByteTexts) {
  const std::string alphabet = "\x81\x82\x7c|;a";
  const std::vector<std::string> delimiters = {"|", ";", "\x82", "\x82\x81", "|\x81", "\x7c|"};
  std::mt19937 random(20261210);
  for (int round = 0; round < 4000; ++round) {
    std::string text(random() % 24, ' ');
    for (char& c : text) c = alphabet[random() % alphabet.size()];
    const std::string& delimiter = delimiters[random() % delimiters.size()];
    ASSERT_EQ(AnalyzeStr(text, delimiter), SplitByTheRule(text, delimiter))
        << ::testing::PrintToString(text) << " at " << ::testing::PrintToString(delimiter);
  }
}

TEST(PieceCursor, HandsOutPiecesOnlyAsFarAsAsked) {
  const std::string text = "1=a;2=b;rest";
  PieceCursor cursor(text, ";");
  EXPECT_EQ(cursor.NextBeforeDelimiter(), std::optional<std::string_view>("1=a"));
  EXPECT_EQ(cursor.Rest(), "2=b;rest");
  EXPECT_EQ(cursor.NextBeforeDelimiter(), std::optional<std::string_view>("2=b"));
  EXPECT_EQ(cursor.NextBeforeDelimiter(), std::nullopt);
  EXPECT_EQ(cursor.Rest(), "rest");
  // The pieces are views into the text itself, not copies.
  PieceCursor again(text, ";");
  EXPECT_EQ(again.NextBeforeDelimiter()->data(), text.data());
}

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
