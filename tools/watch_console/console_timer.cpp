#include "tools/watch_console/console_timer.h"

namespace umbra::console {

void ConsoleTimer::Rearm(std::optional<std::uint32_t> period) {
  if (period) {
    due_ = Clock::now() + std::chrono::milliseconds(*period);
  } else {
    due_.reset();
  }
}

void ConsoleTimer::Ticked(Clock::time_point now) {
  if (!due_) return;
  const auto period = std::chrono::milliseconds(Interval());
  *due_ += period;
  if (*due_ <= now) *due_ = now + period;
}

}  // namespace umbra::console
