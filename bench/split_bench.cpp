// Cutting a presence reply of 100,000 entries at ";", as each scan does.

#include <benchmark/benchmark.h>

#include <string>

#include "watch/text_split.h"

namespace {

std::string PresenceReply(int entries) {
  std::string reply;
  for (int i = 0; i < entries; ++i) reply += "online[" + std::to_string(i) + "]=1;";
  return reply;
}

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
