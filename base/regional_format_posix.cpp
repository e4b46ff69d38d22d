#include "base/regional_format.h"

#include <langinfo.h>
#include <locale.h>

#include <clocale>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "base/gbk.h"

namespace umbra {

namespace {

// The C locale in any character set ("C", "C.UTF-8", "POSIX") sets no
// regional format; its own "%m/%d/%y" would read wrongly to most users.
bool LocaleSetsNoFormat() {
  const char* name = std::setlocale(LC_TIME, nullptr);
  return name == nullptr || std::strcmp(name, "C") == 0 || std::strncmp(name, "C.", 2) == 0 ||
         std::strcmp(name, "POSIX") == 0;
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
// from the program's ctype locale; the program's texts are GBK.
std::string FromTimeLocaleCharset(const std::string& text) {
  const locale_t timeLocale = newlocale(LC_ALL_MASK, std::setlocale(LC_TIME, nullptr), locale_t{});
  if (timeLocale == locale_t{}) return text;
  const bool utf8 = std::strcmp(nl_langinfo_l(CODESET, timeLocale), "UTF-8") == 0;
  freelocale(timeLocale);
  return utf8 ? Utf8ToGbk(text) : text;
}

std::string Printed(const char* format, int a, int b, int c) {
  char buffer[64];
  const int n = std::snprintf(buffer, sizeof buffer, format, a, b, c);
  return std::string(buffer, static_cast<std::size_t>(n));
}

}  // namespace

std::string ShortDateText(const LocalDateTime& at) {
  if (LocaleSetsNoFormat()) return Printed("%04d/%02d/%02d", at.year, at.month, at.day);
  return FromTimeLocaleCharset(Format(nl_langinfo(D_FMT), ToTm(at)));
}

std::string LongTimeText(const LocalDateTime& at) {
  if (LocaleSetsNoFormat()) return Printed("%02d:%02d:%02d", at.hour, at.minute, at.second);
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
