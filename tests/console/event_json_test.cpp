#include "tools/watch_console/event_json.h"

#include <gtest/gtest.h>

#include <string>

#include "base/gbk.h"

namespace umbra::console {
namespace {

struct ChangeCase {
  const char* name;
  std::string numberUtf8;
  std::string stateCode;
  std::string eventUtf8;
  std::string json;  // what follows the time member
};
void PrintTo(const ChangeCase& c, std::ostream* os) { *os << c.name; }

class ChangeJsonTest : public ::testing::TestWithParam<ChangeCase> {};

TEST_P(ChangeJsonTest, NamesTheStateAndCarriesTheLineInUtf8) {
  const ChangeCase& c = GetParam();
  const std::string number = Utf8ToGbk(c.numberUtf8);
  const std::string event = Utf8ToGbk(c.eventUtf8);
  const std::string text = Utf8ToGbk("2026/12/11 3:41:30-----") + number + event;
  EventLine line;
  line.kind = EventLine::Kind::Change;
  line.at = {2026, 12, 11, 3, 41, 30, 8 * 3600};
  line.number = number;
  line.stateCode = c.stateCode;
  line.eventText = event;
  line.text = text;
  EXPECT_EQ(EventJson(line), R"({"kind":"change","time":"2026-12-11T03:41:30+08:00",)" + c.json);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ChangeJsonTest,
    ::testing::Values(
        ChangeCase{"Online", "10001", "1", "上线了!!!",
                   R"("number":"10001","state":"online","event":"上线了!!!","line":"2026/12/11 3:41:30-----10001上线了!!!"})"},
        ChangeCase{"Offline", "10001", "0", "离线",
                   R"("number":"10001","state":"offline","event":"离线","line":"2026/12/11 3:41:30-----10001离线"})"},
        // A code that is neither lands in the offline list but is worded as
        // coming online; the record says what it was.
        ChangeCase{"OtherCode", "10001", "2", "在线!",
                   R"("number":"10001","state":"other","event":"在线!","line":"2026/12/11 3:41:30-----10001在线!"})"},
        ChangeCase{"EmptyCode", "", "", "在线!",
                   R"("number":"","state":"other","event":"在线!","line":"2026/12/11 3:41:30-----在线!"})"},
        ChangeCase{"NumberNeedingEscapes", "你\"\\\t\x01", "1", "在线!",
                   R"("number":"你\"\\\t\u0001","state":"online","event":"在线!","line":"2026/12/11 3:41:30-----你\"\\\t\u0001在线!"})"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FailureJson, CarriesTheErrorWithItsLineBreak) {
  const std::string message = "Socket Error # 10061\r\nConnection refused.";
  const std::string text = Utf8ToGbk("2026/12/11 3:41:30---远程数据加载失败----错误代码:") + message;
  EventLine line;
  line.kind = EventLine::Kind::Failure;
  line.at = {2026, 12, 11, 3, 41, 30, -5 * 3600};
  line.message = message;
  line.text = text;
  EXPECT_EQ(EventJson(line),
            R"({"kind":"failure","time":"2026-12-11T03:41:30-05:00","error":"Socket Error # 10061\r\nConnection refused.",)"
            R"("line":"2026/12/11 3:41:30---远程数据加载失败----错误代码:Socket Error # 10061\r\nConnection refused."})");
}

TEST(ListsJson, HoldsBothListsInOrder) {
  EXPECT_EQ(ListsJson({"10001", Utf8ToGbk("你好")}, {}),
            R"({"kind":"lists","online":["10001","你好"],"offline":[]})");
}

}  // namespace
}  // namespace umbra::console
