#include "settings/profile_text.h"

#include <gtest/gtest.h>

#include <string>

namespace umbra::settings {
namespace {

struct WriteCase {
  std::string name;
  std::string before;
  std::string section;
  std::string key;
  std::string value;
  std::string after;  // expected bytes, whole
};

void PrintTo(const WriteCase& c, std::ostream* os) { *os << c.name; }

class ProfileWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(ProfileWrite, ChangesOnlyTheKeysLine) {
  const WriteCase& c = GetParam();
  const std::string after = WithProfileValue(c.before, c.section, c.key, c.value);
  EXPECT_EQ(after, c.after);
  EXPECT_EQ(FindProfileValue(after, c.section, c.key), c.value) << "does not read back";
}

INSTANTIATE_TEST_SUITE_P(
    ValueReplacedInPlace, ProfileWrite,
    ::testing::Values(
        WriteCase{"Plain", "[s]\r\nk=old\r\nx=1\r\n", "s", "k", "new", "[s]\r\nk=new\r\nx=1\r\n"},
        WriteCase{"KeyAsWrittenIndentKept", "[s]\r\n  Key  =  old  \r\n", "s", "KEY", "new",
                  "[s]\r\n  Key=new\r\n"},
        WriteCase{"QuotedValueReplaced", "[s]\r\nk=\"old\"\r\n", "s", "k", "new", "[s]\r\nk=new\r\n"},
        WriteCase{"EmptyValueWritten", "[s]\r\nk=old\r\n", "s", "k", "", "[s]\r\nk=\r\n"},
        WriteCase{"BareKeyGetsValue", "[s]\r\nk\r\nx=1\r\n", "s", "k", "v", "[s]\r\nk=v\r\nx=1\r\n"},
        WriteCase{"FirstDuplicateOnly", "[s]\r\nk=1\r\nk=2\r\n", "s", "k", "3", "[s]\r\nk=3\r\nk=2\r\n"},
        WriteCase{"FirstDuplicateSectionOnly", "[s]\r\nk=1\r\n[S]\r\nk=2\r\n", "s", "k", "3",
                  "[s]\r\nk=3\r\n[S]\r\nk=2\r\n"},
        WriteCase{"LastLineWithoutLineEnd", "[s]\r\nk=old", "s", "k", "new", "[s]\r\nk=new"},
        WriteCase{"LoneCrLineEndKept", "[s]\rk=old\rx=1\r", "s", "k", "new", "[s]\rk=new\rx=1\r"},
        WriteCase{"LfLineEndKept", "[s]\nk=old\nx=1\n", "s", "k", "new", "[s]\nk=new\nx=1\n"}),
    [](const auto& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(
    KeyAddedToItsSection, ProfileWrite,
    ::testing::Values(
        WriteCase{"AfterLastKeyBeforeBlankAndComment",
                  "[s]\r\na=1\r\n\r\n; about t\r\n[t]\r\nk=2\r\n", "s", "k", "v",
                  "[s]\r\na=1\r\nk=v\r\n\r\n; about t\r\n[t]\r\nk=2\r\n"},
        WriteCase{"CommentBetweenKeysStays", "[s]\r\na=1\r\n; note\r\nb=2\r\n", "s", "k", "v",
                  "[s]\r\na=1\r\n; note\r\nb=2\r\nk=v\r\n"},
        WriteCase{"EmptySectionRightAfterHeader", "[s]\r\n[t]\r\n", "s", "k", "v",
                  "[s]\r\nk=v\r\n[t]\r\n"},
        WriteCase{"CommentedKeyIsNotTheKey", "[s]\r\n;k=1\r\n", "s", "k", "v",
                  "[s]\r\nk=v\r\n;k=1\r\n"},
        WriteCase{"SectionIsLastLineWithoutLineEnd", "[s]", "s", "k", "v", "[s]\r\nk=v"},
        WriteCase{"KeyIsLastLineWithoutLineEnd", "[s]\na=1", "s", "k", "v", "[s]\na=1\nk=v"},
        WriteCase{"LfFile", "[s]\na=1\n[t]\n", "s", "k", "v", "[s]\na=1\nk=v\n[t]\n"},
        WriteCase{"LoneCrFile", "[s]\ra=1\r", "s", "k", "v", "[s]\ra=1\rk=v\r"},
        WriteCase{"LineEndOfTheLineBefore", "[s]\r\na=1\n[t]\r\n", "s", "k", "v",
                  "[s]\r\na=1\nk=v\n[t]\r\n"},
        WriteCase{"SectionMatchedIgnoringCase", "[Sec]\r\n", "SEC", "k", "v", "[Sec]\r\nk=v\r\n"},
        // 丄 (81 41) and 乤 (81 61) differ only in an ASCII letter's case in
        // their second byte; they are different keys.
        WriteCase{"TrailLetterIsAnotherKey", "[s]\r\n\x81\x41=1\r\n", "s", "\x81\x61", "2",
                  "[s]\r\n\x81\x41=1\r\n\x81\x61=2\r\n"}),
    [](const auto& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(
    SectionAddedAtTheEnd, ProfileWrite,
    ::testing::Values(
        WriteCase{"NewFile", "", "s", "k", "v", "[s]\r\nk=v\r\n"},
        WriteCase{"CrLfFile", "[t]\r\na=1\r\n", "s", "k", "v", "[t]\r\na=1\r\n[s]\r\nk=v\r\n"},
        WriteCase{"LfFile", "[t]\na=1\n", "s", "k", "v", "[t]\na=1\n[s]\nk=v\n"},
        WriteCase{"LoneCrFile", "[t]\ra=1\r", "s", "k", "v", "[t]\ra=1\r[s]\rk=v\r"},
        WriteCase{"FileWithoutFinalLineEnd", "[t]\na=1", "s", "k", "v", "[t]\na=1\n[s]\nk=v\n"},
        WriteCase{"OneLineWithoutLineEnd", "; only", "s", "k", "v", "; only\r\n[s]\r\nk=v\r\n"},
        WriteCase{"BlankLinesAtEndKept", "[t]\r\n\r\n\r\n", "s", "k", "v",
                  "[t]\r\n\r\n\r\n[s]\r\nk=v\r\n"},
        WriteCase{"KeysBeforeAnySectionAreNotInIt", "k=1\r\n", "s", "k", "v",
                  "k=1\r\n[s]\r\nk=v\r\n"},
        WriteCase{"CommentedSectionIsNotTheSection", ";[s]\r\n", "s", "k", "v",
                  ";[s]\r\n[s]\r\nk=v\r\n"}),
    [](const auto& info) { return info.param.name; });

TEST(ProfileWriteKeepsTheRest, EveryOtherByteStays) {
  // A file a user has edited by hand: keys before any section, odd spacing,
  // comments, blank lines, mixed line ends, bytes that are not GBK.
  const std::string head =
      "top=1\r\n"
      "; hand-written notes \xFF\xFE\r\n"
      "\r\n"
      "  [ other ]  ; trailing\n"
      "a = \"quoted\"  \r"
      "\t\r\n"
      "[s]\r\n"
      "  x   =   \x81\x20 kept  \r\n";
  const std::string tail =
      "\r\n"
      ";k=commented\r\n"
      "[later]\r\n"
      "k=untouched";
  EXPECT_EQ(WithProfileValue(head + "k = old\r\n" + tail, "s", "k", "new"),
            head + "k=new\r\n" + tail);
  EXPECT_EQ(WithProfileValue(head + tail, "s", "k", "new"), head + "k=new\r\n" + tail);
}

TEST(ProfileWriteLong, LongValueWrittenWhole) {
  std::string numbers;
  while (numbers.size() < 5000) numbers += "1234567890,";
  const std::string after = WithProfileValue("[s]\r\nk=1\r\nx=2\r\n", "s", "k", numbers);
  EXPECT_EQ(after, "[s]\r\nk=" + numbers + "\r\nx=2\r\n");
  EXPECT_EQ(FindProfileValue(after, "s", "k"), numbers);
}

}  // namespace
}  // namespace umbra::settings
