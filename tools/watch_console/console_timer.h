#pragma once
// The refresh timer for the console: it keeps the next tick's due time, and
// the main loop sleeps until then.

#include <chrono>
#include <cstdint>
#include <optional>

#include "watch/timer_rules.h"

namespace umbra::console {

class ConsoleTimer final : public RuleKeepingTimer {
 public:
  using Clock = std::chrono::steady_clock;

  // When the next tick falls due; nothing when the timer cannot tick.
  std::optional<Clock::time_point> NextTick() const { return due_; }
  // Called when a tick has been served: the next one comes one period after
  // the one that fell due, or one period from now when the scan overran, so
  // ticks never pile up.
  void Ticked(Clock::time_point now);

 private:
  void Rearm(std::optional<std::uint32_t> period) override;

  std::optional<Clock::time_point> due_;
};

}  // namespace umbra::console
