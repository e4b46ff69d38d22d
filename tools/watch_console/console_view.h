#pragma once
// The watch shown on a terminal: event-log lines go to standard output as
// they are written, as text or as JSON objects; what the window would show in
// a message box goes to standard error, and the run ends once the watch has
// dealt with it.

#include <cstdio>
#include <string>
#include <string_view>

#include "watch/watch_ports.h"

namespace umbra::console {

enum class OutputForm {
  Text,  // the event log's lines, UTF-8
  Json,  // one JSON object per line (event_json.h)
};

class ConsoleView final : public WatchView {
 public:
  // The two texts are GBK bytes, fixed for the run.
  ConsoleView(std::string numbers, std::string refresh, std::FILE* out, std::FILE* messages,
              OutputForm form = OutputForm::Text);

  std::string NumbersText() override { return numbers_; }
  std::string RefreshText() override { return refresh_; }
  void ClearList(WatchList list) override;
  void AppendAndSelect(WatchList list, std::string_view line) override;
  void AppendEvent(const EventLine& line) override;
  // Prints the message (UTF-8) to the messages stream and returns.
  void ShowMessage(const std::string& text) override;
  void SetQueryEnabled(bool) override {}
  void SetStopEnabled(bool) override {}

  // "在线状态: " and "离线状态: " followed by the lists' numbers joined by ","
  // (as JSON: one object with both lists).
  void PrintLists();

  // Whether a message has been shown; the console then ends the run.
  bool MessageWasShown() const { return messageShown_; }

 private:
  std::string numbers_;
  std::string refresh_;
  std::FILE* out_;
  std::FILE* messages_;
  OutputForm form_;
  bool messageShown_ = false;
  // Each list as one GBK text, its numbers joined by ",", so that a list of
  // many thousands is one buffer and one conversion.
  std::string online_;
  std::string offline_;
  std::size_t onlineCount_ = 0;
  std::size_t offlineCount_ = 0;
};

}  // namespace umbra::console
