#pragma once
// Times for other programs to read: ISO 8601 with the offset from UTC.

#include <string>

#include "base/local_time.h"

namespace umbra {

// "2026-12-11T03:41:30+08:00": the local date and time and its
// utcOffsetSeconds (never "Z", so the local time is plain to read).
std::string IsoDateTime(const LocalDateTime& at);

}  // namespace umbra
