#include "ui/history_heatmap.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

#include "ui/weekday_name.h"

namespace umbra::ui {

namespace {

constexpr int kLabelWidth = 40;
constexpr int kHourRuler = 16;
constexpr int kRightMargin = 10;
constexpr int kCellHeight = 18;

const QColor kNeverWatched(236, 236, 236);
const QColor kNone(255, 255, 255);
const QColor kAll(46, 158, 79);
const QColor kGrid(220, 220, 220);

}  // namespace

HistoryHeatmap::HistoryHeatmap(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("Heatmap"));
  setMouseTracking(true);
}

void HistoryHeatmap::SetGrid(const WeekHourGrid& grid) {
  grid_ = grid;
  update();
}

QColor HistoryHeatmap::CellColor(std::optional<double> share) {
  if (!share) return kNeverWatched;
  const double s = std::clamp(*share, 0.0, 1.0);
  const auto mix = [s](int from, int to) { return static_cast<int>(from + (to - from) * s + 0.5); };
  return QColor(mix(kNone.red(), kAll.red()), mix(kNone.green(), kAll.green()), mix(kNone.blue(), kAll.blue()));
}

QSize HistoryHeatmap::sizeHint() const { return {kLabelWidth + 24 * 18 + kRightMargin, minimumSizeHint().height()}; }

QSize HistoryHeatmap::minimumSizeHint() const {
  return {kLabelWidth + 24 * 8 + kRightMargin, kHourRuler + 7 * kCellHeight + 1};
}

QRect HistoryHeatmap::CellRect(int weekday, int hour) const {
  const int width = this->width() - kLabelWidth - kRightMargin;
  const int left = kLabelWidth + width * hour / 24;
  const int right = kLabelWidth + width * (hour + 1) / 24;
  return {left, kHourRuler + weekday * kCellHeight, right - left, kCellHeight};
}

void HistoryHeatmap::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (width() <= kLabelWidth + kRightMargin) return;
  painter.setPen(palette().color(QPalette::WindowText));
  for (int hour = 0; hour <= 24; hour += 3) {
    const int x = hour < 24 ? CellRect(0, hour).left() : CellRect(0, 23).right() + 1;
    painter.drawText(QRect(x - 12, 0, 24, kHourRuler), Qt::AlignCenter, QString::number(hour));
  }
  for (int weekday = 0; weekday < 7; ++weekday) {
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(QRect(0, kHourRuler + weekday * kCellHeight, kLabelWidth - 6, kCellHeight),
                     Qt::AlignRight | Qt::AlignVCenter, WeekdayName(weekday));
    for (int hour = 0; hour < 24; ++hour) {
      const QRect cell = CellRect(weekday, hour);
      painter.fillRect(cell, CellColor(grid_.Share(weekday, hour)));
      painter.setPen(kGrid);
      painter.drawRect(cell.adjusted(0, 0, -1, -1));
    }
  }
}

bool HistoryHeatmap::event(QEvent* event) {
  if (event->type() != QEvent::ToolTip) return QWidget::event(event);
  const QPoint at = static_cast<QHelpEvent*>(event)->pos();
  for (int weekday = 0; weekday < 7; ++weekday) {
    for (int hour = 0; hour < 24; ++hour) {
      if (!CellRect(weekday, hour).contains(at)) continue;
      const std::optional<double> share = grid_.Share(weekday, hour);
      const QString where = QStringLiteral("%1 %2时").arg(WeekdayName(weekday)).arg(hour);
      QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(),
                         share ? QStringLiteral("%1：在线 %2%").arg(where).arg(qRound(*share * 100))
                               : QStringLiteral("%1：没有记录").arg(where),
                         this);
      return true;
    }
  }
  QToolTip::hideText();
  event->ignore();
  return true;
}

}  // namespace umbra::ui
