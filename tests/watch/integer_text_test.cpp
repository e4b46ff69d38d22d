#include "watch/integer_text.h"

#include <gtest/gtest.h>

#include <string>

namespace umbra {
namespace {

struct Accepted {
  std::string text;
  std::int32_t value;
};
void PrintTo(const Accepted& c, std::ostream* os) { *os << "\"" << c.text << "\""; }

class IsNumberAccepts : public ::testing::TestWithParam<Accepted> {};

TEST_P(IsNumberAccepts, AndConvertsToValue) {
  const Accepted& c = GetParam();
  EXPECT_TRUE(IsNumber(c.text)) << c.text;
  EXPECT_EQ(StrToInt(c.text), c.value) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IsNumberAccepts,
    ::testing::Values(Accepted{"30", 30}, Accepted{"   30", 30}, Accepted{"+30", 30},
                      Accepted{"-5", -5}, Accepted{"0", 0}, Accepted{"-0", 0},
                      Accepted{"007", 7}, Accepted{"$1E", 30}, Accepted{"x1E", 30},
                      Accepted{"X1e", 30}, Accepted{"0x1e", 30}, Accepted{"0X1E", 30},
                      Accepted{"-$1E", -30}, Accepted{"+$1E", 30},
                      Accepted{"2147483647", 2147483647},
                      Accepted{"-2147483648", -2147483647 - 1}, Accepted{"$FFFFFFFF", -1},
                      Accepted{"$80000000", -2147483647 - 1}, Accepted{"-$FFFFFFFF", 1},
                      Accepted{"$000000001", 1}, Accepted{"0000000000000030", 30},
                      Accepted{std::string("15\0junk", 7), 15}));

class IsNumberRejects : public ::testing::TestWithParam<std::string> {};

TEST_P(IsNumberRejects, AndConversionNamesTheText) {
  const std::string& text = GetParam();
  EXPECT_FALSE(IsNumber(text)) << text;
  try {
    StrToInt(text);
    FAIL() << "converted " << text;
  } catch (const ConvertError& e) {
    EXPECT_EQ(std::string(e.what()), "'" + text + "' is not a valid integer value");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IsNumberRejects,
    ::testing::Values("", " ", "30 ", "\t30", "3.5", "1e3", "+-5", "-", "+", "$", "0x", "x",
                      "$100000000", "2147483648", "-2147483649", "99999999999999999999",
                      "\xef\xbc\x93\xef\xbc\x90" /* full-width 30 in UTF-8 */,
                      "\xa3\xb3\xa3\xb0" /* full-width 30 in GBK */, "abc", "- 5", "$G",
                      "0x1G", "30abc"));

}  // namespace
}  // namespace umbra
