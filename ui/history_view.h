#pragma once
// The history view: the numbers that have history files in the working
// directory, each with its state, when it was last seen online and its time
// online in the last seven days; for the chosen number a timeline of the
// last fourteen days and a weekday-by-hour heatmap; export of every number's
// sessions or changes to CSV. It only ever reads the history files.

#include <QString>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <vector>

#include "watch/history_folder.h"

class QLabel;
class QTableWidget;

namespace umbra::ui {

class HistoryHeatmap;
class HistoryTimeline;
class Preferences;

class HistoryView : public QWidget {
  Q_OBJECT
 public:
  // Seconds since the epoch; the system clock unless a test says otherwise.
  using NowFunction = std::function<long long()>;

  // `preferences` (optional) remembers the export folder.
  explicit HistoryView(QString folder = QStringLiteral("."), Preferences* preferences = nullptr,
                       NowFunction now = {});

  // Reads the folder again; the chosen number stays chosen while it has a
  // history file.
  void Reload();
  // Chooses the number's row; false when it has no history file.
  bool ChooseNumber(const QString& number);
  QString ChosenNumber() const;

  // Writes every listed number's sessions (or changes) as CSV to `path`,
  // replacing a file there whole, but never one the user made read-only.
  // Shows why in the error box and returns false when it cannot.
  bool ExportSessions(const QString& path);
  bool ExportEvents(const QString& path);

  // Brings the window up to date and to the front, with the number chosen
  // when it has a history file.
  void Present(const QString& number = {});

  // Days in the timeline.
  static constexpr int kTimelineDays = 14;
  // The heatmap looks back no further than this.
  static constexpr int kHeatmapWeeks = 52;

 private:
  void ShowChosen();
  void AskAndExport(bool sessions);
  bool Export(const QString& path, const std::string& csv);
  long long Now() const;

  QString folder_;
  Preferences* preferences_;
  NowFunction now_;
  std::vector<NumberHistory> histories_;
  QTableWidget* table_;
  QLabel* title_;
  HistoryTimeline* timeline_;
  QLabel* heatmapTitle_;
  HistoryHeatmap* heatmap_;
  QLabel* status_;
  QTimer refresh_;
};

// "3小时05分", "12分", "0分"
QString OnlineDurationText(long long seconds);

}  // namespace umbra::ui
