#pragma once
// The refresh timer's period for a refresh time in seconds.

#include <cstdint>

namespace umbra {

// The longest period the refresh timer can serve (about 24.8 days): timers
// take a signed 32-bit count of milliseconds.
inline constexpr std::uint32_t kLongestRefreshPeriodMs = 2147483647u;

// 1000 × seconds, computed without overflow. 0 stays 0 (a single scan, no
// tick). A period the timer cannot serve, negative ones included, is held to
// the longest it can: a large refresh time must never wrap round to a short
// period and hammer the endpoint.
constexpr std::uint32_t RefreshPeriod(std::int32_t seconds) {
  if (seconds == 0) return 0;
  if (seconds < 0) return kLongestRefreshPeriodMs;
  const std::int64_t ms = static_cast<std::int64_t>(seconds) * 1000;
  return ms > kLongestRefreshPeriodMs ? kLongestRefreshPeriodMs : static_cast<std::uint32_t>(ms);
}

}  // namespace umbra
