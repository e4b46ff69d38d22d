#include "watch/iso_date_time.h"

#include <cstdio>
#include <cstdlib>

namespace umbra {

std::string IsoDateTime(const LocalDateTime& at) {
  const int offsetMinutes = std::abs(at.utcOffsetSeconds) / 60;
  char buffer[64];
  const int n = std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02dT%02d:%02d:%02d%c%02d:%02d", at.year,
                              at.month, at.day, at.hour, at.minute, at.second,
                              at.utcOffsetSeconds < 0 ? '-' : '+', offsetMinutes / 60, offsetMinutes % 60);
  return std::string(buffer, static_cast<std::size_t>(n));
}

}  // namespace umbra
