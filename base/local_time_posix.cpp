#include "base/local_time.h"

#include <ctime>

namespace umbra {

LocalDateTime LocalNow() {
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  return LocalDateTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour,
                       tm.tm_min,         tm.tm_sec,     static_cast<int>(tm.tm_gmtoff)};
}

}  // namespace umbra
