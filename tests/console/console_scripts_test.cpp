// The two programs for scripts, as real processes against presence-sim on
// loopback: umbrascope-watch --json, and umbrascope-history over the history
// files such a watch wrote.

#include <gtest/gtest.h>
#include <signal.h>

#include <ctime>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "base/gbk.h"
#include "tests/console/flat_json.h"
#include "tests/console/spawned_program.h"
#include "tests/support/temp_working_dir.h"
#include "tools/presence_sim/presence_states.h"

namespace umbra {
namespace {

using namespace std::chrono_literals;
using test::Finished;
using test::FlatJsonObject;
using test::RunProgram;
using test::SpawnedProgram;
using test::StringMember;

constexpr std::uint64_t kSeed = 42;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

std::vector<std::string> Fields(const std::string& line, char separator) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = line.find(separator, start);
    fields.push_back(line.substr(start, end - start));
    if (end == std::string::npos) return fields;
    start = end + 1;
  }
}

// Seconds since the epoch of "2026-12-11T03:41:30+08:00"; fails the test on
// any other form.
long long IsoSeconds(const std::string& text) {
  std::tm tm{};
  int offsetHours = 0;
  int offsetMinutes = 0;
  char sign = 0;
  int consumed = 0;
  const int fields = std::sscanf(text.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d%c%2d:%2d%n", &tm.tm_year, &tm.tm_mon,
                                 &tm.tm_mday, &tm.tm_hour, &tm.tm_min, &tm.tm_sec, &sign, &offsetHours,
                                 &offsetMinutes, &consumed);
  EXPECT_TRUE(fields == 9 && (sign == '+' || sign == '-') && consumed == 25 && text.size() == 25) << text;
  tm.tm_year -= 1900;
  tm.tm_mon -= 1;
  const long long offset = (sign == '-' ? -1 : 1) * (offsetHours * 3600LL + offsetMinutes * 60LL);
  return static_cast<long long>(timegm(&tm)) - offset;
}

class ScriptsTest : public ::testing::Test {
 protected:
  std::string StartSimulator(const char* flipSeconds) {
    sim_ = std::make_unique<SpawnedProgram>(std::vector<std::string>{
        PRESENCE_SIM, "--flip-seconds", flipSeconds, "--seed", std::to_string(kSeed)});
    return sim_->FirstLine(10s);
  }

  test::TempWorkingDir dir_;
  std::unique_ptr<SpawnedProgram> sim_;
};

TEST_F(ScriptsTest, JsonOnceGivesAnObjectPerChangeThenTheLists) {
  const std::string endpoint = StartSimulator("3600");
  const std::vector<std::string> numbers{"10001", "10002", "10003", "你好"};
  const Finished run = RunProgram({UMBRASCOPE_WATCH, "--once", "--json", "--endpoint", endpoint, "--numbers",
                                   "10001,10002,10003,你好"});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), numbers.size() + 1) << run.out;

  std::vector<std::string> online;
  std::vector<std::string> offline;
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    const FlatJsonObject change = test::ParseFlatJsonObject(lines[i]);
    const bool isOnline = sim::StateCode(kSeed, Utf8ToGbk(numbers[i]), 0) == '1';
    (isOnline ? online : offline).push_back(numbers[i]);
    EXPECT_EQ(StringMember(change, "kind"), "change");
    EXPECT_EQ(StringMember(change, "number"), numbers[i]);
    EXPECT_EQ(StringMember(change, "state"), isOnline ? "online" : "offline");
    EXPECT_EQ(StringMember(change, "event"), isOnline ? "在线!" : "离线");
    const std::string& line = StringMember(change, "line");
    EXPECT_TRUE(line.ends_with("-----" + numbers[i] + StringMember(change, "event"))) << line;
    EXPECT_LE(std::abs(IsoSeconds(StringMember(change, "time")) - static_cast<long long>(std::time(nullptr))), 60);
  }
  const FlatJsonObject lists = test::ParseFlatJsonObject(lines.back());
  EXPECT_EQ(StringMember(lists, "kind"), "lists");
  EXPECT_EQ(std::get<std::vector<std::string>>(lists.at("online")), online);
  EXPECT_EQ(std::get<std::vector<std::string>>(lists.at("offline")), offline);
}

TEST_F(ScriptsTest, JsonFailureCarriesTheErrorText) {
  const std::string closed = StartSimulator("3600");
  sim_.reset();
  const Finished run = RunProgram({UMBRASCOPE_WATCH, "--once", "--json", "--endpoint", closed, "--numbers", "1,2"});
  EXPECT_EQ(run.status, 1);
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 2u) << run.out;
  const FlatJsonObject failure = test::ParseFlatJsonObject(lines[0]);
  EXPECT_EQ(StringMember(failure, "kind"), "failure");
  EXPECT_EQ(StringMember(failure, "error"), "Socket Error # 10061\r\nConnection refused.");
  EXPECT_TRUE(StringMember(failure, "line").ends_with("---远程数据加载失败----错误代码:Socket Error # 10061\r\nConnection refused."));
  EXPECT_EQ(failure.count("number"), 0u);
}

