#include "ui/refresh_timer.h"

#include <algorithm>

#include "watch/refresh_period.h"

namespace umbra::ui {

QtRefreshTimer::QtRefreshTimer(QObject& owner) : timer_(new QTimer(&owner)) {
  timer_->setObjectName(QStringLiteral("ScanUpDate"));
}

void QtRefreshTimer::Rearm(std::optional<std::uint32_t> period) {
  ++restarts_;
  timer_->stop();
  if (period) timer_->start(static_cast<int>(std::min(*period, kLongestRefreshPeriodMs)));
}

}  // namespace umbra::ui
