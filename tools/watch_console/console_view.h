#pragma once
// The watch shown on a terminal: event-log lines go to standard output as
// they are written; what the window would show in a message box ends the run.

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "watch/watch_ports.h"

namespace umbra::console {

// A message the window would have shown in a box. what() is UTF-8.
class MessageShown : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class ConsoleView final : public WatchView {
 public:
  // The two texts are GBK bytes, fixed for the run.
  ConsoleView(std::string numbers, std::string refresh, std::FILE* out);

  std::string NumbersText() override { return numbers_; }
  std::string RefreshText() override { return refresh_; }
  void ClearList(WatchList list) override;
  void AppendAndSelect(WatchList list, const std::string& line) override;
  [[noreturn]] void ShowMessage(const std::string& text) override;
  void SetQueryEnabled(bool) override {}
  void SetStopEnabled(bool) override {}

  // "在线状态: " and "离线状态: " followed by the lists' numbers joined by ",".
  void PrintLists();

 private:
  std::string numbers_;
  std::string refresh_;
  std::FILE* out_;
  std::vector<std::string> online_;
  std::vector<std::string> offline_;
};

}  // namespace umbra::console
