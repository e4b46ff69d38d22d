#pragma once
// The date-time text that starts every event-log and history line.

#include <string>

#include "watch/watch_ports.h"

namespace umbra {

// The short date of the current LC_TIME locale, a blank and the time with
// seconds, as GBK bytes; at exactly 00:00:00 the date alone. In the C locale,
// which sets no regional format, the form is "2026/12/10 20:34:05".
std::string DateTimeText(const LocalDateTime& at);

// The machine's local clock.
class SystemClock final : public Clock {
 public:
  LocalDateTime Now() override;
};

}  // namespace umbra
