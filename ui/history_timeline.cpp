#include "ui/history_timeline.h"

#include <QPainter>

#include "ui/weekday_name.h"

namespace umbra::ui {

namespace {

constexpr int kLabelWidth = 78;
constexpr int kHourRuler = 16;
constexpr int kRowHeight = 16;
constexpr int kRowGap = 3;
constexpr int kRightMargin = 10;

const QColor kRowBackground(236, 236, 236);
const QColor kFuture(250, 250, 250);
const QColor kOnline(46, 158, 79);
const QColor kGrid(200, 200, 200);

}  // namespace

QString DayLabel(const LocalDateTime& date) {
  return QStringLiteral("%1-%2 %3")
      .arg(date.month, 2, 10, QLatin1Char('0'))
      .arg(date.day, 2, 10, QLatin1Char('0'))
      .arg(WeekdayName(Weekday(date)));
}

HistoryTimeline::HistoryTimeline(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("Timeline"));
}

void HistoryTimeline::SetDays(std::vector<TimelineDay> days) {
  days_ = std::move(days);
  updateGeometry();
  update();
}

QSize HistoryTimeline::sizeHint() const {
  return {kLabelWidth + 24 * 18 + kRightMargin, minimumSizeHint().height()};
}

QSize HistoryTimeline::minimumSizeHint() const {
  const int rows = std::max<int>(static_cast<int>(days_.size()), 1);
  return {kLabelWidth + 24 * 8 + kRightMargin, kHourRuler + rows * (kRowHeight + kRowGap)};
}

void HistoryTimeline::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const int barWidth = width() - kLabelWidth - kRightMargin;
  if (barWidth <= 0) return;
  const auto xAt = [&](double fraction) { return kLabelWidth + static_cast<int>(fraction * barWidth + 0.5); };

  painter.setPen(palette().color(QPalette::WindowText));
  for (int hour = 0; hour <= 24; hour += 3) {
    const QRect label(xAt(hour / 24.0) - 12, 0, 24, kHourRuler);
    painter.drawText(label, Qt::AlignCenter, QString::number(hour));
  }

  // Newest on top: today's row is the one looked at first.
  for (std::size_t i = 0; i < days_.size(); ++i) {
    const TimelineDay& day = days_[days_.size() - 1 - i];
    const int top = kHourRuler + static_cast<int>(i) * (kRowHeight + kRowGap);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(QRect(0, top, kLabelWidth - 6, kRowHeight), Qt::AlignRight | Qt::AlignVCenter,
                     DayLabel(day.date));
    painter.fillRect(QRect(kLabelWidth, top, barWidth, kRowHeight), kRowBackground);
    const double length = static_cast<double>(day.end - day.start);
    // The rest of today has not happened yet.
    if (day.pastEnd < day.end) {
      const int now = xAt((day.pastEnd - day.start) / length);
      painter.fillRect(QRect(now, top, kLabelWidth + barWidth - now, kRowHeight), kFuture);
    }
    for (const TimeSpan& span : day.online) {
      const int left = xAt((span.start - day.start) / length);
      const int right = std::max(xAt((span.end - day.start) / length), left + 1);
      painter.fillRect(QRect(left, top, right - left, kRowHeight), kOnline);
    }
    painter.setPen(kGrid);
    for (int hour = 3; hour < 24; hour += 3) {
      const int x = xAt(hour / 24.0);
      painter.drawLine(x, top, x, top + kRowHeight - 1);
    }
  }
}

}  // namespace umbra::ui
