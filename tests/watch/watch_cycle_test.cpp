#include "watch/watch_cycle.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/closed_port.h"
#include "tests/support/scripted_http_server.h"
#include "tests/support/temp_working_dir.h"
#include "tests/watch/watch_fakes.h"
#include "base/gbk.h"
#include "watch/integer_text.h"

namespace umbra {
namespace {

using test::ReadFileBytes;
using test::ScriptedHttpServer;
using test::ScriptedReply;
using Lines = std::vector<std::string>;

std::string G(const char* utf8) { return Utf8ToGbk(utf8); }

const char kNow[] = "2026/12/10 20:34:05";

// A change line as the event log holds it.
std::string ChangeLine(const std::string& number, const char* eventUtf8) {
  return std::string(kNow) + "-----" + number + G(eventUtf8);
}

std::string FailureLine(const std::string& message) {
  return std::string(kNow) + G("---远程数据加载失败----错误代码:") + message;
}

class WatchCycleTest : public ::testing::Test {
 protected:
  WatchCycleTest() { view_.numbers = "111,222"; }

  // A watch against `endpoint` instead of the scripted server.
  WatchCycle WatchAt(const std::string& endpoint) {
    return WatchCycle(view_, timer_, clock_, http_, endpoint);
  }

  const Lines& Online() const { return view_.List(WatchList::Online); }
  const Lines& Offline() const { return view_.List(WatchList::Offline); }
  const Lines& Log() const { return view_.List(WatchList::EventLog); }

