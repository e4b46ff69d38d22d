#pragma once
// Between local dates and times of the machine's time zone and moments
// (seconds since the epoch), for arithmetic over texts that name no offset.

#include "base/local_time.h"

namespace umbra {

// The moment a local date and time of the machine's time zone names; its
// utcOffsetSeconds is not consulted. Fields out of range roll over, so 25:00
// is 01:00 of the next day. An hour that summer time skips or repeats is
// resolved the way the system's calendar resolves it.
long long LocalToEpochSeconds(const LocalDateTime& local);

// The local date and time at that moment, with its offset from UTC.
LocalDateTime LocalAtEpochSeconds(long long epochSeconds);

}  // namespace umbra
