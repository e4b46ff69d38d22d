// Several watchers writing history files in one folder at once lose no line:
// every change a watcher reports has its line in the number's history file.
//
// The suite runs it for a few seconds; for a longer run set
// UMBRASCOPE_SHARED_FOLDER_SECONDS, for example to 60.

#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/gbk.h"
#include "tests/console/spawned_program.h"
#include "tests/support/temp_working_dir.h"

namespace umbra {
namespace {

using namespace std::chrono_literals;
using test::Finished;
using test::SpawnedProgram;

constexpr int kWatchers = 3;
constexpr int kNumbers = 200;
constexpr int kFirstNumber = 20001;  // every number has five digits

std::chrono::seconds RunLength() {
  const char* seconds = std::getenv("UMBRASCOPE_SHARED_FOLDER_SECONDS");
  const int value = seconds != nullptr ? std::atoi(seconds) : 0;
  return std::chrono::seconds(value > 0 ? value : 3);
}

// The event texts of the change lines a watcher printed, by number. A change
// line is the date-time text, "-----", the number and the event text.
void CollectChanges(const std::string& out, std::map<std::string, std::vector<std::string>>& changes,
                    std::string& unexpected) {
  for (std::size_t start = 0; start < out.size();) {
    std::size_t end = out.find('\n', start);
    if (end == std::string::npos) end = out.size();
    const std::string line = out.substr(start, end - start);
    start = end + 1;
    const std::size_t dashes = line.find("-----");
    if (dashes == std::string::npos || line.size() < dashes + 5 + 5) {
      unexpected += line + "\n";
      continue;
    }
    changes[line.substr(dashes + 5, 5)].push_back(line.substr(dashes + 10));
  }
}

// The event texts of a history file's lines: the date-time text, "-----" and
// the event text, GBK, each ended by CR LF.
std::vector<std::string> HistoryEvents(const std::string& bytes) {
  std::vector<std::string> events;
  for (std::size_t start = 0; start < bytes.size();) {
    std::size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) {
      events.push_back("<line without CR LF>");
      break;
    }
    const std::string line = GbkToUtf8(bytes.substr(start, end - start));
    const std::size_t dashes = line.find("-----");
    events.push_back(dashes == std::string::npos ? "<no separator> " + line : line.substr(dashes + 5));
    start = end + 2;
  }
  return events;
}

TEST(SharedFolder, WatchersInOneFolderLoseNoHistoryLine) {
  test::TempWorkingDir dir;
  SpawnedProgram sim({PRESENCE_SIM, "--flip-seconds", "0.3", "--seed", "7"});
  const std::string endpoint = sim.FirstLine(10s);
  ASSERT_EQ(endpoint.rfind("http://127.0.0.1:", 0), 0u) << endpoint;

  std::string numbers;
  for (int n = 0; n < kNumbers; ++n) numbers += (n ? "," : "") + std::to_string(kFirstNumber + n);
  std::vector<std::unique_ptr<SpawnedProgram>> watchers;
  for (int w = 0; w < kWatchers; ++w) {
    watchers.push_back(std::make_unique<SpawnedProgram>(std::vector<std::string>{
        UMBRASCOPE_WATCH, "--endpoint", endpoint, "--numbers", numbers, "--refresh", "1"}));
  }
  // Keep reading, so that no watcher ever waits for a full pipe.
  const auto until = std::chrono::steady_clock::now() + RunLength();
  while (std::chrono::steady_clock::now() < until) {
    for (auto& watcher : watchers) watcher->WaitForOutput("\x01", 50ms);
  }

  std::map<std::string, std::vector<std::string>> changes;
  std::string unexpected;
  for (auto& watcher : watchers) {
    watcher->Signal(SIGINT);
    const Finished run = watcher->Wait(30s);
    EXPECT_EQ(run.status, 0) << run.err;
    CollectChanges(run.out, changes, unexpected);
  }
  EXPECT_EQ(unexpected, "") << "lines other than change lines, such as a failed scan";
  ASSERT_EQ(changes.size(), static_cast<std::size_t>(kNumbers)) << "some number was never reported";

  std::size_t reported = 0;
  std::size_t differing = 0;
  std::string firstDifferences;
  for (auto& [number, events] : changes) {
    std::vector<std::string> written = HistoryEvents(test::ReadFileBytes(number + ".txt"));
    std::sort(events.begin(), events.end());
    std::sort(written.begin(), written.end());
    reported += events.size();
    if (written != events && ++differing <= 5) {
      firstDifferences += number + ".txt: " + std::to_string(written.size()) + " lines for " +
                          std::to_string(events.size()) + " reported changes\n";
    }
  }
  EXPECT_EQ(differing, 0u) << firstDifferences;
  RecordProperty("reported_changes", static_cast<int>(reported));
}

}  // namespace
}  // namespace umbra
