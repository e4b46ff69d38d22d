#pragma once
// The history view's timeline: a row per day, the 24 hours across, the time
// online as bars.

#include <QWidget>
#include <vector>

#include "watch/history_stats.h"

namespace umbra::ui {

class HistoryTimeline : public QWidget {
  Q_OBJECT
 public:
  explicit HistoryTimeline(QWidget* parent = nullptr);

  // Oldest first; drawn with the newest day on top.
  void SetDays(std::vector<TimelineDay> days);
  const std::vector<TimelineDay>& Days() const { return days_; }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::vector<TimelineDay> days_;
};

// "12-11 周五"
QString DayLabel(const LocalDateTime& date);

}  // namespace umbra::ui
