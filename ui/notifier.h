#pragma once
// Which notifications the watch gives: one for every change line, one when
// scans start failing and one when they succeed again, never one per failed
// scan. The switch in the preferences silences them; the run of failures is
// followed all the same, so switching on in the middle of one brings no
// stale message.

#include <QObject>

#include "ui/watch_activity.h"

namespace umbra::ui {

class DesktopNotifications;
class Preferences;

class Notifier : public QObject {
  Q_OBJECT
 public:
  Notifier(const Preferences& preferences, DesktopNotifications& desktop, QObject* parent = nullptr);

  // Follows the watch as the activity retells it.
  void Follow(const WatchActivity& activity);

 public slots:
  void OnChange(const umbra::ui::WatchChange& change);
  void OnScanSettled(const umbra::ui::ScanOutcome& outcome);

 private:
  const Preferences& preferences_;
  DesktopNotifications& desktop_;
  bool failing_ = false;
};

// The texts, in one place.
inline constexpr char kUnreachableSummary[] = "presence endpoint unreachable";
inline constexpr char kReachableAgainSummary[] = "presence endpoint reachable again";

}  // namespace umbra::ui
