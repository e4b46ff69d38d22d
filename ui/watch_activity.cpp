#include "ui/watch_activity.h"

#include <string>

#include "base/local_time.h"
#include "ui/gbk_text.h"
#include "watch/date_time_text.h"
#include "watch/watch_texts.h"

namespace umbra::ui {

QString DateTimeTextOf(const EventLine& line) {
  // The line is the date-time text and a tail the parts spell out; what
  // stands before that tail is the text exactly as the line shows it.
  std::string tail;
  if (line.kind == EventLine::Kind::Change) {
    tail = std::string(texts::kLineSeparator) + std::string(line.number) + std::string(line.eventText);
  } else {
    tail = texts::LoadFailedPrefix() + std::string(line.message);
  }
  if (line.text.size() >= tail.size() && line.text.substr(line.text.size() - tail.size()) == tail) {
    return FromGbk(std::string(line.text.substr(0, line.text.size() - tail.size())));
  }
  return FromGbk(DateTimeText(line.at));
}

WatchActivity::WatchActivity(QObject* parent) : QObject(parent) {}

void WatchActivity::ListCleared(WatchList list) {
  if (list == WatchList::Online) {
    online_ = 0;
    // The lists are emptied once the reply has come: this is the scan's time.
    listedAt_ = FromGbk(DateTimeText(LocalNow()));
  } else if (list == WatchList::Offline) {
    offline_ = 0;
  }
  ScanPartSeen();
}

void WatchActivity::NumberListed(WatchList list) {
  if (list == WatchList::Online) ++online_;
  if (list == WatchList::Offline) ++offline_;
  ScanPartSeen();
}

void WatchActivity::EventAppended(const EventLine& line) {
  if (line.kind == EventLine::Kind::Change) {
    WatchChange change;
    change.number = FromGbk(std::string(line.number));
    change.eventText = FromGbk(std::string(line.eventText));
    change.dateTimeText = DateTimeTextOf(line);
    change.online = line.stateCode == "1";
    emit ChangeSeen(change);
  } else {
    failedInThisScan_ = true;
    error_ = FromGbk(std::string(line.message));
    failedAt_ = DateTimeTextOf(line);
  }
  ScanPartSeen();
}

void WatchActivity::ScanPartSeen() { partsSeen_ = true; }

void WatchActivity::ScanApplied() {
  if (partsSeen_) Settle();
}

void WatchActivity::Settle() {
  partsSeen_ = false;
  ScanOutcome outcome;
  outcome.failed = failedInThisScan_;
  outcome.error = failedInThisScan_ ? error_ : QString();
  outcome.dateTimeText = failedInThisScan_ ? failedAt_ : listedAt_;
  outcome.online = online_;
  outcome.offline = offline_;
  outcome.listedAt = listedAt_;
  failedInThisScan_ = false;
  error_.clear();
  failedAt_.clear();
  emit ScanSettled(outcome);
}

}  // namespace umbra::ui
