#include "settings/profile_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace umbra::settings {
namespace {

// "配置参数" and "QQ号码" in GBK, the names the program looks up.
const std::string kSec = "\xC5\xE4\xD6\xC3\xB2\xCE\xCA\xFD";
const std::string kKey = "QQ\xBA\xC5\xC2\xEB";

struct ReadCase {
  std::string name;
  std::string file;
  std::optional<std::string> expected;  // nothing: the key counts as missing
  std::string section = kSec;
  std::string key = kKey;
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

class ProfileRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ProfileRead, FindsTheValueTheSystemWould) {
  const ReadCase& c = GetParam();
  EXPECT_EQ(FindProfileValue(c.file, c.section, c.key), c.expected);
  EXPECT_EQ(ReadProfileValue(c.file, c.section, c.key, "fallback"),
            c.expected.value_or("fallback"));
}

const std::string H = "[" + kSec + "]";

INSTANTIATE_TEST_SUITE_P(
    Spacing, ProfileRead,
    ::testing::Values(
        ReadCase{"Plain", H + "\r\n" + kKey + "=123,456\r\n", "123,456"},
        ReadCase{"BlanksEverywhere", "  [  " + kSec + "  ]  \r\n   " + kKey + "   =   123 , 456   \r\n",
                 "123 , 456"},
        ReadCase{"TabsAroundEquals", H + "\r\n\t" + kKey + "\t=\t7\t\r\n", "7"},
        ReadCase{"BlanksInsideNameCount", H + "\r\nmy  key = v\r\n", "v", kSec, "my  key"},
        ReadCase{"TextAfterClosingBracketIgnored", H + " junk\r\n" + kKey + "=v\r\n", "v"},
        ReadCase{"EqualsInValueKept", H + "\r\n" + kKey + "=a=b=\r\n", "a=b="}),
    [](const auto& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(
    Quotes, ProfileRead,
    ::testing::Values(
        ReadCase{"DoubleQuotesStripped", H + "\r\n" + kKey + "=\"  12 \"\r\n", "  12 "},
        ReadCase{"SingleQuotesStripped", H + "\r\n" + kKey + "='12'\r\n", "12"},
        ReadCase{"QuotesOutsideBlanksStripped", H + "\r\n" + kKey + "=  \"12\"  \r\n", "12"},
        ReadCase{"EmptyQuotes", H + "\r\n" + kKey + "=\"\"\r\n", ""},
        ReadCase{"MismatchedQuotesKept", H + "\r\n" + kKey + "=\"12'\r\n", "\"12'"},
        ReadCase{"LoneQuoteKept", H + "\r\n" + kKey + "=\"\r\n", "\""},
        ReadCase{"QuoteOnlyAtStartKept", H + "\r\n" + kKey + "=\"12\r\n", "\"12"},
        ReadCase{"InnerQuotesKept", H + "\r\n" + kKey + "=a\"b\"\r\n", "a\"b\""}),
    [](const auto& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(
    CommentsCaseDuplicates, ProfileRead,
    ::testing::Values(
        ReadCase{"CommentedKeyIsMissing", H + "\r\n;" + kKey + "=1\r\n", std::nullopt},
        ReadCase{"IndentedCommentIsMissing", H + "\r\n   ;" + kKey + "=1\r\n", std::nullopt},
        ReadCase{"CommentBeforeKey", H + "\r\n; " + kKey + "=1\r\n" + kKey + "=2\r\n", "2"},
        ReadCase{"CommentedSectionIsMissing", ";" + H + "\r\n" + kKey + "=1\r\n", std::nullopt},
        ReadCase{"HashIsNoComment", "[s]\r\n#k=1\r\n", "1", "s", "#k"},
        ReadCase{"SectionCaseIgnored", "[Config]\r\nkey=1\r\n", "1", "CONFIG", "key"},
        ReadCase{"KeyCaseIgnored", "[s]\r\nQq" + kKey.substr(2) + "=1\r\n", "1", "s", kKey},
        ReadCase{"FirstDuplicateKeyWins", H + "\r\n" + kKey + "=1\r\n" + kKey + "=2\r\n", "1"},
        ReadCase{"FirstDuplicateKeyWinsEvenWhenEmpty", H + "\r\n" + kKey + "=\r\n" + kKey + "=2\r\n",
                 ""},
        ReadCase{"FirstDuplicateSectionWins",
                 H + "\r\n" + kKey + "=1\r\n" + H + "\r\n" + kKey + "=2\r\n", "1"},
        ReadCase{"KeyOnlyInLaterDuplicateSection",
                 H + "\r\nother=1\r\n" + H + "\r\n" + kKey + "=2\r\n", std::nullopt}),
    [](const auto& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(
    LineEnds, ProfileRead,
    ::testing::Values(
        ReadCase{"LastLineWithoutLineEnd", H + "\r\n" + kKey + "=9", "9"},
        ReadCase{"LoneLf", "[a]\nx=1\n" + H + "\n" + kKey + "=2\nz=3\n", "2"},
        ReadCase{"LoneCr", "[a]\rx=1\r" + H + "\r" + kKey + "=2\rz=3\r", "2"},
        ReadCase{"MixedLineEnds", "[a]\r\n" + H + "\r" + kKey + "=2\n", "2"},
        ReadCase{"LfCrIsTwoLineEnds", H + "\n\r" + kKey + "=2\n\r", "2"},
        ReadCase{"CrNotPartOfValue", H + "\r\n" + kKey + "=2\r", "2"}),
    [](const auto& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(
    MissingPieces, ProfileRead,
    ::testing::Values(
        ReadCase{"EmptyFile", "", std::nullopt},
        ReadCase{"NoSection", kKey + "=1\r\n", std::nullopt},
        ReadCase{"OtherSectionOnly", "[other]\r\n" + kKey + "=1\r\n", std::nullopt},
        ReadCase{"KeyInNextSection", H + "\r\nx=1\r\n[other]\r\n" + kKey + "=1\r\n", std::nullopt},
        ReadCase{"KeyMissing", H + "\r\nx=1\r\n", std::nullopt},
        ReadCase{"EmptyValueIsPresent", H + "\r\n" + kKey + "=\r\n", ""},
        ReadCase{"BlankValueIsPresent", H + "\r\n" + kKey + "=   \r\n", ""},
        ReadCase{"KeyWithoutEqualsHasNoValue", H + "\r\n" + kKey + "\r\n", std::nullopt},
        ReadCase{"UnclosedSectionIsNoSection", "[" + kSec + "\r\n" + kKey + "=1\r\n", std::nullopt},
        ReadCase{"EmptySectionName", "[]\r\nk=1\r\n", "1", "", "k"}),
    [](const auto& info) { return info.param.name; });

// The second byte of a Chinese character can be "[", "]" or an ASCII letter:
// 礭 is B5 5D, 臶 is C5 5B, 丄 is 81 41 and 乤 is 81 61.
INSTANTIATE_TEST_SUITE_P(
    DoubleByteCharacters, ProfileRead,
    ::testing::Values(
        ReadCase{"SectionEndingInTrailBracket", "[\xB5\x5D]\r\nk=1\r\n", "1", "\xB5\x5D", "k"},
        ReadCase{"TrailBracketDoesNotCloseSection", "[a\xB5\x5D\r\nk=1\r\n", std::nullopt,
                 "a\xB5", "k"},
        ReadCase{"TrailBracketInsideSectionName", "[\xB5\x5D\xC5\x5B]\r\nk=1\r\n", "1",
                 "\xB5\x5D\xC5\x5B", "k"},
        ReadCase{"TrailBracketInsideKeyName", "[s]\r\n\xC5\x5B\xB5\x5D=1\r\n", "1", "s",
                 "\xC5\x5B\xB5\x5D"},
        ReadCase{"TrailLetterNotFoldedInSection", "[\x81\x41]\r\nk=1\r\n", std::nullopt,
                 "\x81\x61", "k"},
        ReadCase{"TrailLetterNotFoldedInKey", "[s]\r\n\x81\x41=1\r\n", std::nullopt, "s",
                 "\x81\x61"},
        ReadCase{"TrailLetterMatchesItself", "[\x81\x41]\r\n\x81\x61=1\r\n", "1", "\x81\x41",
                 "\x81\x61"}),
    [](const auto& info) { return info.param.name; });

// Bytes that are not valid GBK come back exactly as they are, and a lead byte
// without a proper second byte does not hide the "=" or "]" behind it.
INSTANTIATE_TEST_SUITE_P(
    NotValidGbk, ProfileRead,
    ::testing::Values(
        ReadCase{"InvalidBytesInValueKept", "[s]\r\nk=\xFF\x80\x81 \x81\r\n", "\xFF\x80\x81 \x81",
                 "s", "k"},
        ReadCase{"LoneLeadByteBeforeEquals", "[s]\r\nk\x81=v\r\n", "v", "s", "k\x81"},
        ReadCase{"LoneLeadByteBeforeBracket", "[s\x81\x20]\r\nk=v\r\n", "v", "s\x81", "k"},
        ReadCase{"NulByteInValueKept", std::string("[s]\r\nk=a\0b\r\n", 12), std::string("a\0b", 3),
                 "s", "k"}),
    [](const auto& info) { return info.param.name; });

TEST(ProfileReadLong, ValueIsReadWhole) {
  std::string numbers;
  while (numbers.size() < 5000) numbers += "1234567890,";
  EXPECT_EQ(FindProfileValue("[s]\r\nk=" + numbers + "\r\nx=1\r\n", "s", "k"), numbers);
}

}  // namespace
}  // namespace umbra::settings
