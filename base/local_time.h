#pragma once
// The local date and time of day, as the user's clock shows it.

namespace umbra {

struct LocalDateTime {
  int year = 0;
  int month = 0;   // 1..12
  int day = 0;     // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
  // How far local time is ahead of UTC at that moment, in seconds; only
  // records that name their offset (ISO 8601 times) use it.
  int utcOffsetSeconds = 0;
};

// Now, in the machine's local time zone.
LocalDateTime LocalNow();

}  // namespace umbra
