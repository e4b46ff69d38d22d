#include "ui/preferences.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace umbra::ui {

namespace {

constexpr char kNotificationsKey[] = "notifications/enabled";
constexpr char kExportFolderKey[] = "export/folder";

// Written as "true" or "false"; anything else in the file is damage and
// leaves the default.
bool ReadSwitch(const QSettings& settings, const char* key, bool fallback) {
  const QString text = settings.value(QString::fromLatin1(key)).toString().trimmed().toLower();
  if (text == QLatin1String("true")) return true;
  if (text == QLatin1String("false")) return false;
  return fallback;
}

}  // namespace

QString Preferences::DefaultPath() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/umbrascope/preferences.ini");
}

Preferences::Preferences(QString path) : path_(std::move(path)) {
  const QFileInfo file(path_);
  if (!file.isFile() || !file.isReadable()) return;
  const QSettings settings(path_, QSettings::IniFormat);
  if (settings.status() != QSettings::NoError) return;
  notificationsEnabled_ = ReadSwitch(settings, kNotificationsKey, notificationsEnabled_);
  exportFolder_ = settings.value(QString::fromLatin1(kExportFolderKey)).toString();
}

void Preferences::SetNotificationsEnabled(bool enabled) {
  notificationsEnabled_ = enabled;
  Store(QString::fromLatin1(kNotificationsKey), enabled ? QStringLiteral("true") : QStringLiteral("false"));
}

void Preferences::SetExportFolder(const QString& folder) {
  exportFolder_ = folder;
  Store(QString::fromLatin1(kExportFolderKey), folder);
}

void Preferences::Store(const QString& key, const QString& value) {
  const QFileInfo file(path_);
  if (file.exists()) {
    // Made read-only by its owner: kept as it is, also for a root user whom
    // the permission bits would not stop.
    if (!file.isFile() || !(file.permissions() & QFileDevice::WriteOwner)) return;
  } else if (!QDir().mkpath(file.absolutePath())) {
    return;
  }
  QSettings settings(path_, QSettings::IniFormat);
  settings.setValue(key, value);
  settings.sync();
}

}  // namespace umbra::ui
