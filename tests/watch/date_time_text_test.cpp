#include "watch/date_time_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "base/gbk.h"

namespace umbra {
namespace {

// Restores the time locale a test changed.
class TimeLocale {
 public:
  explicit TimeLocale(const char* name) : saved_(std::setlocale(LC_TIME, nullptr)) {
    available_ = std::setlocale(LC_TIME, name) != nullptr;
  }
  ~TimeLocale() { std::setlocale(LC_TIME, saved_.c_str()); }
  bool Available() const { return available_; }

 private:
  std::string saved_;
  bool available_ = false;
};

struct TextCase {
  LocalDateTime at;
  std::string text;
};
void PrintTo(const TextCase& c, std::ostream* os) { *os << c.text; }

// Under the C locale and the Chinese ones: the year, the month and the day
// without leading zeros, the hour without one, minutes and seconds with two
// digits.
class DateTimeTextInTheProgramsOwnForm : public ::testing::TestWithParam<TextCase> {};

TEST_P(DateTimeTextInTheProgramsOwnForm, UnderTheCLocale) {
  for (const char* name : {"C", "C.UTF-8", "POSIX"}) {
    TimeLocale c(name);
    ASSERT_TRUE(c.Available()) << name;
    EXPECT_EQ(DateTimeText(GetParam().at), GetParam().text) << name;
  }
}

TEST_P(DateTimeTextInTheProgramsOwnForm, UnderTheChineseLocale) {
  TimeLocale chinese("zh_CN.UTF-8");
  if (!chinese.Available()) GTEST_SKIP() << "zh_CN.UTF-8 is not generated on this machine";
  EXPECT_EQ(DateTimeText(GetParam().at), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DateTimeTextInTheProgramsOwnForm,
    ::testing::Values(TextCase{{2026, 12, 10, 20, 34, 5}, "2026/12/10 20:34:05"},
                      TextCase{{2026, 12, 11, 3, 41, 30}, "2026/12/11 3:41:30"},
                      TextCase{{2027, 1, 2, 0, 0, 1}, "2027/1/2 0:00:01"},
                      TextCase{{2027, 1, 2, 23, 59, 59}, "2027/1/2 23:59:59"},
                      TextCase{{2027, 10, 9, 9, 5, 0}, "2027/10/9 9:05:00"},
                      // At exactly midnight the blank and the time are left out.
                      TextCase{{2027, 1, 2, 0, 0, 0}, "2027/1/2"}));

// Any other locale keeps its own numeric date and time, in GBK.
TEST(DateTimeText, OtherLocalesKeepTheirOwnFormats) {
  TimeLocale english("en_US.UTF-8");
  if (!english.Available()) GTEST_SKIP() << "en_US.UTF-8 is not generated on this machine";
  EXPECT_EQ(DateTimeText({2026, 12, 10, 20, 34, 5}), "12/10/2026 08:34:05 PM");
  EXPECT_EQ(DateTimeText({2026, 12, 10, 0, 0, 0}), "12/10/2026");
}

}  // namespace
}  // namespace umbra
