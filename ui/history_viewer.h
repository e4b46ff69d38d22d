#pragma once
// A small read-only window of the program's own that shows a number's
// history file, for desktops that have no application for plain text: the
// file's lines as the program writes them (GBK, CR LF), its name in the
// caption, and new lines as the watch appends them. A file that does not
// exist shows as an empty page until it does, as Notepad would.

#include <QString>
#include <QWidget>

class QFileSystemWatcher;
class QPlainTextEdit;

namespace umbra::ui {

class HistoryViewer : public QWidget {
  Q_OBJECT
 public:
  // `path`: the history file's absolute path.
  explicit HistoryViewer(QString path);

  // Shows the viewer of that file, the one already open if there is one,
  // and brings it to the front.
  static HistoryViewer* Show(const QString& path);

  const QString& Path() const { return path_; }
  QString Text() const;

 private:
  void Reload();

  QString path_;
  QPlainTextEdit* text_;
  QFileSystemWatcher* watcher_;
};

}  // namespace umbra::ui
