// umbrascope-watch against presence-sim, both as real processes on loopback.

#include <gtest/gtest.h>
#include <signal.h>

#include <string>
#include <thread>
#include <vector>

#include "tests/console/spawned_program.h"
#include "tests/support/closed_port.h"
#include "tests/support/scripted_http_server.h"
#include "tests/support/temp_working_dir.h"
#include "tools/presence_sim/presence_states.h"
#include "base/gbk.h"

namespace umbra {
namespace {

using namespace std::chrono_literals;
using test::Finished;
using test::RunProgram;
using test::SpawnedProgram;

constexpr std::uint64_t kSeed = 42;

class ConsoleWatchTest : public ::testing::Test {
 protected:
  // A simulator whose states hold still for the length of a test.
  std::string StartSimulator(const char* flipSeconds = "3600") {
    sim_ = std::make_unique<SpawnedProgram>(std::vector<std::string>{
        PRESENCE_SIM, "--flip-seconds", flipSeconds, "--seed", std::to_string(kSeed)});
    const std::string address = sim_->FirstLine(10s);
    EXPECT_EQ(address.rfind("http://127.0.0.1:", 0), 0u) << address;
    return address;
  }

  static std::vector<std::string> Watch(std::vector<std::string> args) {
    args.insert(args.begin(), UMBRASCOPE_WATCH);
    return args;
  }

  test::TempWorkingDir dir_;
  std::unique_ptr<SpawnedProgram> sim_;
};

TEST_F(ConsoleWatchTest, OnceReportsEveryNumberAndPrintsBothLists) {
  const std::string endpoint = StartSimulator();
  const std::vector<std::string> numbers{"10001", "10002", "10003", "你好"};
  const Finished run = RunProgram(
      Watch({"--once", "--endpoint", endpoint, "--numbers", "10001,10002,10003,你好", "--refresh", "5"}));
  ASSERT_EQ(run.status, 0) << run.err;

  std::string expected;
  std::string online;
  std::string offline;
  for (const std::string& number : numbers) {
    const bool isOnline = sim::StateCode(kSeed, Utf8ToGbk(number), 0) == '1';
    expected += number + (isOnline ? "在线!" : "离线") + "\n";
    std::string& list = isOnline ? online : offline;
    list += (list.empty() ? "" : ",") + number;
  }
  expected += "在线状态: " + online + "\n离线状态: " + offline + "\n";
  // Each change line starts with the date-time text; compare what follows it.
  std::string withoutTimes;
  for (std::size_t start = 0; start < run.out.size();) {
    const std::size_t end = run.out.find('\n', start);
    std::string line = run.out.substr(start, end - start);
    const std::size_t dashes = line.find("-----");
    withoutTimes += (dashes == std::string::npos ? line : line.substr(dashes + 5)) + "\n";
    start = end + 1;
  }
  EXPECT_EQ(withoutTimes, expected);
  const std::string history = test::ReadFileBytes("你好.txt");
  EXPECT_EQ(history.substr(history.size() - 2), "\r\n");
}

TEST_F(ConsoleWatchTest, OnceEndsWithOneAfterAFailedScan) {
  const test::ClosedPort closed;
  const Finished run = RunProgram(Watch({"--once", "--endpoint", closed.BaseUrl(), "--numbers", "1,2"}));
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.out.find("---远程数据加载失败----错误代码:Socket Error # 10061\r\nConnection refused.\n"),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("在线状态: \n离线状态: \n"), std::string::npos) << run.out;
}

struct RefusedInput {
  const char* name;
  std::vector<std::string> args;
  std::string message;
};
void PrintTo(const RefusedInput& c, std::ostream* os) { *os << c.name; }

class ConsoleRefusedInputTest : public ConsoleWatchTest, public ::testing::WithParamInterface<RefusedInput> {};

TEST_P(ConsoleRefusedInputTest, GoesToStandardErrorWithStatusTwo) {
  const Finished run = RunProgram(Watch(GetParam().args));
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err, GetParam().message + "\n");
  EXPECT_EQ(run.out, "");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConsoleRefusedInputTest,
    ::testing::Values(
        RefusedInput{"NoNumbers", {"--once", "--numbers", ""}, "对不起,号码列表不能为空!"},
        RefusedInput{"NoNumbersAnywhere", {"--once"}, "对不起,号码列表不能为空!"},
        RefusedInput{"RefreshNotANumber", {"--numbers", "1", "--refresh", "abc"}, "[刷新时间]参数必须是有效数字!"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConsoleWatchTest, WatchesUntilInterruptedAndWordsLaterChangesAsSuch) {
  const std::string endpoint = StartSimulator("0.4");
  // Enough numbers that some change between two scans a second apart.
  SpawnedProgram watch(Watch({"--endpoint", endpoint, "--numbers",
                              "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16", "--refresh", "1"}));
  const bool laterChange = watch.WaitForOutput("上线了!!!", 20s) || watch.WaitForOutput("隐身中!", 1s);
  EXPECT_TRUE(laterChange) << watch.Out();
  watch.Signal(SIGINT);
  const Finished run = watch.Wait(10s);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out.find("在线状态"), std::string::npos);
}

// A stop signal that comes while a server holds the scan ends the run at once,
// the same way as between scans: status 0 and no failure line, although the
// exchange was cut short.
struct SignalInScanCase {
  const char* name;
  int signal;
  bool once;
};
void PrintTo(const SignalInScanCase& c, std::ostream* os) { *os << c.name; }

class ConsoleSignalInScanTest : public ConsoleWatchTest, public ::testing::WithParamInterface<SignalInScanCase> {};

TEST_P(ConsoleSignalInScanTest, EndsTheExchangeAndTheRunAtOnce) {
  test::ScriptedHttpServer server;
  server.SetFallback(test::ScriptedReply::NeverReply());
  std::vector<std::string> args{"--endpoint", server.BaseUrl(), "--numbers", "1,2", "--refresh", "5"};
  if (GetParam().once) args.insert(args.begin(), "--once");
  SpawnedProgram watch(Watch(args));
  for (int i = 0; i < 500 && server.RequestCount() == 0; ++i) std::this_thread::sleep_for(10ms);
  ASSERT_EQ(server.RequestCount(), 1u);
  watch.Signal(GetParam().signal);
  // Far less than any time limit of the exchange: only the signal can end
  // the run this soon.
  const Finished run = watch.Wait(5s);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "");
}