// A watch of some seconds with states flipping fast, printed as JSON; then
// umbrascope-history over the files it wrote must tell the same changes, and
// sessions that fit them.
TEST_F(ScriptsTest, HistoryToolTellsWhatAJsonWatchSaw) {
  const std::string endpoint = StartSimulator("0.4");
  const std::vector<std::string> numbers{"1", "2", "3", "4", "5", "6", "7", "8"};
  SpawnedProgram watch({UMBRASCOPE_WATCH, "--json", "--endpoint", endpoint, "--numbers", "1,2,3,4,5,6,7,8",
                        "--refresh", "1"});
  ASSERT_TRUE(watch.WaitForOutput("上线了!!!", 20s)) << watch.Out();
  ASSERT_TRUE(watch.WaitForOutput("隐身中!", 20s)) << watch.Out();
  watch.Signal(SIGINT);
  const Finished watched = watch.Wait(10s);
  ASSERT_EQ(watched.status, 0) << watched.err;

  // What the watch saw, per number: (time, event text).
  std::map<std::string, std::vector<std::pair<long long, std::string>>> seen;
  for (const std::string& line : Lines(watched.out)) {
    const FlatJsonObject change = test::ParseFlatJsonObject(line);
    ASSERT_EQ(StringMember(change, "kind"), "change") << line;
    seen[StringMember(change, "number")].emplace_back(IsoSeconds(StringMember(change, "time")),
                                                      StringMember(change, "event"));
  }

  std::vector<std::string> files;
  for (const std::string& number : numbers) files.push_back(number + ".txt");
  std::vector<std::string> args{UMBRASCOPE_HISTORY, "--events", "--csv"};
  args.insert(args.end(), files.begin(), files.end());
  const Finished events = RunProgram(args);
  ASSERT_EQ(events.status, 0) << events.err;
  EXPECT_EQ(events.err, "");
  std::vector<std::string> rows = Lines(events.out);
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(rows.front(), "number,time,event\r");
  std::map<std::string, std::vector<std::pair<long long, std::string>>> recorded;
  for (std::size_t i = 1; i < rows.size(); ++i) {
    ASSERT_TRUE(rows[i].ends_with("\r")) << rows[i];
    const std::vector<std::string> fields = Fields(rows[i].substr(0, rows[i].size() - 1), ',');
    ASSERT_EQ(fields.size(), 3u) << rows[i];
    recorded[fields[0]].emplace_back(IsoSeconds(fields[1]), fields[2]);
  }
  ASSERT_EQ(recorded.size(), seen.size());
  for (const auto& [number, changes] : seen) {
    const auto& written = recorded[number];
    ASSERT_EQ(written.size(), changes.size()) << number;
    for (std::size_t i = 0; i < changes.size(); ++i) {
      EXPECT_EQ(written[i].second, changes[i].second) << number << " #" << i;
      // The history line takes the clock once more, right after the event line.
      EXPECT_LE(written[i].first - changes[i].first, 1) << number << " #" << i;
      EXPECT_GE(written[i].first - changes[i].first, 0) << number << " #" << i;
    }
  }

  args[1] = "--sessions";
  const Finished sessions = RunProgram(args);
  ASSERT_EQ(sessions.status, 0) << sessions.err;
  rows = Lines(sessions.out);
  EXPECT_EQ(rows.front(), "number,start,end,seconds\r");
  std::map<std::string, std::vector<std::vector<std::string>>> sessionRows;
  for (std::size_t i = 1; i < rows.size(); ++i) {
    const std::vector<std::string> fields = Fields(rows[i].substr(0, rows[i].size() - 1), ',');
    ASSERT_EQ(fields.size(), 4u) << rows[i];
    sessionRows[fields[0]].push_back(fields);
  }
  for (const auto& [number, changes] : recorded) {
    // Each change to online after one to offline (or none) opens a session.
    std::size_t starts = 0;
    bool online = false;
    for (const auto& [time, event] : changes) {
      const bool comesOnline = event == "在线!" || event == "上线了!!!";
      if (comesOnline && !online) ++starts;
      online = comesOnline;
    }
    const auto& found = sessionRows[number];
    ASSERT_EQ(found.size(), starts) << number;
    for (std::size_t i = 0; i < found.size(); ++i) {
      const bool last = i + 1 == found.size();
      if (last && online) {
        EXPECT_EQ(found[i][2], "") << number;
        EXPECT_EQ(found[i][3], "") << number;
        continue;
      }
      EXPECT_EQ(std::stoll(found[i][3]), IsoSeconds(found[i][2]) - IsoSeconds(found[i][1])) << number;
    }
  }
}

TEST_F(ScriptsTest, HistoryToolSkipsWhatItCannotReadAndGoesOnAfterAMissingFile) {
  test::WriteFileBytes("10001.txt", Utf8ToGbk("2026/12/11 3:41:30-----在线!\r\nnoise\r\n2026/12/11 4:00:00-----隐身中!"));
  const Finished run = RunProgram({UMBRASCOPE_HISTORY, "missing.txt", "10001.txt"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "10001\t2026-12-11 03:41:30\t2026-12-11 04:00:00\t0:18:30\n");
  EXPECT_NE(run.err.find("missing.txt: No such file or directory"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("10001.txt: 1 line(s) skipped, not history lines (2)"), std::string::npos) << run.err;

  const Finished usage = RunProgram({UMBRASCOPE_HISTORY, "--sessions", "--events", "10001.txt"});
  EXPECT_EQ(usage.status, 2);
  EXPECT_EQ(usage.out, "");
}

}  // namespace
}  // namespace umbra
