#include "watch/recorded_view.h"

#include <utility>

namespace umbra {

void RecordedView::Begin(std::string numbersText, std::string refreshText) {
  numbersText_ = std::move(numbersText);
  refreshText_ = std::move(refreshText);
  changes_.clear();
  escaped_ = nullptr;
}

void RecordedView::ClearList(WatchList list) {
  changes_.push_back({.kind = Kind::ClearList, .list = list});
}

void RecordedView::AppendAndSelect(WatchList list, std::string_view line) {
  changes_.push_back({.kind = Kind::AppendAndSelect, .list = list, .text = std::string(line)});
}

void RecordedView::AppendEvent(const EventLine& line) {
  changes_.push_back({.kind = Kind::AppendEvent,
                      .text = std::string(line.text),
                      .eventKind = line.kind,
                      .at = line.at,
                      .number = std::string(line.number),
                      .stateCode = std::string(line.stateCode),
                      .eventText = std::string(line.eventText),
                      .message = std::string(line.message)});
}

void RecordedView::ShowMessage(const std::string& text) {
  changes_.push_back({.kind = Kind::ShowMessage, .text = text});
}

void RecordedView::SetQueryEnabled(bool enabled) {
  changes_.push_back({.kind = Kind::SetQueryEnabled, .flag = enabled});
}

void RecordedView::SetStopEnabled(bool enabled) {
  changes_.push_back({.kind = Kind::SetStopEnabled, .flag = enabled});
}

void RecordedView::SetEnabled(bool enabled) {
  changes_.push_back({.kind = Kind::SetTimerEnabled, .flag = enabled});
}

void RecordedView::SetInterval(std::uint32_t milliseconds) {
  changes_.push_back({.kind = Kind::SetTimerInterval, .milliseconds = milliseconds});
}

void RecordedView::Replay(WatchView& view, RefreshTimer& timer) {
  ReplayWhile(view, timer, [] { return true; });
}

bool RecordedView::ReplayWhile(WatchView& view, RefreshTimer& timer,
                               const std::function<bool()>& more) {
  if (played_ == 0 && replaying_.empty()) {
    replaying_ = std::exchange(changes_, {});
    replayingEscaped_ = std::exchange(escaped_, nullptr);
  }
  while (played_ < replaying_.size()) {
    // Counted before it is played: a message box shown by it runs an event
    // loop, and whatever that loop starts may begin a new recording.
    const Change& change = replaying_[played_++];
    Play(change, view, timer);
    if (played_ < replaying_.size() && !more()) return false;
  }
  replaying_.clear();
  played_ = 0;
  if (replayingEscaped_) std::rethrow_exception(std::exchange(replayingEscaped_, nullptr));
  return true;
}

void RecordedView::Play(const Change& change, WatchView& view, RefreshTimer& timer) {
  switch (change.kind) {
    case Kind::ClearList: view.ClearList(change.list); break;
    case Kind::AppendAndSelect: view.AppendAndSelect(change.list, change.text); break;
    case Kind::AppendEvent: {
      EventLine line;
      line.kind = change.eventKind;
      line.at = change.at;
      line.number = change.number;
      line.stateCode = change.stateCode;
      line.eventText = change.eventText;
      line.message = change.message;
      line.text = change.text;
      view.AppendEvent(line);
      break;
    }
    case Kind::ShowMessage: view.ShowMessage(change.text); break;
    case Kind::SetQueryEnabled: view.SetQueryEnabled(change.flag); break;
    case Kind::SetStopEnabled: view.SetStopEnabled(change.flag); break;
    case Kind::SetTimerEnabled: timer.SetEnabled(change.flag); break;
    case Kind::SetTimerInterval: timer.SetInterval(change.milliseconds); break;
  }
}

}  // namespace umbra
