#include "watch/date_time_parse.h"

#include <array>

namespace umbra {

namespace {

// The GBK bytes of the Chinese date and time units.
constexpr std::string_view kYear = "\xC4\xEA";    // 年
constexpr std::string_view kMonth = "\xD4\xC2";   // 月
constexpr std::string_view kDay = "\xC8\xD5";     // 日
constexpr std::string_view kHour = "\xCA\xB1";    // 时
constexpr std::string_view kMinute = "\xB7\xD6";  // 分
constexpr std::string_view kSecond = "\xC3\xEB";  // 秒

// The separators after each field of one written form; the last one of the
// date and of the time may be empty.
struct Form {
  std::array<std::string_view, 3> date;
  std::array<std::string_view, 3> time;
};

constexpr std::array<Form, 3> kForms{{
    {{"/", "/", ""}, {":", ":", ""}},
    {{"-", "-", ""}, {":", ":", ""}},
    {{kYear, kMonth, kDay}, {kHour, kMinute, kSecond}},
}};

class Cursor {
 public:
  explicit Cursor(std::string_view text) : rest_(text) {}

  // Digits, between `least` and `most` of them.
  bool Number(int least, int most, int& value) {
    int count = 0;
    value = 0;
    while (count < most && count < static_cast<int>(rest_.size()) && rest_[count] >= '0' &&
           rest_[count] <= '9') {
      value = value * 10 + (rest_[count] - '0');
      ++count;
    }
    if (count < least) return false;
    rest_.remove_prefix(static_cast<std::size_t>(count));
    return true;
  }

  bool Literal(std::string_view literal) {
    if (!rest_.starts_with(literal)) return false;
    rest_.remove_prefix(literal.size());
    return true;
  }

  bool AtEnd() const { return rest_.empty(); }

 private:
  std::string_view rest_;
};

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr std::array<int, 12> kDays{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[static_cast<std::size_t>(month - 1)];
}

bool Exists(const LocalDateTime& at) {
  return at.month >= 1 && at.month <= 12 && at.day >= 1 && at.day <= DaysInMonth(at.year, at.month) &&
         at.hour <= 23 && at.minute <= 59 && at.second <= 59;
}

std::optional<LocalDateTime> ParseForm(std::string_view text, const Form& form) {
  Cursor cursor(text);
  LocalDateTime at;
  if (!cursor.Number(4, 4, at.year) || !cursor.Literal(form.date[0]) ||
      !cursor.Number(1, 2, at.month) || !cursor.Literal(form.date[1]) ||
      !cursor.Number(1, 2, at.day) || !cursor.Literal(form.date[2])) {
    return std::nullopt;
  }
  if (!cursor.AtEnd()) {
    if (!cursor.Literal(" ") || !cursor.Number(1, 2, at.hour) || !cursor.Literal(form.time[0]) ||
        !cursor.Number(2, 2, at.minute) || !cursor.Literal(form.time[1]) ||
        !cursor.Number(2, 2, at.second) || !cursor.Literal(form.time[2]) || !cursor.AtEnd()) {
      return std::nullopt;
    }
  }
  if (!Exists(at)) return std::nullopt;
  return at;
}

}  // namespace

std::optional<LocalDateTime> ParseDateTimeText(std::string_view gbk) {
  for (const Form& form : kForms) {
    if (auto at = ParseForm(gbk, form)) return at;
  }
  return std::nullopt;
}

}  // namespace umbra
