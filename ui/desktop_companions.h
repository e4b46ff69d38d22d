#pragma once
// What the program adds on the desktop beside its windows: its own
// preferences, desktop notifications of the watch, the tray icon where there
// is a tray, and the history view, opened from the lists' context menus and
// from the tray. The main window itself stays as it always was.

#include <QObject>
#include <memory>

#include "ui/desktop_notifications.h"
#include "ui/notifier.h"
#include "ui/preferences.h"

class QByteArray;

namespace umbra::ui {

class HistoryView;
class ProgramWindows;
class TrayIcon;

class DesktopCompanions : public QObject {
  Q_OBJECT
 public:
  enum class TrayPolicy {
    WhereAvailable,  // no tray on the desktop: no icon, the program as before
    Always,          // for tests on a desktop without a tray
  };

  explicit DesktopCompanions(ProgramWindows& windows, Preferences preferences = Preferences(),
                             TrayPolicy trayPolicy = TrayPolicy::WhereAvailable);
  ~DesktopCompanions() override;

  Preferences& Prefs() { return preferences_; }
  // Nothing where the desktop has no tray.
  TrayIcon* Tray() { return tray_.get(); }
  // Made when first shown.
  HistoryView* History() { return history_.get(); }

  // Brings the main window to the front, restored when minimised.
  void ShowMainWindow();
  // Shows the history view, with the number chosen (GBK bytes) when given.
  void ShowHistory(const QByteArray* numberGbk = nullptr);

 private:
  ProgramWindows& windows_;
  Preferences preferences_;
  DesktopNotifications desktop_;
  Notifier notifier_;
  std::unique_ptr<TrayIcon> tray_;
  std::unique_ptr<HistoryView> history_;
};

}  // namespace umbra::ui
