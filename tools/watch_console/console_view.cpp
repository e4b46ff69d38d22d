#include "tools/watch_console/console_view.h"

#include <utility>

#include "base/gbk.h"
#include "tools/watch_console/event_json.h"

namespace umbra::console {

namespace {

void PrintLine(std::FILE* out, const std::string& utf8) {
  std::fwrite(utf8.data(), 1, utf8.size(), out);
  std::fputc('\n', out);
  std::fflush(out);  // a watcher's output is read as it comes
}

std::string Joined(const std::vector<std::string>& numbers) {
  std::string joined;
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    if (i > 0) joined += ',';
    joined += GbkToUtf8(numbers[i]);
  }
  return joined;
}

}  // namespace

ConsoleView::ConsoleView(std::string numbers, std::string refresh, std::FILE* out, std::FILE* messages,
                         OutputForm form)
    : numbers_(std::move(numbers)), refresh_(std::move(refresh)), out_(out), messages_(messages), form_(form) {}

void ConsoleView::ClearList(WatchList list) {
  if (list == WatchList::Online) online_.clear();
  if (list == WatchList::Offline) offline_.clear();
}

void ConsoleView::AppendAndSelect(WatchList list, std::string_view line) {
  switch (list) {
    case WatchList::Online:
      online_.emplace_back(line);
      break;
    case WatchList::Offline:
      offline_.emplace_back(line);
      break;
    case WatchList::EventLog:
      break;
  }
}

void ConsoleView::AppendEvent(const EventLine& line) {
  PrintLine(out_, form_ == OutputForm::Json ? EventJson(line) : GbkToUtf8(line.text));
}

void ConsoleView::ShowMessage(const std::string& text) {
  messageShown_ = true;
  PrintLine(messages_, GbkToUtf8(text));
}

void ConsoleView::PrintLists() {
  if (form_ == OutputForm::Json) {
    PrintLine(out_, ListsJson(online_, offline_));
    return;
  }
  PrintLine(out_, "在线状态: " + Joined(online_));
  PrintLine(out_, "离线状态: " + Joined(offline_));
}

}  // namespace umbra::console
