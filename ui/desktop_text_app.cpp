#include "ui/desktop_text_app.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QString>

namespace umbra::ui {
namespace {

constexpr int kAskTimeoutMs = 3000;

QString DefaultTextApplication() {
  QProcess ask;
  ask.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"),
                                         QStringLiteral("text/plain")});
  if (!ask.waitForFinished(kAskTimeoutMs) || ask.exitStatus() != QProcess::NormalExit ||
      ask.exitCode() != 0) {
    ask.kill();
    return {};
  }
  return QString::fromLocal8Bit(ask.readAllStandardOutput()).trimmed();
}

// The desktop entry's Terminal key, from its main group.
bool RunsInTerminal(const QString& entryPath) {
  QFile entry(entryPath);
  if (!entry.open(QIODevice::ReadOnly)) return true;
  bool mainGroup = false;
  while (!entry.atEnd()) {
    const QByteArray line = entry.readLine().trimmed();
    if (line.startsWith('[')) mainGroup = line == "[Desktop Entry]";
    if (mainGroup && line.startsWith("Terminal=")) return line.mid(9).trimmed() == "true";
  }
  return false;
}

}  // namespace

bool DesktopShowsPlainText() {
  const QString application = DefaultTextApplication();
  if (application.isEmpty() || !application.endsWith(QStringLiteral(".desktop"))) return false;
  const QString entry = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, application);
  if (entry.isEmpty()) return false;
  return !RunsInTerminal(entry);
}

}  // namespace umbra::ui