INSTANTIATE_TEST_SUITE_P(Signals, ConsoleSignalInScanTest,
                         ::testing::Values(SignalInScanCase{"InterruptWhileWatching", SIGINT, false},
                                           SignalInScanCase{"TerminateWhileWatching", SIGTERM, false},
                                           SignalInScanCase{"InterruptInTheOnlyScan", SIGINT, true},
                                           SignalInScanCase{"TerminateInTheOnlyScan", SIGTERM, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConsoleWatchTest, ConfigFileSuppliesWhatTheCommandLineLeavesOut) {
  const std::string endpoint = StartSimulator();
  test::WriteFileBytes("Config.ini", Utf8ToGbk("[配置参数]\r\nQQ号码=777,888\r\n刷新时间=15\r\n查询地址=" +
                                               endpoint + "\r\n"));
  Finished run = RunProgram(Watch({"--once"}));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("-----777"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("-----888"), std::string::npos) << run.out;

  run = RunProgram(Watch({"--once", "--numbers", "999"}));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out.find("-----777"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("-----999"), std::string::npos) << run.out;
  // The console never writes the settings file.
  EXPECT_EQ(test::ReadFileBytes("Config.ini"),
            Utf8ToGbk("[配置参数]\r\nQQ号码=777,888\r\n刷新时间=15\r\n查询地址=" + endpoint + "\r\n"));
}

}  // namespace
}  // namespace umbra
