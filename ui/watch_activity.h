#pragma once
// What the watch shows in the main window, retold for the tray icon, the
// desktop notifications and the history view. The window hands over every
// call the watch makes on it, on the GUI thread; a scan's calls may come in
// several runs, and once the window says all of them are made the scan is
// settled: how many numbers were online and offline, and whether it failed.

#include <QObject>
#include <QString>
#include <string_view>

#include "watch/watch_ports.h"

namespace umbra::ui {

// One change line of the event log.
struct WatchChange {
  QString number;
  QString eventText;     // "在线!", "离线", "上线了!!!" or "隐身中!"
  QString dateTimeText;  // as the line starts
  bool online = false;   // state code "1"
};

// A scan, once it has ended.
struct ScanOutcome {
  bool failed = false;
  QString error;         // a failed scan's message
  QString dateTimeText;  // a failed scan's failure line's; else when its reply came
  // The lists after the last scan that got a reply (a failed scan may leave
  // them as the one before left them).
  int online = 0;
  int offline = 0;
  QString listedAt;  // the date-time text of that reply; empty before any
};

class WatchActivity : public QObject {
  Q_OBJECT
 public:
  explicit WatchActivity(QObject* parent = nullptr);

  // From the window's view calls.
  void ListCleared(WatchList list);
  void NumberListed(WatchList list);
  void EventAppended(const EventLine& line);
  // Every change of the scan has been made in the window.
  void ScanApplied();

  int OnlineCount() const { return online_; }
  int OfflineCount() const { return offline_; }

 signals:
  void ChangeSeen(const umbra::ui::WatchChange& change);
  void ScanSettled(const umbra::ui::ScanOutcome& outcome);

 private:
  void ScanPartSeen();
  void Settle();

  int online_ = 0;
  int offline_ = 0;
  QString listedAt_;
  bool partsSeen_ = false;
  bool failedInThisScan_ = false;
  QString error_;
  QString failedAt_;
};

// The date-time text a change or failure line starts with.
QString DateTimeTextOf(const EventLine& line);

}  // namespace umbra::ui
