#include "tools/watch_console/console_timer.h"

namespace umbra::console {

void ConsoleTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Restart();
}

void ConsoleTimer::SetInterval(std::uint32_t milliseconds) {
  if (milliseconds == interval_) return;
  interval_ = milliseconds;
  Restart();
}

void ConsoleTimer::Restart() {
  if (enabled_ && interval_ != 0) {
    due_ = Clock::now() + std::chrono::milliseconds(interval_);
  } else {
    due_.reset();
  }
}

void ConsoleTimer::Ticked(Clock::time_point now) {
  if (!due_) return;
  const auto period = std::chrono::milliseconds(interval_);
  *due_ += period;
  if (*due_ <= now) *due_ = now + period;
}

}  // namespace umbra::console
