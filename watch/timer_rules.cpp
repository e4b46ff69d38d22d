#include "watch/timer_rules.h"

namespace umbra {

void RuleKeepingTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Restart();
}

void RuleKeepingTimer::SetInterval(std::uint32_t milliseconds) {
  if (milliseconds == interval_) return;
  interval_ = milliseconds;
  Restart();
}

void RuleKeepingTimer::Restart() {
  if (enabled_ && interval_ != 0) {
    Rearm(interval_);
  } else {
    Rearm(std::nullopt);
  }
}

}  // namespace umbra