  test::TempWorkingDir dir_;
  ScriptedHttpServer server_;
  test::Journal journal_;
  test::RecordingView view_{journal_};
  test::FakeTimer timer_{journal_};
  test::FakeClock clock_;
  net::HttpClient http_{std::chrono::seconds(5)};
  WatchCycle watch_{view_, timer_, clock_, http_, server_.BaseUrl()};
};

TEST_F(WatchCycleTest, FirstScanThenUnchangedThenChangedReplies) {
  server_.SetScript({ScriptedReply::Ok("a=1;b=0;"), ScriptedReply::Ok("a=1;b=0;"),
                     ScriptedReply::Ok("a=0;b=1;")});

  watch_.Start();
  EXPECT_EQ(Online(), Lines{"111"});
  EXPECT_EQ(Offline(), Lines{"222"});
  EXPECT_EQ(view_.Selected(WatchList::Online), 0);
  EXPECT_EQ(view_.Selected(WatchList::Offline), 0);
  EXPECT_EQ(Log(), (Lines{ChangeLine("111", "在线!"), ChangeLine("222", "离线")}));
  EXPECT_EQ(view_.Selected(WatchList::EventLog), 1);
  EXPECT_EQ(ReadFileBytes("111.txt"), std::string(kNow) + "-----" + G("在线!") + "\r\n");
  EXPECT_EQ(ReadFileBytes("222.txt"), std::string(kNow) + "-----" + G("离线") + "\r\n");
  EXPECT_TRUE(watch_.BaselineDone());
  EXPECT_TRUE(timer_.enabled);
  EXPECT_EQ(timer_.interval, 30000u);
  EXPECT_TRUE(view_.stopEnabled);
  EXPECT_FALSE(view_.queryEnabled);
  // The period is set before the scan; the scan, not Query, arms the timer.
  EXPECT_EQ(journal_, (Lines{"interval 30000", "timer on", "stop on", "query off"}));

  watch_.Tick();
  EXPECT_EQ(Online(), Lines{"111"});
  EXPECT_EQ(Offline(), Lines{"222"});
  EXPECT_EQ(Log().size(), 2u);

  clock_.now = {2026, 12, 10, 21, 0, 0};
  watch_.Tick();
  EXPECT_EQ(Online(), Lines{"222"});
  EXPECT_EQ(Offline(), Lines{"111"});
  ASSERT_EQ(Log().size(), 4u);
  EXPECT_EQ(Log()[2], "2026/12/10 21:00:00-----111" + G("隐身中!"));
  EXPECT_EQ(Log()[3], "2026/12/10 21:00:00-----222" + G("上线了!!!"));
  EXPECT_EQ(ReadFileBytes("111.txt"), std::string(kNow) + "-----" + G("在线!") +
                                          "\r\n2026/12/10 21:00:00-----" + G("隐身中!") + "\r\n");

  // One request per scan, all of them over the one kept connection.
  const auto requests = server_.Requests();
  ASSERT_EQ(requests.size(), 3u);
  for (const auto& request : requests) {
    EXPECT_EQ(request.bytes.rfind("GET /getonline?Type=1&111:222: HTTP/1.1\r\n", 0), 0u);
    EXPECT_EQ(request.connection, 1);
  }
}

TEST_F(WatchCycleTest, EventLinesCarryThePartsTheyWereMadeOf) {
  server_.SetScript({ScriptedReply::Ok("a=1;b=0;"), ScriptedReply::Raw("HTTP/1.1 503 Busy\r\nContent-Length: 0\r\n\r\n")});
  watch_.Start();
  watch_.Tick();
  ASSERT_EQ(view_.events.size(), 3u);
  const auto& online = view_.events[0];
  EXPECT_EQ(online.kind, EventLine::Kind::Change);
  EXPECT_EQ(online.number, "111");
  EXPECT_EQ(online.stateCode, "1");
  EXPECT_EQ(online.eventText, G("在线!"));
  EXPECT_EQ(online.text, ChangeLine("111", "在线!"));
  EXPECT_EQ(online.at.hour, 20);
  EXPECT_EQ(view_.events[1].stateCode, "0");
  EXPECT_EQ(view_.events[1].eventText, G("离线"));
  const auto& failure = view_.events[2];
  EXPECT_EQ(failure.kind, EventLine::Kind::Failure);
  EXPECT_EQ(failure.message, "HTTP/1.1 503 Busy");
  EXPECT_EQ(failure.text, FailureLine("HTTP/1.1 503 Busy"));
  EXPECT_TRUE(failure.number.empty());
}

struct StateCodeCase {
  const char* name;
  const char* body;
  WatchList list;
  const char* event;  // nullptr: no change reported
};
void PrintTo(const StateCodeCase& c, std::ostream* os) { *os << c.name; }

class WatchStateCodeTest : public WatchCycleTest, public ::testing::WithParamInterface<StateCodeCase> {};

// The list is chosen by "1", the wording by "0".
TEST_P(WatchStateCodeTest, ChoosesListAndWording) {
  const StateCodeCase& c = GetParam();
  view_.numbers = "111";
  server_.ReplyOkToEveryRequest(c.body);
  watch_.Start();
  EXPECT_EQ(view_.List(c.list), Lines{"111"});
  EXPECT_EQ(Log(), c.event ? Lines{ChangeLine("111", c.event)} : Lines{});
  EXPECT_EQ(std::filesystem::exists("111.txt"), c.event != nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WatchStateCodeTest,
    ::testing::Values(StateCodeCase{"Online", "a=1;", WatchList::Online, "在线!"},
                      StateCodeCase{"Offline", "a=0;", WatchList::Offline, "离线"},
                      StateCodeCase{"OtherCode", "a=2;", WatchList::Offline, "在线!"},
                      StateCodeCase{"CodeWithLineEnd", "a=1\r\n;", WatchList::Offline, "在线!"},
                      StateCodeCase{"CodeUpToSecondEquals", "a=1=9;", WatchList::Online, "在线!"},
                      // An empty code equals the empty code a new row starts with.
                      StateCodeCase{"EmptyCode", "a=;", WatchList::Offline, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WatchCycleTest, EntriesAreMatchedToNumbersByPositionOnly) {
  view_.numbers = "1,2,3";
  server_.SetScript({ScriptedReply::Ok("a=1;"), ScriptedReply::Ok("a=1;b=0;c=1;d=0;e=1;")});
  watch_.Start();
  // Numbers without an entry are in neither list and keep their empty code.
  EXPECT_EQ(Online(), Lines{"1"});
  EXPECT_EQ(Offline(), Lines{});
  EXPECT_EQ(watch_.Table()[1].stateCode, "");

  // Entries beyond the watched numbers answer for nobody.
  view_.numbers = "1,2";
  watch_.Tick();
  EXPECT_EQ(watch_.Table().size(), 2u);
  EXPECT_EQ(Online(), Lines{"1"});
  EXPECT_EQ(Offline(), Lines{"2"});
  EXPECT_EQ(Log().back(), ChangeLine("2", "隐身中!"));
  EXPECT_FALSE(watch_.LastScanFailed());
}

TEST_F(WatchCycleTest, EntriesBeyondTheNumbersAreNotReadAtAll) {
  // Were the surplus entries read, the one without "=" would fail the scan.
  server_.ReplyOkToEveryRequest("a=1;b=0;broken;" + std::string(1 << 20, ';'));
  watch_.Start();
  EXPECT_EQ(Online(), Lines{"111"});
  EXPECT_EQ(Offline(), Lines{"222"});
  EXPECT_EQ(Log(), (Lines{ChangeLine("111", "在线!"), ChangeLine("222", "离线")}));
  EXPECT_FALSE(watch_.LastScanFailed());
}

TEST_F(WatchCycleTest, RowsAddedLaterStartEmptyWhileKeptRowsKeepTheirCodes) {
  view_.numbers = "111";
  server_.SetScript({ScriptedReply::Ok("a=1;"), ScriptedReply::Ok("a=1;b=0;c=;"), ScriptedReply::Ok("a=0;")});
  watch_.Start();
  view_.numbers = "111,222,333";
  watch_.Tick();
  // 111 is unchanged; 222 is new; 333's empty code equals a new row's.
  EXPECT_EQ(Log(), (Lines{ChangeLine("111", "在线!"), ChangeLine("222", "隐身中!")}));
  EXPECT_EQ(Offline(), (Lines{"222", "333"}));
  view_.numbers = "111";
  watch_.Tick();
  ASSERT_EQ(watch_.Table().size(), 1u);
  EXPECT_EQ(Log().back(), ChangeLine("111", "隐身中!"));
}

// The reply is cut by the same rule as any text: a ";" right behind a lead
// byte is the second byte of a character, not the end of an entry.
TEST_F(WatchCycleTest, ASemicolonBehindALeadByteEndsNoEntry) {
  server_.ReplyOkToEveryRequest("a=1\x81;b=0;");
  watch_.Start();
  EXPECT_EQ(Online(), Lines{});
  EXPECT_EQ(Offline(), Lines{"111"});
  EXPECT_EQ(watch_.Table()[0].stateCode, "1\x81;b");
  EXPECT_EQ(watch_.Table()[1].stateCode, "");
}

TEST_F(WatchCycleTest, NumberTextsAreKeptAsTyped) {
  view_.numbers = "123, 456,";
  server_.ReplyOkToEveryRequest("a=1;b=0;c=0;");
  watch_.Start();
  EXPECT_EQ(Online(), Lines{"123"});
  EXPECT_EQ(Offline(), (Lines{" 456", ""}));
  EXPECT_EQ(ReadFileBytes(" 456.txt"), std::string(kNow) + "-----" + G("离线") + "\r\n");
  EXPECT_TRUE(std::filesystem::exists(".txt"));
  // The blank cannot stand in a request target as it is.
  EXPECT_EQ(server_.Requests().at(0).bytes.rfind("GET /getonline?Type=1&123:%20456:: HTTP/1.1\r\n", 0), 0u);
}

TEST_F(WatchCycleTest, AChangeAtMidnightCarriesTheDateAlone) {
  clock_.now = {2026, 12, 11, 0, 0, 0};
  view_.numbers = "111";
  server_.ReplyOkToEveryRequest("a=1;");
  watch_.Start();
  EXPECT_EQ(Log(), Lines{"2026/12/11-----111" + G("在线!")});
  EXPECT_EQ(ReadFileBytes("111.txt"), "2026/12/11-----" + G("在线!") + "\r\n");
}

struct ExchangeFailureCase {
  const char* name;
  ScriptedReply reply;
  std::string message;
};
void PrintTo(const ExchangeFailureCase& c, std::ostream* os) { *os << c.name; }

class WatchExchangeFailureTest : public WatchCycleTest,
                                 public ::testing::WithParamInterface<ExchangeFailureCase> {};

TEST_P(WatchExchangeFailureTest, LogsTheMessageAndKeepsTheLastLists) {
  server_.SetScript({ScriptedReply::Ok("a=1;b=0;"), GetParam().reply, ScriptedReply::Ok("a=0;b=1;")});
  watch_.Start();
  journal_.clear();

  watch_.Tick();
  EXPECT_EQ(Log().back(), FailureLine(GetParam().message));
  EXPECT_EQ(view_.Selected(WatchList::EventLog), 2);
  EXPECT_EQ(Online(), Lines{"111"});
  EXPECT_EQ(Offline(), Lines{"222"});
  EXPECT_TRUE(watch_.BaselineDone());
  EXPECT_TRUE(watch_.LastScanFailed());
  EXPECT_EQ(journal_, (Lines{"timer on", "interval 30000"}));

  // The next tick gets through again and words its changes as a later scan.
  watch_.Tick();
  EXPECT_EQ(Log().back(), ChangeLine("222", "上线了!!!"));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WatchExchangeFailureTest,
    ::testing::Values(
        ExchangeFailureCase{"NotFound", ScriptedReply::Raw("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n"),
                            "HTTP/1.1 404 Not Found"},
        ExchangeFailureCase{"Redirect",
                            ScriptedReply::Raw("HTTP/1.1 302 Found\r\nLocation: http://elsewhere/\r\n"
                                               "Content-Length: 0\r\n\r\n"),
                            "HTTP/1.1 302 Found"},
        ExchangeFailureCase{"ClosedInTheStatusLine", ScriptedReply::Raw("HTTP/1.1 20").ThenClose(),
                            "Connection Closed Gracefully."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WatchCycleTest, AFailedFirstScanStillArmsTheTimerAndKeepsTheFirstWording) {
  const test::ClosedPort closed;
  WatchCycle watch = WatchAt(closed.BaseUrl());
  watch.Start();
  EXPECT_EQ(Log(), Lines{FailureLine("Socket Error # 10061\r\nConnection refused.")});
  EXPECT_FALSE(watch.BaselineDone());
  EXPECT_TRUE(timer_.enabled);
  EXPECT_TRUE(view_.stopEnabled);
  EXPECT_EQ(watch.Table().size(), 2u);
}

TEST_F(WatchCycleTest, AnEntryWithoutEqualsSignEndsTheScanWithTheIndexError) {
  view_.numbers = "111,222,333";
  server_.ReplyOkToEveryRequest("a=1;broken;c=0;");
  watch_.Start();
  // The entry before the broken one is handled; nothing after it is.
  EXPECT_EQ(Online(), Lines{"111"});
  EXPECT_EQ(Offline(), Lines{});
  EXPECT_EQ(Log(), (Lines{ChangeLine("111", "在线!"), FailureLine("List index out of bounds (1)")}));
  EXPECT_EQ(watch_.Table()[0].stateCode, "1");
  EXPECT_EQ(watch_.Table()[2].stateCode, "");
  EXPECT_FALSE(watch_.BaselineDone());
  EXPECT_TRUE(timer_.enabled);
}

TEST_F(WatchCycleTest, AFailedHistoryStepKeepsTheChangeItAlreadyReported) {
  std::filesystem::create_directory("111.txt");
  server_.ReplyOkToEveryRequest("a=1;b=0;");
  watch_.Start();
  ASSERT_EQ(Log().size(), 2u);
  EXPECT_EQ(Log()[0], ChangeLine("111", "在线!"));
  const std::string expected = FailureLine("Cannot create file \"" + (dir_.Path() / "111.txt").string() + "\". ");
  EXPECT_EQ(Log()[1].substr(0, expected.size()), expected);
  EXPECT_EQ(Online(), Lines{"111"});
  EXPECT_FALSE(std::filesystem::exists("222.txt"));

  // The code was stored before the history step: the change is not reported
  // again, and the number after it is handled at the next scan.
  watch_.Tick();
  EXPECT_EQ(Log().size(), 3u);
  EXPECT_EQ(Log()[2], ChangeLine("222", "离线"));
}

TEST_F(WatchCycleTest, ANumberNamingAnotherDirectoryFailsTheScanWithoutTouchingFiles) {
  view_.numbers = "../escape";
  server_.ReplyOkToEveryRequest("a=1;");
  watch_.Start();
  ASSERT_EQ(Log().size(), 2u);
  EXPECT_EQ(Log()[1].rfind(FailureLine("Cannot create file \"../escape.txt\". "), 0), 0u);
  EXPECT_FALSE(std::filesystem::exists(dir_.Path().parent_path() / "escape.txt"));
}

struct QueryInputCase {
  const char* name;
  std::string numbers;
  std::string refresh;
  const char* message;
};
void PrintTo(const QueryInputCase& c, std::ostream* os) { *os << c.name; }

class WatchQueryInputTest : public WatchCycleTest, public ::testing::WithParamInterface<QueryInputCase> {};

TEST_P(WatchQueryInputTest, RefusedInputChangesNothing) {
  view_.numbers = GetParam().numbers;
  view_.refresh = GetParam().refresh;
  watch_.Start();
  EXPECT_EQ(journal_, Lines{"message " + G(GetParam().message)});
  EXPECT_EQ(server_.RequestCount(), 0u);
  EXPECT_TRUE(watch_.Table().empty());
  EXPECT_TRUE(Log().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WatchQueryInputTest,
    ::testing::Values(QueryInputCase{"EmptyNumbers", "", "30", "对不起,号码列表不能为空!"},
                      QueryInputCase{"EmptyNumbersAndBadRefresh", "", "abc", "对不起,号码列表不能为空!"},
                      QueryInputCase{"RefreshNotANumber", "111", "abc", "[刷新时间]参数必须是有效数字!"},
                      QueryInputCase{"RefreshEmpty", "111", "", "[刷新时间]参数必须是有效数字!"},
                      QueryInputCase{"RefreshWithTrailingBlank", "111", "30 ", "[刷新时间]参数必须是有效数字!"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WatchCycleTest, QueryAcceptsBlanksAndCommasAloneAndLeadingBlanks) {
  view_.numbers = " ,";
  view_.refresh = "  45";
  server_.ReplyOkToEveryRequest("");
  watch_.Start();
  EXPECT_TRUE(view_.messages.empty());
  EXPECT_EQ(timer_.interval, 45000u);
  EXPECT_EQ(watch_.Table().size(), 2u);
  // A reply with no entry still completes the first scan.
  EXPECT_TRUE(watch_.BaselineDone());
  EXPECT_TRUE(timer_.enabled);
}

TEST_F(WatchCycleTest, RefreshTimeZeroScansOnceAndNeverTicks) {
  view_.refresh = "0";
  server_.ReplyOkToEveryRequest("a=1;b=0;");
  watch_.Start();
  EXPECT_EQ(server_.RequestCount(), 1u);
  EXPECT_EQ(timer_.interval, 0u);
  EXPECT_TRUE(view_.stopEnabled);
  EXPECT_FALSE(view_.queryEnabled);
}

struct TickInputCase {
  const char* name;
  std::string numbers;
  std::string refresh;
  const char* message;
  bool tickThrows;  // the re-read of the refresh time after the scan
};
void PrintTo(const TickInputCase& c, std::ostream* os) { *os << c.name; }

class WatchTickInputTest : public WatchCycleTest, public ::testing::WithParamInterface<TickInputCase> {};

TEST_P(WatchTickInputTest, StopsTheWatchBeforeTheMessage) {
  const TickInputCase& c = GetParam();
  server_.ReplyOkToEveryRequest("a=1;b=0;");
  watch_.Start();
  const StatusTable tableBefore = watch_.Table();
  const Lines logBefore = Log();
  journal_.clear();

  view_.numbers = c.numbers;
  view_.refresh = c.refresh;
  if (c.tickThrows) {
    try {
      watch_.Tick();
      FAIL() << "the bad refresh time went unnoticed";
    } catch (const ConvertError& e) {
      EXPECT_EQ(std::string(e.what()), "'" + c.refresh + "' is not a valid integer value");
    }
  } else {
    watch_.Tick();
  }
  // The timer is off before the box comes up, so no tick can re-enter.
  Lines expected{"stop off", "query on", "timer off", "message " + G(c.message)};
  if (!c.tickThrows) expected.push_back("interval " + std::to_string(StrToInt(c.refresh) * 1000));
  EXPECT_EQ(journal_, expected);
  EXPECT_EQ(timer_.interval, c.tickThrows ? 30000u : StrToInt(c.refresh) * 1000u);
  EXPECT_FALSE(watch_.BaselineDone());
  EXPECT_EQ(Log(), logBefore);
  EXPECT_EQ(watch_.Table().size(), tableBefore.size());
  EXPECT_EQ(Online(), Lines{"111"});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WatchTickInputTest,
    ::testing::Values(TickInputCase{"NumbersEmptied", "", "60", "对不起,号码列表不能为空!", false},
                      TickInputCase{"RefreshNotANumber", "111,222", "abc", "[刷新时间]参数必须是有效数字!", true},
                      TickInputCase{"BothBad", "", "abc", "对不起,号码列表不能为空!", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WatchCycleTest, TickReReadsTheRefreshTime) {
  server_.ReplyOkToEveryRequest("a=1;b=0;");
  watch_.Start();
  view_.refresh = "60";
  watch_.Tick();
  EXPECT_EQ(timer_.interval, 60000u);
  view_.refresh = "$10";
  watch_.Tick();
  EXPECT_EQ(timer_.interval, 16000u);
  EXPECT_TRUE(timer_.enabled);
}

TEST_F(WatchCycleTest, StopThenQueryReportsOnlyWhatChangedMeanwhileWithFirstWording) {
  server_.SetScript({ScriptedReply::Ok("a=1;b=0;"), ScriptedReply::Ok("a=1;b=1;")});
  watch_.Start();
  watch_.Stop();
  EXPECT_FALSE(watch_.BaselineDone());
  EXPECT_FALSE(timer_.enabled);
  EXPECT_FALSE(view_.stopEnabled);
  EXPECT_TRUE(view_.queryEnabled);
  EXPECT_EQ(watch_.Table()[1].stateCode, "0");

  watch_.Start();
  EXPECT_EQ(Log(), (Lines{ChangeLine("111", "在线!"), ChangeLine("222", "离线"), ChangeLine("222", "在线!")}));
  EXPECT_TRUE(watch_.BaselineDone());
}

TEST_F(WatchCycleTest, RowsFollowPositionsWhenTheNumbersAreEdited) {
  server_.SetScript({ScriptedReply::Ok("a=1;b=0;"), ScriptedReply::Ok("a=1;b=0;")});
  watch_.Start();
  // 333 takes 222's place: it is compared with the code seen for 222.
  view_.numbers = "111,333";
  watch_.Tick();
  EXPECT_EQ(Log().size(), 2u);
  EXPECT_EQ(Offline(), Lines{"333"});
  EXPECT_EQ(watch_.Table()[1].number, "333");
}

}  // namespace
}  // namespace umbra
