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

class WatchView {
 public:
  virtual ~WatchView() = default;
  // The numbers field (QQhaoma) and the refresh-time box (jiange), read anew
  // at every use.
  virtual std::string NumbersText() = 0;
  virtual std::string RefreshText() = 0;
  virtual void ClearList(WatchList list) = 0;
  // Appends a line at the end of the list and selects it, which also scrolls
  // it into view.
  virtual void AppendAndSelect(WatchList list, std::string_view line) = 0;
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
