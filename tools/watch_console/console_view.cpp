#include "tools/watch_console/console_view.h"

#include <utility>

#include "base/gbk.h"

namespace umbra::console {

namespace {

void PrintLine(std::FILE* out, const std::string& utf8) {
  std::fwrite(utf8.data(), 1, utf8.size(), out);
  std::fputc('\n', out);
  std::fflush(out);  // a watcher's output is read as it comes
}

void AppendNumber(std::string& list, std::size_t& count, std::string_view number) {
  if (count++ > 0) list += ',';
  list += number;
}

// The caption and the whole list, converted at once. That gives the same
// bytes as converting number by number: "," is never the second byte of a GBK
// character, so no character (nor a broken one) reaches across it.
void PrintList(std::FILE* out, std::string_view caption, const std::string& gbkList) {
  const std::string utf8 = GbkToUtf8(gbkList);
  std::fwrite(caption.data(), 1, caption.size(), out);
  std::fwrite(utf8.data(), 1, utf8.size(), out);
  std::fputc('\n', out);
  std::fflush(out);
}

}  // namespace

ConsoleView::ConsoleView(std::string numbers, std::string refresh, std::FILE* out, std::FILE* messages)
    : numbers_(std::move(numbers)), refresh_(std::move(refresh)), out_(out), messages_(messages) {}

void ConsoleView::ClearList(WatchList list) {
  if (list == WatchList::Online) {
    online_.clear();
    onlineCount_ = 0;
  }
  if (list == WatchList::Offline) {
    offline_.clear();
    offlineCount_ = 0;
  }
}

void ConsoleView::AppendAndSelect(WatchList list, std::string_view line) {
  switch (list) {
    case WatchList::Online:
      AppendNumber(online_, onlineCount_, line);
      break;
    case WatchList::Offline:
      AppendNumber(offline_, offlineCount_, line);
      break;
    case WatchList::EventLog:
      break;
  }
}

void ConsoleView::AppendEvent(const EventLine& line) { PrintLine(out_, GbkToUtf8(line.text)); }

void ConsoleView::ShowMessage(const std::string& text) {
  messageShown_ = true;
  PrintLine(messages_, GbkToUtf8(text));
}

void ConsoleView::PrintLists() {
  PrintList(out_, "在线状态: ", online_);
  PrintList(out_, "离线状态: ", offline_);
}

}  // namespace umbra::console
