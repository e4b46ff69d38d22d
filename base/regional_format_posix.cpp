#include "base/regional_format.h"

#include <langinfo.h>
#include <locale.h>

#include <clocale>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include "base/gbk.h"

namespace umbra {

namespace {

bool StartsWith(const char* text, const char* prefix) { return std::strncmp(text, prefix, std::strlen(prefix)) == 0; }

// Under a Chinese locale, and under the C locale, which sets no regional
// format of its own, dates and times take the short date and long time that
// the program's users know from their own systems: "2026/12/11 3:41:30".
// glibc's Chinese formats ("2026年12月11日 03时41分30秒") are not those, and the
// C locale's "%m/%d/%y" reads wrongly to them. Every other locale keeps its
// own numeric formats.
bool UsesTheProgramsOwnFormat() {
  const char* name = std::setlocale(LC_TIME, nullptr);
  if (name == nullptr) return true;
  return std::strcmp(name, "C") == 0 || StartsWith(name, "C.") || std::strcmp(name, "POSIX") == 0 ||
         std::strcmp(name, "zh") == 0 || StartsWith(name, "zh_") || StartsWith(name, "zh.") ||
         StartsWith(name, "zh@");
}

std::tm ToTm(const LocalDateTime& at) {
  std::tm tm{};
  tm.tm_year = at.year - 1900;
  tm.tm_mon = at.month - 1;
  tm.tm_mday = at.day;
  tm.tm_hour = at.hour;
  tm.tm_min = at.minute;
  tm.tm_sec = at.second;
  tm.tm_isdst = -1;
  // Fills in the weekday for formats that name it.
  std::tm copy = tm;
  if (std::mktime(&copy) != static_cast<std::time_t>(-1)) {
    tm.tm_wday = copy.tm_wday;
    tm.tm_yday = copy.tm_yday;
  }
  return tm;
}

std::string Format(const char* format, const std::tm& tm) {
  char buffer[256];
  const std::size_t n = std::strftime(buffer, sizeof buffer, format, &tm);
  return std::string(buffer, n);
}

// strftime writes in the character set of the time locale, which may differ
// from the program's ctype locale; the program's texts are GBK. Whether that
// character set is UTF-8 is looked up once per time locale, not per line.
std::string FromTimeLocaleCharset(const std::string& text) {
  thread_local std::string checkedLocale;
  thread_local bool utf8 = false;
  const char* name = std::setlocale(LC_TIME, nullptr);
  if (name == nullptr) return text;
  if (checkedLocale != name) {
    const locale_t timeLocale = newlocale(LC_ALL_MASK, name, locale_t{});
    if (timeLocale == locale_t{}) return text;
    utf8 = std::strcmp(nl_langinfo_l(CODESET, timeLocale), "UTF-8") == 0;
    freelocale(timeLocale);
    checkedLocale = name;
  }
  return utf8 ? Utf8ToGbk(text) : text;
}

std::string Printed(const char* format, int a, int b, int c) {
  char buffer[64];
  const int n = std::snprintf(buffer, sizeof buffer, format, a, b, c);
  return std::string(buffer, static_cast<std::size_t>(n));
}

}  // namespace

// "2026/1/2": month and day without leading zeros.
std::string ShortDateText(const LocalDateTime& at) {
  if (UsesTheProgramsOwnFormat()) return Printed("%04d/%d/%d", at.year, at.month, at.day);
  return FromTimeLocaleCharset(Format(nl_langinfo(D_FMT), ToTm(at)));
}

// "3:41:30": the hour without a leading zero, minutes and seconds with two
// digits.
std::string LongTimeText(const LocalDateTime& at) {
  if (UsesTheProgramsOwnFormat()) return Printed("%d:%02d:%02d", at.hour, at.minute, at.second);
  return FromTimeLocaleCharset(Format(nl_langinfo(T_FMT), ToTm(at)));
}

std::string SystemErrorText(int error) {
  // The text comes in the character set of the locale it is worded in:
  // the thread's own locale, else the program's. Both are read from one copy
  // of that locale, so the text and the name of its character set agree.
  const locale_t current = uselocale(locale_t{});
  const locale_t copy = duplocale(current);
  if (copy == locale_t{}) return CharsetToGbk(std::strerror(error), nl_langinfo(CODESET));
  const std::string text = strerror_l(error, copy);
  const std::string charset = nl_langinfo_l(CODESET, copy);
  freelocale(copy);
  return CharsetToGbk(text, charset.c_str());
}

}  // namespace umbra
