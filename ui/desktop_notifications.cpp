#include "ui/desktop_notifications.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>
#include <QVariantMap>

namespace umbra::ui {

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
// The action a click on the notification's body invokes.
const QString kDefaultAction = QStringLiteral("default");

// The "image-data" hint: width, height, row stride, alpha, bits per sample,
// channels, RGBA bytes.
QDBusArgument ImageData(const QImage& icon) {
  const QImage rgba = icon.convertToFormat(QImage::Format_RGBA8888);
  QDBusArgument argument;
  argument.beginStructure();
  argument << rgba.width() << rgba.height() << static_cast<int>(rgba.bytesPerLine()) << true << 8 << 4
           << QByteArray(reinterpret_cast<const char*>(rgba.constBits()), rgba.sizeInBytes());
  argument.endStructure();
  return argument;
}

}  // namespace

DesktopNotifications::DesktopNotifications(QImage icon, QObject* parent)
    : QObject(parent), icon_(std::move(icon)) {}

const QDBusConnection* DesktopNotifications::Bus() {
  if (!triedBus_) {
    triedBus_ = true;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected()) {
      bus.connect(QString(), kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                  SLOT(OnActionInvoked(uint, QString)));
      bus.connect(QString(), kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                  SLOT(OnNotificationClosed(uint, uint)));
      bus_ = bus;
    }
  }
  return bus_ ? &*bus_ : nullptr;
}

void DesktopNotifications::Show(const QString& summary, const QString& body, const QString& category) {
  const QDBusConnection* bus = Bus();
  if (bus == nullptr) return;
  QVariantMap hints;
  hints.insert(QStringLiteral("category"), category);
  if (!icon_.isNull()) hints.insert(QStringLiteral("image-data"), QVariant::fromValue(ImageData(icon_)));
  QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Notify"));
  QString plainBody = body;
  plainBody.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  call << QCoreApplication::applicationName() << 0u << QString() << summary << plainBody.toHtmlEscaped()
       << QStringList{kDefaultAction, QStringLiteral("显示主窗口")} << hints << -1;
  // Never wait for the service: a busy or missing one must not hold up the
  // window, and an error reply just means nothing was shown.
  auto* watcher = new QDBusPendingCallWatcher(bus->asyncCall(call), this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* finished) {
    const QDBusPendingReply<uint> reply = *finished;
    if (reply.isValid()) shown_.insert(reply.value());
    finished->deleteLater();
  });
}

void DesktopNotifications::OnActionInvoked(uint id, const QString& actionKey) {
  // The service tells every client of every click; only ours count.
  if (actionKey == kDefaultAction && shown_.contains(id)) emit Clicked();
}

void DesktopNotifications::OnNotificationClosed(uint id, uint) { shown_.remove(id); }

}  // namespace umbra::ui
