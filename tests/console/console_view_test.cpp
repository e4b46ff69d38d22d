#include "tools/watch_console/console_view.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/gbk.h"

namespace umbra::console {
namespace {

// Standard output as a string the test can read.
class CapturedStream {
 public:
  CapturedStream() : file_(open_memstream(&data_, &size_)) {}
  ~CapturedStream() {
    std::fclose(file_);
    std::free(data_);
  }
  std::FILE* File() { return file_; }
  std::string Text() {
    std::fflush(file_);
    return std::string(data_, size_);
  }

 private:
  char* data_ = nullptr;
  std::size_t size_ = 0;
  std::FILE* file_;
};

struct ListsCase {
  const char* name;
  std::vector<std::string> online;   // GBK
  std::vector<std::string> offline;  // GBK
  std::string printed;               // UTF-8
};
void PrintTo(const ListsCase& c, std::ostream* os) { *os << c.name; }

class ConsoleListsTest : public ::testing::TestWithParam<ListsCase> {};

TEST_P(ConsoleListsTest, PrintsEachListOnOneLine) {
  const ListsCase& c = GetParam();
  CapturedStream out;
  ConsoleView view("", "30", out.File(), stderr);
  // What an earlier scan left is gone once the lists are cleared.
  view.AppendAndSelect(WatchList::Online, "stale");
  view.AppendAndSelect(WatchList::Offline, "stale");
  view.ClearList(WatchList::Online);
  view.ClearList(WatchList::Offline);
  for (const std::string& number : c.online) view.AppendAndSelect(WatchList::Online, number);
  for (const std::string& number : c.offline) view.AppendAndSelect(WatchList::Offline, number);
  view.PrintLists();
  EXPECT_EQ(out.Text(), c.printed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConsoleListsTest,
    ::testing::Values(
        ListsCase{"BothEmpty", {}, {}, "在线状态: \n离线状态: \n"},
        ListsCase{"JoinedByCommas", {"111", "333"}, {"222"}, "在线状态: 111,333\n离线状态: 222\n"},
        // Empty number texts still take their place between the commas.
        ListsCase{"EmptyNumbersKeepTheirPlace", {"", "1", ""}, {""}, "在线状态: ,1,\n离线状态: \n"},
        ListsCase{"ChineseNumbers", {Utf8ToGbk("你好"), Utf8ToGbk("世界")}, {}, "在线状态: 你好,世界\n离线状态: \n"},
        // Bytes that start no GBK character are replaced one by one, and a
        // broken character never swallows the comma after it.
        ListsCase{"BrokenGbkStaysWithinItsNumber",
                  {"1\x81", "\x81", "\xff" "2"},
                  {"\x81\x81\x81", "x"},
                  "在线状态: 1\xEF\xBF\xBD,\xEF\xBF\xBD,\xEF\xBF\xBD" "2\n"
                  "离线状态: 亖\xEF\xBF\xBD,x\n"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace umbra::console
