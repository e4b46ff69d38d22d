#pragma once
// The date-time text that starts every event-log and history line.

#include <string>

#include "watch/watch_ports.h"

namespace umbra {

// The short date of the current LC_TIME locale, a blank and the time with
// seconds, as GBK bytes; at exactly 00:00:00 the date alone. Under a Chinese
// locale and under the C locale the form is "2027/1/2 3:41:30".
std::string DateTimeText(const LocalDateTime& at);

// The machine's local clock.
class SystemClock final : public Clock {
 public:
  LocalDateTime Now() override;
};

}  // namespace umbra
