#pragma once
// The tray icon, where the desktop has a tray: the counts of online and
// offline numbers after the last scan in its tooltip, and a menu to show the
// main window or the history view, switch notifications and quit.

#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>

#include "ui/watch_activity.h"

class QAction;

namespace umbra::ui {

class Preferences;

class TrayIcon : public QObject {
  Q_OBJECT
 public:
  // Shows the icon at once. Make one only where IsAvailable().
  explicit TrayIcon(Preferences& preferences, QObject* parent = nullptr);

  static bool IsAvailable();

  void Follow(const WatchActivity& activity);
  QString ToolTip() const { return icon_.toolTip(); }
  QMenu& Menu() { return menu_; }

 public slots:
  void ShowScan(const umbra::ui::ScanOutcome& outcome);

 signals:
  void ShowMainWindowRequested();
  void ShowHistoryRequested();
  void QuitRequested();

 private:
  Preferences& preferences_;
  QMenu menu_;
  QSystemTrayIcon icon_;
};

// The tooltip for a settled scan.
QString TrayToolTip(const ScanOutcome& outcome);

}  // namespace umbra::ui
