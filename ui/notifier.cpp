#include "ui/notifier.h"

#include "ui/desktop_notifications.h"
#include "ui/preferences.h"

namespace umbra::ui {

Notifier::Notifier(const Preferences& preferences, DesktopNotifications& desktop, QObject* parent)
    : QObject(parent), preferences_(preferences), desktop_(desktop) {}

void Notifier::Follow(const WatchActivity& activity) {
  connect(&activity, &WatchActivity::ChangeSeen, this, &Notifier::OnChange);
  connect(&activity, &WatchActivity::ScanSettled, this, &Notifier::OnScanSettled);
}

void Notifier::OnChange(const WatchChange& change) {
  if (!preferences_.NotificationsEnabled()) return;
  desktop_.Show(change.number + QLatin1Char(' ') + change.eventText, change.dateTimeText, QStringLiteral("im"));
}

void Notifier::OnScanSettled(const ScanOutcome& outcome) {
  if (outcome.failed == failing_) return;
  failing_ = outcome.failed;
  if (!preferences_.NotificationsEnabled()) return;
  if (outcome.failed) {
    desktop_.Show(QString::fromUtf8(kUnreachableSummary), outcome.error, QStringLiteral("network.error"));
  } else {
    desktop_.Show(QString::fromUtf8(kReachableAgainSummary), outcome.dateTimeText,
                  QStringLiteral("network.connected"));
  }
}

}  // namespace umbra::ui
