// A scan of many numbers: the query, the reply cut into entries, both lists
// rebuilt and every row compared, with the HTTP exchange on loopback.
//
// BM_ScanUnchangedVsBareFetch is the figure that matters for a long list: a
// scan that finds nothing changed (the cost every tick pays), next to the
// floor of moving the same bytes, a bare socket client that sends the same
// request to the same server and reads the same reply. Both run in turn in
// every iteration, so a busy machine slows both alike. The counter x_floor
// is the scan's median time over the floor's median time; floor_ms is the
// floor. Run inside the loopback namespace:
//   scripts/in-loopback-namespace.sh build/bench/scan_bench

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "bench/bare_fetch.h"
#include "net/http_client.h"
#include "tests/support/scripted_http_server.h"
#include "tests/support/temp_working_dir.h"
#include "watch/watch_cycle.h"

namespace umbra {
namespace {

// Keeps what a window would keep, without drawing it.
class CountingView final : public WatchView {
 public:
  explicit CountingView(std::string numbers) : numbers_(std::move(numbers)) {}
  std::string NumbersText() override { return numbers_; }
  std::string RefreshText() override { return "30"; }
  void ClearList(WatchList) override { lines = 0; }
  void AppendAndSelect(WatchList, std::string_view line) override {
    benchmark::DoNotOptimize(line.data());
    ++lines;
  }
  void AppendEvent(const EventLine& line) override { AppendAndSelect(WatchList::EventLog, line.text); }
  void ShowMessage(const std::string&) override {}
  void SetQueryEnabled(bool) override {}
  void SetStopEnabled(bool) override {}
  std::size_t lines = 0;

 private:
  std::string numbers_;
};

class IdleTimer final : public RefreshTimer {
 public:
  void SetEnabled(bool) override {}
  void SetInterval(std::uint32_t) override {}
};

class FixedClock final : public Clock {
 public:
  LocalDateTime Now() override { return {2026, 12, 10, 20, 34, 5}; }
};

struct Workload {
  std::string numbers;
  std::string steadyReply;
  std::string changedReply;  // every 100th number flips
};

Workload MakeWorkload(int count) {
  Workload w;
  for (int i = 0; i < count; ++i) {
    if (i > 0) w.numbers += ',';
    w.numbers += std::to_string(100000000 + i);
    const std::string key = "online[" + std::to_string(i) + "]=";
    w.steadyReply += key + (i % 2 ? "1;" : "0;");
    w.changedReply += key + ((i % 2) ^ (i % 100 == 0) ? "1;" : "0;");
  }
  return w;
}

// The first scan of a watch reports every number and writes a history file
// for each. That is set-up here, not what is measured, so it goes to memory
// where the machine has it rather than waiting on the disk.
void MakeScratchDir(std::optional<test::TempWorkingDir>& dir) {
  const char* saved = std::getenv("TMPDIR");
  const std::string previous = saved ? saved : "";
  if (!saved && std::filesystem::is_directory("/dev/shm")) setenv("TMPDIR", "/dev/shm", 1);
  dir.emplace();
  if (!saved) unsetenv("TMPDIR");
}

double Median(std::vector<double> values) {
  std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
  return values[values.size() / 2];
}

// Runs `measured` and a bare fetch of `request` in turn, reports the time of
// `measured` and its ratio to the floor.
template <typename Measured>
void AgainstBareFetch(benchmark::State& state, const test::ScriptedHttpServer& server, const std::string& request,
                      Measured measured) {
  using Clock = std::chrono::steady_clock;
  bench::BareFetch bare(server.Port());
  bare.Fetch(request);  // both on open connections from here on
  measured();
  std::vector<double> floors;
  std::vector<double> runs;
  for (auto _ : state) {
    const auto start = Clock::now();
    benchmark::DoNotOptimize(bare.Fetch(request));
    const auto fetched = Clock::now();
    measured();
    const auto done = Clock::now();
    floors.push_back(std::chrono::duration<double>(fetched - start).count());
    runs.push_back(std::chrono::duration<double>(done - fetched).count());
    state.SetIterationTime(runs.back());
  }
  if (runs.empty()) return;
  state.counters["floor_ms"] = Median(floors) * 1e3;
  state.counters["x_floor"] = Median(runs) / Median(floors);
}

// Later scans that find nothing changed, next to the bare fetch of the same
// request and reply.
void BM_ScanUnchangedVsBareFetch(benchmark::State& state) {
  const Workload w = MakeWorkload(static_cast<int>(state.range(0)));
  std::optional<test::TempWorkingDir> dir;
  MakeScratchDir(dir);
  test::ScriptedHttpServer server;
  server.ReplyOkToEveryRequest(w.steadyReply);
  CountingView view(w.numbers);
  IdleTimer timer;
  FixedClock clock;
  net::HttpClient http;
  WatchCycle watch(view, timer, clock, http, server.BaseUrl());
  watch.Scan();  // the first scan reports every number; not measured
  if (watch.LastScanFailed() || server.RequestCount() != 1) {
    state.SkipWithError("the first scan failed");
    return;
  }
  server.SetRecording(false);
  const std::string request = server.Requests().at(0).bytes;
  AgainstBareFetch(state, server, request, [&] { watch.Scan(); });
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(request.size() + w.steadyReply.size()));
}
BENCHMARK(BM_ScanUnchangedVsBareFetch)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);

// The HTTP client's share of the above: the same exchange through Get alone.
void BM_GetVsBareFetch(benchmark::State& state) {
  const Workload w = MakeWorkload(static_cast<int>(state.range(0)));
  test::ScriptedHttpServer server;
  server.ReplyOkToEveryRequest(w.steadyReply);
  std::string target = "/getonline?Type=1&" + w.numbers + ":";
  std::replace(target.begin(), target.end(), ',', ':');
  const std::string url = server.Url(target);
  net::HttpClient http;
  http.Get(url);
  server.SetRecording(false);
  const std::string request = server.Requests().at(0).bytes;
  AgainstBareFetch(state, server, request, [&] { benchmark::DoNotOptimize(http.Get(url)); });
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(request.size() + w.steadyReply.size()));
}
BENCHMARK(BM_GetVsBareFetch)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);

// Scans where one number in a hundred changes: change lines and history
// appends on top of the above.
void BM_ScanOnePercentChanged(benchmark::State& state) {
  const Workload w = MakeWorkload(static_cast<int>(state.range(0)));
  test::TempWorkingDir dir;
  test::ScriptedHttpServer server;
  server.SetRecording(false);
  CountingView view(w.numbers);
  IdleTimer timer;
  FixedClock clock;
  net::HttpClient http;
  WatchCycle watch(view, timer, clock, http, server.BaseUrl());
  server.ReplyOkToEveryRequest(w.steadyReply);
  watch.Scan();
  bool flipped = false;
  for (auto _ : state) {
    state.PauseTiming();
    flipped = !flipped;
    server.ReplyOkToEveryRequest(flipped ? w.changedReply : w.steadyReply);
    state.ResumeTiming();
    watch.Scan();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ScanOnePercentChanged)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace umbra
