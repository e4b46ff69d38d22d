// Cutting a presence reply of 100,000 entries, as each scan does, against the
// floor of the same bytes: a plain memchr walk from ";" to ";".
//
// BM_ReplyStateCodes walks the entries and takes each state code, the way the
// scan reads a reply; its counter x_floor is its time over the floor's (both
// measured in the same run, in turn). BM_AnalyzeStrPresenceReply is the list
// of copies that AnalyzeStr hands its callers, for comparison.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <string>

#include "watch/presence_query.h"
#include "watch/text_split.h"

namespace {

using Clock = std::chrono::steady_clock;

std::string PresenceReply(int entries) {
  std::string reply;
  for (int i = 0; i < entries; ++i) reply += "online[" + std::to_string(i) + "]=" + (i % 2 ? "1;" : "0;");
  return reply;
}

// The floor: every ";" found, nothing else done.
std::size_t CountSemicolons(const std::string& reply) {
  std::size_t count = 0;
  const char* p = reply.data();
  const char* const end = p + reply.size();
  while (const void* hit = std::memchr(p, ';', static_cast<std::size_t>(end - p))) {
    ++count;
    p = static_cast<const char*>(hit) + 1;
  }
  return count;
}

std::size_t CountOnline(const std::string& reply) {
  std::size_t online = 0;
  umbra::ForEachStateCode(reply, reply.size(), [&](std::string_view code) { online += code == "1"; });
  return online;
}

void BM_ReplyStateCodes(benchmark::State& state) {
  const std::string reply = PresenceReply(static_cast<int>(state.range(0)));
  double floor = 0;
  double walk = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    benchmark::DoNotOptimize(CountSemicolons(reply));
    const auto counted = Clock::now();
    benchmark::DoNotOptimize(CountOnline(reply));
    const auto done = Clock::now();
    floor += std::chrono::duration<double>(counted - start).count();
    walk += std::chrono::duration<double>(done - counted).count();
    state.SetIterationTime(std::chrono::duration<double>(done - counted).count());
  }
  state.counters["floor_us"] = benchmark::Counter(floor * 1e6, benchmark::Counter::kAvgIterations);
  state.counters["x_floor"] = floor > 0 ? walk / floor : 0;
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(reply.size()));
}
BENCHMARK(BM_ReplyStateCodes)->Arg(100000)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_AnalyzeStrPresenceReply(benchmark::State& state) {
  const std::string reply = PresenceReply(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    umbra::PieceList pieces = umbra::AnalyzeStr(reply, ";");
    benchmark::DoNotOptimize(pieces.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(reply.size()));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
// 10,000 beside 100,000 shows whether the time grows in step with the text.
BENCHMARK(BM_AnalyzeStrPresenceReply)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
