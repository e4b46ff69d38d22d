#pragma once
// A session bus of the test's own: a dbus-daemon on a socket in a
// temporary folder, started before the program first looks for a session
// bus, and a small notification service on it that records every call, as
// a desktop's notification daemon would take them.

#include <sys/types.h>

#include <QDBusConnection>
#include <QList>
#include <QObject>
#include <QSize>
#include <QStringList>
#include <QVariantMap>
#include <string>

namespace umbra::test {

// Made before the application object, so that nothing in the process can
// have found another session bus first; it needs no Qt.
class SessionBus {
 public:
  SessionBus();
  ~SessionBus();
  SessionBus(const SessionBus&) = delete;
  SessionBus& operator=(const SessionBus&) = delete;

  // Empty when dbus-daemon could not be started (and why in Error()).
  const std::string& Address() const { return address_; }
  const std::string& Error() const { return error_; }

  // Points DBUS_SESSION_BUS_ADDRESS at this bus, or, when it did not start,
  // at a socket that does not exist: the test never reaches the desktop's.
  void UseAsSessionBus() const;

 private:
  std::string dir_;
  pid_t daemon_ = -1;
  std::string address_;
  std::string error_;
};

// One Notify call as the service received it.
struct NotifyCall {
  QString appName;
  uint replacesId = 0;
  QString appIcon;
  QString summary;
  QString body;
  QStringList actions;
  QStringList hintNames;
  QString category;
  QSize imageSize;  // of the "image-data" hint; empty without one
  int expireTimeout = 0;
  uint id = 0;  // the id the service answered with
};

class NotificationService : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
 public:
  // Connects to the bus at `address` on a connection of its own and takes
  // the service's name.
  explicit NotificationService(const QString& address);
  ~NotificationService() override;

  bool IsRegistered() const { return registered_; }
  // Gives the name up, as when the desktop's daemon goes away.
  void Unregister();

  const QList<NotifyCall>& Calls() const { return calls_; }
  // The user clicks notification `id`.
  void Click(uint id);

 public slots:
  uint Notify(const QString& appName, uint replacesId, const QString& appIcon, const QString& summary,
              const QString& body, const QStringList& actions, const QVariantMap& hints, int expireTimeout);
  QStringList GetCapabilities();
  void CloseNotification(uint id);

 private:
  QDBusConnection connection_;
  bool registered_ = false;
  QList<NotifyCall> calls_;
  uint nextId_ = 1;
};

}  // namespace umbra::test
