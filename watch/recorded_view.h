#pragma once
// A stand-in view and timer that let the watch run away from the thread that
// owns the real ones. It answers the two input texts from a snapshot taken
// before the run, records every change the watch makes (lists, event log,
// messages, buttons, timer) and the error that escaped the run, and later
// plays them back onto the real view and timer in the order they were made.
//
// One thread at a time: Begin and Replay on the owner's thread, the watch's
// calls on the worker in between. Whoever hands the object from one thread to
// the other provides the ordering (a join, a queued call).

#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "watch/watch_ports.h"

namespace umbra {

class RecordedView final : public WatchView, public RefreshTimer {
 public:
  // Forgets the last recording; the watch reads these texts until the next
  // Begin. They are what the real fields held when the run was started. A
  // playback in parts still under way goes on with its own changes.
  void Begin(std::string numbersText, std::string refreshText);

  // An error that escaped the run; Replay throws it again after the changes.
  void RecordEscaped(std::exception_ptr error) { escaped_ = std::move(error); }

  // Plays every recorded change onto `view` and `timer` in order, then
  // rethrows the escaped error, if any. A message box shown on the way
  // returns before the next change is made, as it did when the watch ran on
  // the view's own thread. The recording is used up.
  void Replay(WatchView& view, RefreshTimer& timer);

  // The same in parts, so that the thread it runs on can do other work in
  // between: plays back changes while `more` (asked after each one) says so.
  // Returns true once the last change has been played (and then rethrows
  // the escaped error), false when changes are left for the next call. An
  // error thrown by the view or the timer passes on; the changes after it
  // are left for the next call.
  bool ReplayWhile(WatchView& view, RefreshTimer& timer, const std::function<bool()>& more);
  // A playback in parts is under way.
  bool ReplayPending() const { return !replaying_.empty(); }

  // WatchView
  std::string NumbersText() override { return numbersText_; }
  std::string RefreshText() override { return refreshText_; }
  void ClearList(WatchList list) override;
  void AppendAndSelect(WatchList list, std::string_view line) override;
  void AppendEvent(const EventLine& line) override;
  void ShowMessage(const std::string& text) override;
  void SetQueryEnabled(bool enabled) override;
  void SetStopEnabled(bool enabled) override;

  // RefreshTimer
  void SetEnabled(bool enabled) override;
  void SetInterval(std::uint32_t milliseconds) override;

 private:
  enum class Kind {
    ClearList,
    AppendAndSelect,
    AppendEvent,
    ShowMessage,
    SetQueryEnabled,
    SetStopEnabled,
    SetTimerEnabled,
    SetTimerInterval,
  };
  // One change. The texts an EventLine points into are owned here, so they
  // outlive the watch's call.
  struct Change {
    Kind kind;
    WatchList list = WatchList::Online;
    bool flag = false;
    std::uint32_t milliseconds = 0;
    std::string text{};  // the line, the message, or the event line's whole text
    EventLine::Kind eventKind = EventLine::Kind::Change;
    LocalDateTime at{};
    std::string number{}, stateCode{}, eventText{}, message{};
  };

  std::string numbersText_;
  std::string refreshText_;
  void Play(const Change& change, WatchView& view, RefreshTimer& timer);

  std::vector<Change> changes_;
  std::exception_ptr escaped_;
  // Being played back: the changes and how many of them have been played.
  std::vector<Change> replaying_;
  std::exception_ptr replayingEscaped_;
  std::size_t played_ = 0;
};

}  // namespace umbra
