#pragma once
// What the watch needs from whatever shows it: the window, the console, or a
// test's recording fake. All texts are GBK bytes.

#include <cstdint>
#include <string>
#include <string_view>

#include "base/local_time.h"

namespace umbra {

enum class WatchList {
  Online,    // ListBox1
  Offline,   // ListBox2
  EventLog,  // ListBox3
};

// One line of the event log, with the parts it was made of, so that a front
// end can tell more than the line itself (a notification, a JSON record).
// The views point into texts that live only for the call.
struct EventLine {
  enum class Kind {
    Change,   // a number whose state code changed
    Failure,  // a scan that failed
  };
  Kind kind = Kind::Change;
  LocalDateTime at;             // the moment the line's date-time text names
  std::string_view number;      // Change: the number text
  std::string_view stateCode;   // Change: the new state code ("1" online, "0" offline)
  std::string_view eventText;   // Change: "在线!", "离线", "上线了!!!" or "隐身中!"
  std::string_view message;     // Failure: the error's message
  std::string_view text;        // the whole line as the event log shows it
};

class WatchView {
 public:
  virtual ~WatchView() = default;
  // The numbers field (QQhaoma) and the refresh-time box (jiange), read anew
  // at every use.
  virtual std::string NumbersText() = 0;
  virtual std::string RefreshText() = 0;
  // Empties the online or the offline list; nothing ever empties the event
  // log.
  virtual void ClearList(WatchList list) = 0;
  // Appends a number at the end of the online or the offline list and selects
  // it, which also scrolls it into view.
  virtual void AppendAndSelect(WatchList list, std::string_view line) = 0;
  // Appends a line at the end of the event log and selects it.
  virtual void AppendEvent(const EventLine& line) = 0;
  // The plain message box: modal, returns when the user has dismissed it.
  virtual void ShowMessage(const std::string& text) = 0;
  virtual void SetQueryEnabled(bool enabled) = 0;  // Button1
  virtual void SetStopEnabled(bool enabled) = 0;   // Button2
};

// The refresh timer ScanUpDate. Setting a value it already holds does
// nothing; setting a new one restarts the period from that moment when the
// timer is enabled. An enabled timer with interval 0 never ticks.
class RefreshTimer {
 public:
  virtual ~RefreshTimer() = default;
  virtual void SetEnabled(bool enabled) = 0;
  virtual void SetInterval(std::uint32_t milliseconds) = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalDateTime Now() = 0;
};

}  // namespace umbra
