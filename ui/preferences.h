#pragma once
// The program's own preferences, kept apart from Config.ini (whose section
// and two keys stay exactly as they always were): an INI file in the user's
// configuration folder. A missing, unreadable or damaged file gives the
// defaults; a file that cannot be written, or that the user made read-only,
// is left as it is and the choice holds for this run only.

#include <QString>

namespace umbra::ui {

class Preferences {
 public:
  // "$XDG_CONFIG_HOME/umbrascope/preferences.ini" (~/.config/... by default).
  static QString DefaultPath();

  explicit Preferences(QString path = DefaultPath());

  const QString& Path() const { return path_; }

  // Desktop notifications for changes and failures; on by default.
  bool NotificationsEnabled() const { return notificationsEnabled_; }
  void SetNotificationsEnabled(bool enabled);

  // The folder the last CSV export went to; empty at first.
  const QString& ExportFolder() const { return exportFolder_; }
  void SetExportFolder(const QString& folder);

 private:
  void Store(const QString& key, const QString& value);

  QString path_;
  bool notificationsEnabled_ = true;
  QString exportFolder_;
};

}  // namespace umbra::ui
