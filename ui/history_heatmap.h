#pragma once
// The history view's heatmap: seven rows of weekdays, 24 hours across, each
// cell as dark as the share of its watched time the number was online. Hours
// never watched stay blank.

#include <QWidget>

#include "watch/history_stats.h"

namespace umbra::ui {

class HistoryHeatmap : public QWidget {
  Q_OBJECT
 public:
  explicit HistoryHeatmap(QWidget* parent = nullptr);

  void SetGrid(const WeekHourGrid& grid);
  const WeekHourGrid& Grid() const { return grid_; }

  // The cell's colour: blank for an hour never watched, from white to the
  // timeline's green by the share online.
  static QColor CellColor(std::optional<double> share);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool event(QEvent* event) override;

 private:
  QRect CellRect(int weekday, int hour) const;

  WeekHourGrid grid_;
};

}  // namespace umbra::ui
