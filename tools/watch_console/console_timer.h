#pragma once
// The refresh timer for the console: it keeps the next tick's due time, and
// the main loop sleeps until then.

#include <chrono>
#include <cstdint>
#include <optional>

#include "watch/watch_ports.h"

namespace umbra::console {

class ConsoleTimer final : public RefreshTimer {
 public:
  using Clock = std::chrono::steady_clock;

  void SetEnabled(bool enabled) override;
  void SetInterval(std::uint32_t milliseconds) override;

  // When the next tick falls due; nothing when the timer cannot tick.
  std::optional<Clock::time_point> NextTick() const { return due_; }
  // Called when a tick has been served: the next one comes one period after
  // the one that fell due, or one period from now when the scan overran, so
  // ticks never pile up.
  void Ticked(Clock::time_point now);

 private:
  void Restart();

  bool enabled_ = false;
  std::uint32_t interval_ = 100;
  std::optional<Clock::time_point> due_;
};

}  // namespace umbra::console
