#pragma once
// Desktop notifications through the freedesktop notification service on the
// session bus. Where there is no session bus or nobody serves notifications,
// nothing is shown and nothing fails: calls go out without waiting, and an
// error reply is dropped.

#include <QDBusConnection>
#include <QImage>
#include <QObject>
#include <QSet>
#include <QString>
#include <optional>

namespace umbra::ui {

class DesktopNotifications : public QObject {
  Q_OBJECT
 public:
  // `icon` goes with every notification, as its image.
  explicit DesktopNotifications(QImage icon, QObject* parent = nullptr);

  // Puts up a notification; a click on it is reported as Clicked(). Both
  // texts are plain: the body is escaped for services that read markup in
  // it, so a number or a server's error text cannot carry a link or a tag.
  // `category` is one of the service's categories ("im", "network.error").
  void Show(const QString& summary, const QString& body, const QString& category);

 signals:
  // The user clicked one of this program's notifications.
  void Clicked();

 private slots:
  void OnActionInvoked(uint id, const QString& actionKey);
  void OnNotificationClosed(uint id, uint reason);

 private:
  // The session bus, connected at the first notification; nothing where
  // there is none.
  const QDBusConnection* Bus();

  QImage icon_;
  bool triedBus_ = false;
  std::optional<QDBusConnection> bus_;
  QSet<uint> shown_;  // ids of ours the service still shows
};

}  // namespace umbra::ui
