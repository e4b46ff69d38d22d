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

class DateTimeTextInCLocale : public ::testing::TestWithParam<TextCase> {};

TEST_P(DateTimeTextInCLocale, HasDateBlankAndTimeWithSeconds) {
  for (const char* name : {"C", "C.UTF-8", "POSIX"}) {
    TimeLocale c(name);
    ASSERT_TRUE(c.Available()) << name;
    EXPECT_EQ(DateTimeText(GetParam().at), GetParam().text) << name;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DateTimeTextInCLocale,
    ::testing::Values(TextCase{{2026, 12, 10, 20, 34, 5}, "2026/12/10 20:34:05"},
                      TextCase{{2027, 1, 2, 0, 0, 1}, "2027/01/02 00:00:01"},
                      TextCase{{2027, 1, 2, 23, 59, 59}, "2027/01/02 23:59:59"},
                      // At exactly midnight the blank and the time are left out.
                      TextCase{{2027, 1, 2, 0, 0, 0}, "2027/01/02"}));

TEST(DateTimeText, FollowsTheRegionalFormatAsGbk) {
  TimeLocale chinese("zh_CN.UTF-8");
  if (!chinese.Available()) GTEST_SKIP() << "zh_CN.UTF-8 is not generated on this machine";
  EXPECT_EQ(DateTimeText({2026, 12, 10, 20, 34, 5}), Utf8ToGbk("2026年12月10日 20时34分05秒"));
  EXPECT_EQ(DateTimeText({2026, 12, 10, 0, 0, 0}), Utf8ToGbk("2026年12月10日"));
}

}  // namespace
}  // namespace umbra
