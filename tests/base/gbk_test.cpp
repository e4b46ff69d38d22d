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

TEST(Gbk, NulBytesPassThrough) {
  const std::string withNul("a\0b", 3);
  EXPECT_EQ(GbkToUtf8(withNul), withNul);
}

}  // namespace
}  // namespace umbra
