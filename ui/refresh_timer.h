#pragma once
// The refresh timer ScanUpDate over a QTimer, with the timer component's
// rules: a value it already holds changes nothing, a new value restarts the
// period from this moment while enabled, and an enabled timer with interval 0
// never ticks.

#include <QObject>
#include <QTimer>
#include <cstdint>

#include "watch/watch_ports.h"

namespace umbra::ui {

class QtRefreshTimer final : public RefreshTimer {
 public:
  // Disabled, interval 100 ms; the QTimer is a child of `owner` named
  // "ScanUpDate".
  explicit QtRefreshTimer(QObject& owner);

  void SetEnabled(bool enabled) override;
  void SetInterval(std::uint32_t milliseconds) override;

  bool Enabled() const { return enabled_; }
  std::uint32_t Interval() const { return interval_; }
  // Emits timeout() at every tick.
  QTimer& Timer() { return *timer_; }

 private:
  void Restart();

  QTimer* timer_;
  bool enabled_ = false;
  std::uint32_t interval_ = 100;
};

}  // namespace umbra::ui
