#include "ui/tray_icon.h"

#include <QAction>
#include <QCoreApplication>

#include "ui/pictures.h"
#include "ui/preferences.h"

namespace umbra::ui {

QString TrayToolTip(const ScanOutcome& outcome) {
  QString tip = QCoreApplication::applicationName();
  if (!outcome.listedAt.isEmpty()) {
    tip += QStringLiteral("\n在线 %1 个，离线 %2 个\n查询时间 %3")
               .arg(outcome.online)
               .arg(outcome.offline)
               .arg(outcome.listedAt);
  }
  if (outcome.failed) tip += QStringLiteral("\n查询失败 %1").arg(outcome.dateTimeText);
  return tip;
}

TrayIcon::TrayIcon(Preferences& preferences, QObject* parent)
    : QObject(parent), preferences_(preferences), icon_(ProgramIcon()) {
  connect(menu_.addAction(QStringLiteral("显示主窗口")), &QAction::triggered, this,
          &TrayIcon::ShowMainWindowRequested);
  connect(menu_.addAction(QStringLiteral("历史记录…")), &QAction::triggered, this,
          &TrayIcon::ShowHistoryRequested);
  QAction* notifications = menu_.addAction(QStringLiteral("桌面通知"));
  notifications->setObjectName(QStringLiteral("NotificationsSwitch"));
  notifications->setCheckable(true);
  notifications->setChecked(preferences_.NotificationsEnabled());
  connect(notifications, &QAction::toggled, this,
          [this](bool on) { preferences_.SetNotificationsEnabled(on); });
  menu_.addSeparator();
  connect(menu_.addAction(QStringLiteral("退出")), &QAction::triggered, this, &TrayIcon::QuitRequested);

  icon_.setContextMenu(&menu_);
  icon_.setToolTip(TrayToolTip({}));
  // A click on the icon itself brings the main window up, as the first menu
  // entry does.
  connect(&icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
    if (reason == QSystemTrayIcon::Trigger) emit ShowMainWindowRequested();
  });
  icon_.show();
}

bool TrayIcon::IsAvailable() { return QSystemTrayIcon::isSystemTrayAvailable(); }

void TrayIcon::Follow(const WatchActivity& activity) {
  connect(&activity, &WatchActivity::ScanSettled, this, &TrayIcon::ShowScan);
}

void TrayIcon::ShowScan(const ScanOutcome& outcome) { icon_.setToolTip(TrayToolTip(outcome)); }

}  // namespace umbra::ui
