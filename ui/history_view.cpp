#include "ui/history_view.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <ctime>

#include "base/files.h"
#include "base/local_epoch.h"
#include "ui/history_heatmap.h"
#include "ui/history_timeline.h"
#include "ui/message_box.h"
#include "ui/pictures.h"
#include "ui/preferences.h"
#include "watch/history_csv.h"
#include "watch/history_sessions.h"
#include "watch/history_stats.h"

namespace umbra::ui {

namespace {

enum Column { kNumberColumn, kStateColumn, kLastSeenColumn, kLastWeekColumn, kColumnCount };

// Spreadsheet programs that guess a file's encoding (Excel among them) read
// UTF-8 only with the byte-order mark; those that do not guess skip it.
constexpr char kUtf8ByteOrderMark[] = "\xEF\xBB\xBF";

QString MinuteText(long long epochSeconds) {
  const LocalDateTime at = LocalAtEpochSeconds(epochSeconds);
  return QStringLiteral("%1-%2-%3 %4:%5")
      .arg(at.year)
      .arg(at.month, 2, 10, QLatin1Char('0'))
      .arg(at.day, 2, 10, QLatin1Char('0'))
      .arg(at.hour, 2, 10, QLatin1Char('0'))
      .arg(at.minute, 2, 10, QLatin1Char('0'));
}

QString StateText(KnownState state) {
  switch (state) {
    case KnownState::Online: return QStringLiteral("在线");
    case KnownState::Offline: return QStringLiteral("离线");
    case KnownState::Unknown: break;
  }
  return QStringLiteral("—");
}

QTableWidgetItem* Cell(const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
  return item;
}

QLabel* Heading(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  QFont font = label->font();
  font.setBold(true);
  label->setFont(font);
  return label;
}

}  // namespace

QString OnlineDurationText(long long seconds) {
  const long long minutes = seconds / 60;
  if (minutes < 60) return QStringLiteral("%1分").arg(minutes);
  return QStringLiteral("%1小时%2分").arg(minutes / 60).arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

HistoryView::HistoryView(QString folder, Preferences* preferences, NowFunction now)
    : QWidget(nullptr), folder_(std::move(folder)), preferences_(preferences), now_(std::move(now)) {
  setObjectName(QStringLiteral("HistoryView"));
  setWindowTitle(QStringLiteral("历史记录"));
  setWindowIcon(ProgramIcon());

  table_ = new QTableWidget(0, kColumnCount, this);
  table_->setObjectName(QStringLiteral("NumberTable"));
  table_->setHorizontalHeaderLabels(
      {QStringLiteral("号码"), QStringLiteral("状态"), QStringLiteral("最后在线"), QStringLiteral("近7天在线")});
  table_->verticalHeader()->hide();
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->setMinimumWidth(360);

  title_ = Heading(QString(), this);
  title_->setObjectName(QStringLiteral("ChosenTitle"));
  timeline_ = new HistoryTimeline(this);
  heatmapTitle_ = Heading(QString(), this);
  heatmap_ = new HistoryHeatmap(this);
  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("Status"));
  status_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto* reload = new QPushButton(QStringLiteral("刷新"), this);
  reload->setObjectName(QStringLiteral("Reload"));
  auto* exportSessions = new QPushButton(QStringLiteral("导出在线时段…"), this);
  exportSessions->setObjectName(QStringLiteral("ExportSessions"));
  auto* exportEvents = new QPushButton(QStringLiteral("导出状态变化…"), this);
  exportEvents->setObjectName(QStringLiteral("ExportEvents"));

  auto* details = new QVBoxLayout;
  details->addWidget(title_);
  details->addWidget(new QLabel(QStringLiteral("最近%1天（横轴为0至24时，绿色为在线）").arg(kTimelineDays), this));
  details->addWidget(timeline_);
  details->addSpacing(8);
  details->addWidget(heatmapTitle_);
  details->addWidget(heatmap_);
  details->addStretch(1);

  auto* panes = new QHBoxLayout;
  panes->addWidget(table_, 2);
  panes->addLayout(details, 3);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(status_, 1);
  buttons->addWidget(reload);
  buttons->addWidget(exportSessions);
  buttons->addWidget(exportEvents);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(panes, 1);
  layout->addLayout(buttons);
  resize(1000, 640);

  connect(table_, &QTableWidget::itemSelectionChanged, this, &HistoryView::ShowChosen);
  connect(reload, &QPushButton::clicked, this, &HistoryView::Reload);
  connect(exportSessions, &QPushButton::clicked, this, [this] { AskAndExport(true); });
  connect(exportEvents, &QPushButton::clicked, this, [this] { AskAndExport(false); });
  // Time online grows while a number stays online: the figures follow.
  refresh_.setInterval(60 * 1000);
  connect(&refresh_, &QTimer::timeout, this, [this] {
    if (isVisible()) Reload();
  });
  refresh_.start();

  Reload();
}

long long HistoryView::Now() const {
  return now_ ? now_() : static_cast<long long>(std::time(nullptr));
}

void HistoryView::Reload() {
  const QString chosen = ChosenNumber();
  histories_ = ReadHistoryFolder(QFile::encodeName(folder_).toStdString());
  const long long now = Now();

  const QSignalBlocker quiet(table_);
  table_->clearContents();
  table_->setRowCount(static_cast<int>(histories_.size()));
  for (std::size_t i = 0; i < histories_.size(); ++i) {
    const NumberHistory& history = histories_[i];
    const HistorySummary summary = Summarize(history.log.events, OnlineSessions(history.log.events), now);
    const int row = static_cast<int>(i);
    table_->setItem(row, kNumberColumn, Cell(QString::fromUtf8(history.number)));
    QTableWidgetItem* state = Cell(StateText(summary.state));
    if (summary.state == KnownState::Online) state->setForeground(QColor(30, 130, 60));
    table_->setItem(row, kStateColumn, state);
    const QString lastSeen = summary.state == KnownState::Online ? QStringLiteral("现在")
                             : summary.lastSeenOnline         ? MinuteText(*summary.lastSeenOnline)
                                                              : QStringLiteral("从未");
    table_->setItem(row, kLastSeenColumn, Cell(lastSeen));
    table_->setItem(row, kLastWeekColumn, Cell(OnlineDurationText(summary.onlineSecondsLastWeek)));
  }
  if (!ChooseNumber(chosen) && !histories_.empty()) table_->selectRow(0);
  ShowChosen();
}

bool HistoryView::ChooseNumber(const QString& number) {
  for (std::size_t i = 0; i < histories_.size(); ++i) {
    if (QString::fromUtf8(histories_[i].number) != number) continue;
    table_->selectRow(static_cast<int>(i));
    table_->scrollToItem(table_->item(static_cast<int>(i), kNumberColumn));
    return true;
  }
  return false;
}

QString HistoryView::ChosenNumber() const {
  const QList<QTableWidgetItem*> selected = table_->selectedItems();
  if (selected.isEmpty()) return {};
  const int row = selected.front()->row();
  if (row < 0 || row >= static_cast<int>(histories_.size())) return {};
  return QString::fromUtf8(histories_[static_cast<std::size_t>(row)].number);
}

void HistoryView::ShowChosen() {
  const QList<QTableWidgetItem*> selected = table_->selectedItems();
  const int row = selected.isEmpty() ? -1 : selected.front()->row();
  if (row < 0 || row >= static_cast<int>(histories_.size())) {
    title_->setText(histories_.empty() ? QStringLiteral("工作目录中还没有历史记录")
                                       : QStringLiteral("请选择一个号码"));
    heatmapTitle_->setText(QStringLiteral("每周在线分布"));
    timeline_->SetDays({});
    heatmap_->SetGrid({});
    setWindowTitle(QStringLiteral("历史记录"));
    return;
  }
  const NumberHistory& history = histories_[static_cast<std::size_t>(row)];
  const long long now = Now();
  const std::vector<OnlineSession> sessions = OnlineSessions(history.log.events);
  QString title = QStringLiteral("%1 的历史记录").arg(QString::fromUtf8(history.number));
  if (!history.log.skippedLines.empty()) {
    title += QStringLiteral("（%1 行无法识别，已跳过）").arg(history.log.skippedLines.size());
  }
  title_->setText(title);
  setWindowTitle(QStringLiteral("历史记录 - %1").arg(QString::fromUtf8(history.number)));
  timeline_->SetDays(Timeline(sessions, now, kTimelineDays));

  const long long firstSeen = history.log.events.front().epochSeconds;
  const long long from = std::max(firstSeen, now - kHeatmapWeeks * 7 * kSecondsPerDay);
  heatmapTitle_->setText(QStringLiteral("每周在线分布（%1 起；白色从不在线，绿色越深在线越多，灰色没有记录）")
                             .arg(MinuteText(from).left(10)));
  heatmap_->SetGrid(WeekHourOnline(sessions, from, now));
}

void HistoryView::Present(const QString& number) {
  Reload();
  if (!number.isNull() && !ChooseNumber(number)) {
    status_->setText(QStringLiteral("%1 还没有历史记录").arg(number));
  }
  if (isMinimized()) showNormal();
  show();
  raise();
  activateWindow();
}

void HistoryView::AskAndExport(bool sessions) {
  QString folder = preferences_ != nullptr ? preferences_->ExportFolder() : QString();
  if (folder.isEmpty() || !QFileInfo(folder).isDir()) folder = QDir(folder_).absolutePath();
  const QString name = sessions ? QStringLiteral("umbrascope-sessions.csv") : QStringLiteral("umbrascope-events.csv");
  const QString path = QFileDialog::getSaveFileName(
      this, sessions ? QStringLiteral("导出在线时段") : QStringLiteral("导出状态变化"),
      QDir(folder).filePath(name), QStringLiteral("CSV 文件 (*.csv)"));
  if (path.isEmpty()) return;
  if (preferences_ != nullptr) preferences_->SetExportFolder(QFileInfo(path).absolutePath());
  if (sessions) {
    ExportSessions(path);
  } else {
    ExportEvents(path);
  }
}

bool HistoryView::ExportSessions(const QString& path) {
  std::string csv = SessionsCsvHeader();
  for (const NumberHistory& history : histories_) {
    csv += SessionsCsvRows(history.number, OnlineSessions(history.log.events));
  }
  return Export(path, csv);
}

bool HistoryView::ExportEvents(const QString& path) {
  std::string csv = EventsCsvHeader();
  for (const NumberHistory& history : histories_) csv += EventsCsvRows(history.number, history.log.events);
  return Export(path, csv);
}

bool HistoryView::Export(const QString& path, const std::string& csv) {
  const QFileInfo target(path);
  QString failure;
  if (target.exists() && !(target.permissions() & QFileDevice::WriteOwner)) {
    failure = QStringLiteral("文件是只读的，没有覆盖。");
  } else {
    try {
      ReplaceFileWhole(QFile::encodeName(path).toStdString(), kUtf8ByteOrderMark + csv);
    } catch (const FileError& error) {
      failure = QString::fromLocal8Bit(error.what());
    }
  }
  if (!failure.isEmpty()) {
    status_->setText(QString());
    MessageBox::ShowError(QStringLiteral("无法导出到 %1：%2").arg(QDir::toNativeSeparators(path), failure));
    return false;
  }
  status_->setText(QStringLiteral("已导出到 %1").arg(QDir::toNativeSeparators(path)));
  return true;
}

}  // namespace umbra::ui
