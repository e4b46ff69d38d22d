// A scan of many numbers: the query, the reply cut into entries, both lists
// rebuilt and every row compared, with the HTTP exchange on loopback.

#include <benchmark/benchmark.h>

#include <string>

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

// Later scans that find nothing changed: the cost every tick pays.
void BM_ScanUnchanged(benchmark::State& state) {
  const Workload w = MakeWorkload(static_cast<int>(state.range(0)));
  test::TempWorkingDir dir;
  test::ScriptedHttpServer server;
  server.SetRecording(false);
  server.ReplyOkToEveryRequest(w.steadyReply);
  CountingView view(w.numbers);
  IdleTimer timer;
  FixedClock clock;
  net::HttpClient http;
  WatchCycle watch(view, timer, clock, http, server.BaseUrl());
  watch.Scan();  // the first scan reports every number; not measured
  for (auto _ : state) watch.Scan();
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ScanUnchanged)->Arg(100000)->Unit(benchmark::kMillisecond);

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
