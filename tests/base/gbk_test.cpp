#include "base/gbk.h"

#include <gtest/gtest.h>

namespace umbra {
namespace {

TEST(Gbk, RoundTripsTheProgramsTexts) {
  // "配置参数" and "QQ号码" with their GBK bytes as stored in Config.ini.
  EXPECT_EQ(Utf8ToGbk("配置参数"), "\xC5\xE4\xD6\xC3\xB2\xCE\xCA\xFD");
  EXPECT_EQ(Utf8ToGbk("QQ号码"), "QQ\xBA\xC5\xC2\xEB");
  EXPECT_EQ(GbkToUtf8("\xCB\xA2\xD0\xC2\xCA\xB1\xBC\xE4"), "刷新时间");
  EXPECT_EQ(GbkToUtf8("\x81\x7c"), "亅");
  EXPECT_EQ(GbkToUtf8(Utf8ToGbk("在线! €")), "在线! €");
}

TEST(Gbk, InvalidInputIsReplacedOrRefused) {
  EXPECT_EQ(GbkToUtf8("1\xFF" "2"), "1\xEF\xBF\xBD" "2");
  EXPECT_THROW(GbkToUtf8("1\xFF", OnInvalid::Throw), EncodingError);
  // A character GBK cannot hold becomes one "?", however many bytes it has.
  EXPECT_EQ(Utf8ToGbk("a\xF0\x9F\x98\x80" "b"), "a?b");
  EXPECT_EQ(Utf8ToGbk("a\xC3" "b"), "a?b");
  EXPECT_THROW(Utf8ToGbk("\xF0\x9F\x98\x80", OnInvalid::Throw), EncodingError);
}

struct CharsetCase {
  const char* name;
  const char* charset;
  std::string text;
  std::string gbk;
};
void PrintTo(const CharsetCase& c, std::ostream* os) { *os << c.name; }

class CharsetToGbkTest : public ::testing::TestWithParam<CharsetCase> {};

TEST_P(CharsetToGbkTest, ConvertsOrMarksWhatGbkLacks) {
  EXPECT_EQ(CharsetToGbk(GetParam().text, GetParam().charset), GetParam().gbk);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CharsetToGbkTest,
    ::testing::Values(CharsetCase{"Ascii", "ANSI_X3.4-1968", "No such file", "No such file"},
                      CharsetCase{"Utf8", "UTF-8", "权限不够", "\xC8\xA8\xCF\xDE\xB2\xBB\xB9\xBB"},
                      CharsetCase{"Utf8NotInGbk", "UTF-8", "a\xF0\x9F\x98\x80" "b", "a?b"},
                      CharsetCase{"BrokenUtf8", "UTF-8", "a\xE6\x9D" "b", "a?b"},
                      CharsetCase{"Latin1", "ISO-8859-1", "caf\xE9", "caf\xA8\xA6"},
                      CharsetCase{"GbkStaysAsItIs", "GBK", "\xC8\xA8\xCF\xDE", "\xC8\xA8\xCF\xDE"},
                      CharsetCase{"Gb18030BeyondGbk", "GB18030", "a\x81\x30\x81\x30" "b", "a?b"},
                      CharsetCase{"UnknownCharsetKeepsAscii", "NO-SUCH-CHARSET", "text\xFF", "text?"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Gbk, NulBytesPassThrough) {
  const std::string withNul("a\0b", 3);
  EXPECT_EQ(GbkToUtf8(withNul), withNul);
}

}  // namespace
}  // namespace umbra
