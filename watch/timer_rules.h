#pragma once
// The refresh timer's rules, the same for every front end: setting a value
// the timer already holds changes nothing; setting a new one ends the running
// period and, while the timer is enabled with an interval above 0, starts a
// new one from this moment. An enabled timer with interval 0 never ticks.

#include <cstdint>
#include <optional>

#include "watch/watch_ports.h"

namespace umbra {

class RuleKeepingTimer : public RefreshTimer {
 public:
  void SetEnabled(bool enabled) final;
  void SetInterval(std::uint32_t milliseconds) final;

  bool Enabled() const { return enabled_; }
  std::uint32_t Interval() const { return interval_; }

 protected:
  // The running period ends; a new one of `period` milliseconds starts now,
  // or none when the timer must not tick.
  virtual void Rearm(std::optional<std::uint32_t> period) = 0;

 private:
  void Restart();

  bool enabled_ = false;
  std::uint32_t interval_ = 100;  // the timer's design-time interval
};

}  // namespace umbra
