#include "ui/history_viewer.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScrollBar>
#include <QVBoxLayout>
#include <string>

#include "ui/gbk_text.h"

namespace umbra::ui {
namespace {

constexpr int kWidth = 480;
constexpr int kHeight = 360;

QString DecodeHistory(const QByteArray& bytes) {
  // Lines end in CR LF as the program writes them; a file edited elsewhere
  // may end some in CR or LF alone, which the program itself reads as line
  // ends too.
  QString text = FromGbk(bytes.toStdString());
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

}  // namespace

HistoryViewer::HistoryViewer(QString path)
    : QWidget(nullptr, Qt::Window),
      path_(std::move(path)),
      text_(new QPlainTextEdit(this)),
      watcher_(new QFileSystemWatcher(this)) {
  setObjectName(QStringLiteral("HistoryViewer"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QFileInfo(path_).fileName());
  text_->setObjectName(QStringLiteral("HistoryText"));
  text_->setReadOnly(true);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(text_);
  resize(kWidth, kHeight);

  // The watch appends to the file, or replaces it whole; the directory tells
  // of a replacement and of a file that comes into being.
  watcher_->addPath(QFileInfo(path_).absolutePath());
  connect(watcher_, &QFileSystemWatcher::fileChanged, this, &HistoryViewer::Reload);
  connect(watcher_, &QFileSystemWatcher::directoryChanged, this, &HistoryViewer::Reload);
  Reload();
}

HistoryViewer* HistoryViewer::Show(const QString& path) {
  HistoryViewer* viewer = nullptr;
  for (QWidget* window : QApplication::topLevelWidgets()) {
    auto* open = qobject_cast<HistoryViewer*>(window);
    if (open != nullptr && open->Path() == path) viewer = open;
  }
  if (viewer == nullptr) viewer = new HistoryViewer(path);
  viewer->show();
  viewer->raise();
  viewer->activateWindow();
  return viewer;
}

QString HistoryViewer::Text() const { return text_->toPlainText(); }

void HistoryViewer::Reload() {
  if (QFileInfo::exists(path_) && !watcher_->files().contains(path_)) watcher_->addPath(path_);
  QFile file(path_);
  const QString text = file.open(QIODevice::ReadOnly) ? DecodeHistory(file.readAll()) : QString();
  if (text == text_->toPlainText()) return;
  // Where the reader was at the end, the new lines come into view.
  QScrollBar* bar = text_->verticalScrollBar();
  const bool atEnd = bar->value() == bar->maximum();
  const int kept = bar->value();
  text_->setPlainText(text);
  bar->setValue(atEnd ? bar->maximum() : kept);
}

}  // namespace umbra::ui
