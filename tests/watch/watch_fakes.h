#pragma once
// Recording stand-ins for what the watch talks to: the window's inputs,
// lists, message box and buttons, the refresh timer and the clock. One
// journal records the calls of all of them in the order they came.

#include <array>
#include <string>
#include <vector>

#include "watch/watch_ports.h"

namespace umbra::test {

using Journal = std::vector<std::string>;

class RecordingView final : public WatchView {
 public:
  explicit RecordingView(Journal& journal) : journal_(journal) {}

  std::string numbers;  // GBK
  std::string refresh = "30";
  std::array<std::vector<std::string>, 3> lists;
  std::array<int, 3> selected{-1, -1, -1};
  std::vector<std::string> messages;
  bool queryEnabled = true;
  bool stopEnabled = false;

  const std::vector<std::string>& List(WatchList list) const { return lists[Index(list)]; }
  int Selected(WatchList list) const { return selected[Index(list)]; }

  std::string NumbersText() override { return numbers; }
  std::string RefreshText() override { return refresh; }
  void ClearList(WatchList list) override {
    lists[Index(list)].clear();
    selected[Index(list)] = -1;
  }
  void AppendAndSelect(WatchList list, std::string_view line) override {
    lists[Index(list)].emplace_back(line);
    selected[Index(list)] = static_cast<int>(lists[Index(list)].size()) - 1;
  }
  // Every event line as the watch described it, with its parts copied.
  struct RecordedEvent {
    EventLine::Kind kind;
    LocalDateTime at;
    std::string number, stateCode, eventText, message, text;
  };
  std::vector<RecordedEvent> events;
  void AppendEvent(const EventLine& line) override {
    events.push_back(RecordedEvent{line.kind, line.at, std::string(line.number), std::string(line.stateCode),
                                   std::string(line.eventText), std::string(line.message),
                                   std::string(line.text)});
    AppendAndSelect(WatchList::EventLog, line.text);
  }
  void ShowMessage(const std::string& text) override {
    messages.push_back(text);
    journal_.push_back("message " + text);
  }
  void SetQueryEnabled(bool enabled) override {
    queryEnabled = enabled;
    journal_.push_back(std::string("query ") + (enabled ? "on" : "off"));
  }
  void SetStopEnabled(bool enabled) override {
    stopEnabled = enabled;
    journal_.push_back(std::string("stop ") + (enabled ? "on" : "off"));
  }

 private:
  static std::size_t Index(WatchList list) { return static_cast<std::size_t>(list); }
  Journal& journal_;
};

class FakeTimer final : public RefreshTimer {
 public:
  explicit FakeTimer(Journal& journal) : journal_(journal) {}

  bool enabled = false;
  std::uint32_t interval = 100;  // the timer's design-time interval

  void SetEnabled(bool on) override {
    enabled = on;
    journal_.push_back(std::string("timer ") + (on ? "on" : "off"));
  }
  void SetInterval(std::uint32_t milliseconds) override {
    interval = milliseconds;
    journal_.push_back("interval " + std::to_string(milliseconds));
  }

 private:
  Journal& journal_;
};

class FakeClock final : public Clock {
 public:
  LocalDateTime now{2026, 12, 10, 20, 34, 5};
  LocalDateTime Now() override { return now; }
};

}  // namespace umbra::test
