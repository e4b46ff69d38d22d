#include "base/local_epoch.h"

#include <ctime>

namespace umbra {

long long LocalToEpochSeconds(const LocalDateTime& local) {
  std::tm tm{};
  tm.tm_year = local.year - 1900;
  tm.tm_mon = local.month - 1;
  tm.tm_mday = local.day;
  tm.tm_hour = local.hour;
  tm.tm_min = local.minute;
  tm.tm_sec = local.second;
  tm.tm_isdst = -1;  // the zone's rules say whether summer time applies
  return static_cast<long long>(std::mktime(&tm));
}

LocalDateTime LocalAtEpochSeconds(long long epochSeconds) {
  const auto at = static_cast<std::time_t>(epochSeconds);
  std::tm tm{};
  localtime_r(&at, &tm);
  return LocalDateTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour,
                       tm.tm_min,         tm.tm_sec,     static_cast<int>(tm.tm_gmtoff)};
}

}  // namespace umbra
