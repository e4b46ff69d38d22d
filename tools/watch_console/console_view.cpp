#include "tools/watch_console/console_view.h"

#include <utility>
#include <vector>

#include "base/gbk.h"
#include "tools/watch_console/event_json.h"

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

// The numbers of a list kept as one text. A number text never holds ",",
// since the numbers field is cut at ","; the count tells an empty list from
// a list of one empty number text.
std::vector<std::string> Numbers(const std::string& list, std::size_t count) {
  std::vector<std::string> numbers;
  if (count == 0) return numbers;
  numbers.reserve(count);
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = list.find(',', start);
    numbers.emplace_back(list.substr(start, comma - start));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return numbers;
}

}  // namespace

ConsoleView::ConsoleView(std::string numbers, std::string refresh, std::FILE* out, std::FILE* messages,
                         OutputForm form)
    : numbers_(std::move(numbers)), refresh_(std::move(refresh)), out_(out), messages_(messages), form_(form) {}

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

void ConsoleView::AppendEvent(const EventLine& line) {
  PrintLine(out_, form_ == OutputForm::Json ? EventJson(line) : GbkToUtf8(line.text));
}

void ConsoleView::ShowMessage(const std::string& text) {
  messageShown_ = true;
  PrintLine(messages_, GbkToUtf8(text));
}

void ConsoleView::PrintLists() {
  if (form_ == OutputForm::Json) {
    PrintLine(out_, ListsJson(Numbers(online_, onlineCount_), Numbers(offline_, offlineCount_)));
    return;
  }
  PrintList(out_, "在线状态: ", online_);
  PrintList(out_, "离线状态: ", offline_);
}

}  // namespace umbra::console
