#include "watch/date_time_text.h"

#include <langinfo.h>
#include <locale.h>

#include <clocale>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "watch/gbk.h"

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

}  // namespace

std::string DateTimeText(const LocalDateTime& at) {
  const bool midnight = at.hour == 0 && at.minute == 0 && at.second == 0;
  if (LocaleSetsNoFormat()) {
    char buffer[64];
    const int n = midnight
        ? std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d", at.year, at.month, at.day)
        : std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d %02d:%02d:%02d", at.year, at.month,
                        at.day, at.hour, at.minute, at.second);
    return std::string(buffer, static_cast<std::size_t>(n));
  }
  const std::tm tm = ToTm(at);
  std::string text = Format(nl_langinfo(D_FMT), tm);
  if (!midnight) text += " " + Format(nl_langinfo(T_FMT), tm);
  return FromTimeLocaleCharset(text);
}

LocalDateTime SystemClock::Now() {
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  return LocalDateTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

}  // namespace umbra
