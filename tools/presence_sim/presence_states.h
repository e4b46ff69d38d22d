#pragma once
// The simulated states: each number is online or offline for a stretch of
// time, and changes from stretch to stretch as a hash of the seed, the number
// and the stretch decides. The same seed gives the same history.

#include <cstdint>
#include <string>
#include <string_view>

namespace umbra::sim {

// The state code ("0" or "1") of `number` in the stretch `epoch`.
char StateCode(std::uint64_t seed, std::string_view number, std::uint64_t epoch);

// The reply body for a request target "/getonline?Type=1&n1:n2:...:":
// "online[0]=1;online[1]=0;..." with one entry per number. Returns false for
// any other target.
bool ReplyBody(std::string_view target, std::uint64_t seed, std::uint64_t epoch, std::string& body);

}  // namespace umbra::sim
