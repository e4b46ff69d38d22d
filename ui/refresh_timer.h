#pragma once
// The refresh timer ScanUpDate over a QTimer, keeping the timer rules every
// front end shares. GUI thread only.

#include <QObject>
#include <QTimer>
#include <cstdint>

#include "watch/timer_rules.h"

namespace umbra::ui {

class QtRefreshTimer final : public RuleKeepingTimer {
 public:
  // Disabled, interval 100 ms; the QTimer is a child of `owner` named
  // "ScanUpDate".
  explicit QtRefreshTimer(QObject& owner);

  // Emits timeout() at every tick.
  QTimer& Timer() { return *timer_; }

  // How often the running period has ended, by a stop or a new start. A
  // tick that fell due and waited is no longer due once the count moved on.
  unsigned Restarts() const { return restarts_; }

 private:
  void Rearm(std::optional<std::uint32_t> period) override;

  QTimer* timer_;
  unsigned restarts_ = 0;
};

}  // namespace umbra::ui
