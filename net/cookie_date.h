#pragma once
// The date in a cookie's Expires attribute. Servers write it in many shapes
// ("Wed, 09 Jun 2021 10:18:14 GMT", "Wednesday, 09-Jun-21 10:18:14 GMT",
// "Wed Jun  9 10:18:14 2021"), so it is read by picking out its parts.

#include <chrono>
#include <optional>
#include <string_view>

namespace umbra::net {

// The moment named, taken as UTC. Seconds, because cookies name years far
// beyond the range of a nanosecond clock. Nothing when the text names no
// valid date and time of day.
std::optional<std::chrono::sys_seconds> ParseCookieDate(std::string_view text);

}  // namespace umbra::net
