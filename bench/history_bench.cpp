// Appending a history line costs the same however long the file has grown,
// as long as the file is in the program's own form.

#include <benchmark/benchmark.h>

#include <string>

#include "tests/support/temp_working_dir.h"
#include "watch/history_file.h"

namespace umbra {
namespace {

void BM_AppendHistoryLine(benchmark::State& state) {
  test::TempWorkingDir dir;
  const std::string line = "2026/12/10 20:34:05-----\xd4\xda\xcf\xdf!";
  std::string existing;
  while (existing.size() < static_cast<std::size_t>(state.range(0))) existing += line + "\r\n";
  test::WriteFileBytes("10001.txt", existing);
  HistoryFiles files;
  for (auto _ : state) files.AppendLine("10001", line);
  state.SetLabel(std::to_string(state.range(0) / 1024) + " KiB to start with");
}
BENCHMARK(BM_AppendHistoryLine)->Arg(1 << 10)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace umbra
