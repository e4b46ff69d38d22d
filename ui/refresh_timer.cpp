#include "ui/refresh_timer.h"

#include <algorithm>

#include "watch/refresh_period.h"

namespace umbra::ui {

QtRefreshTimer::QtRefreshTimer(QObject& owner) : timer_(new QTimer(&owner)) {
  timer_->setObjectName(QStringLiteral("ScanUpDate"));
}

void QtRefreshTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Restart();
}

void QtRefreshTimer::SetInterval(std::uint32_t milliseconds) {
  if (milliseconds == interval_) return;
  interval_ = milliseconds;
  Restart();
}

void QtRefreshTimer::Restart() {
  timer_->stop();
  // A QTimer with interval 0 would fire at every turn of the event loop; the
  // component this stands for starts nothing then.
  if (!enabled_ || interval_ == 0) return;
  timer_->start(static_cast<int>(std::min(interval_, kLongestRefreshPeriodMs)));
}

}  // namespace umbra::ui
