// History writes measured against the simplest code that moves the same bytes:
// - the first scan of new numbers, against a loop that creates the same files
//   with the same bytes;
// - the first line a process appends to a long file it has not seen (the file
//   is checked once), against reading that file;
// - later lines, which cost the same however long the file has grown.
// Each ratio is reported as a counter; the goals are at most 3x and about 1x.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/temp_working_dir.h"
#include "watch/history_file.h"

namespace umbra {
namespace {

namespace fs = std::filesystem;
using Seconds = std::chrono::duration<double>;

const std::string kLine = "2026/12/10 20:34:05-----\xd4\xda\xcf\xdf!";  // "在线!" in GBK

template <typename F>
double SecondsFor(F&& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return Seconds(std::chrono::steady_clock::now() - start).count();
}

void FreshFolder(const fs::path& folder) {
  fs::remove_all(folder);
  fs::create_directory(folder);
  fs::current_path(folder);
}

// The floor: a plain loop of open, write, close for files that do not exist.
void CreateFiles(const std::vector<std::string>& names, const std::string& bytes) {
  for (const std::string& name : names) {
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) std::abort();
    ::close(fd);
  }
}

void BM_FirstScanOfNewNumbers(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  test::TempWorkingDir dir;
  std::vector<std::string> numbers;
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) {
    numbers.push_back(std::to_string(100000 + i));
    names.push_back(numbers.back() + ".txt");
  }
  const std::string bytes = kLine + "\r\n";
  double floor = 0;
  double history = 0;
  bool floorFirst = true;
  for (auto _ : state) {
    // Taking turns at going first, so that neither pays for the other's
    // leftovers in the file system's journal.
    const auto runFloor = [&] {
      FreshFolder(dir.Path() / "floor");
      floor += SecondsFor([&] { CreateFiles(names, bytes); });
    };
    if (floorFirst) runFloor();
    FreshFolder(dir.Path() / "history");
    const double seconds = SecondsFor([&] {
      HistoryFiles files;
      for (const std::string& number : numbers) files.AppendLine(number, kLine);
    });
    history += seconds;
    state.SetIterationTime(seconds);
    if (!floorFirst) runFloor();
    floorFirst = !floorFirst;
    fs::current_path(dir.Path());
  }
  state.counters["floor_ms"] = benchmark::Counter(floor * 1000 / static_cast<double>(state.iterations()));
  state.counters["ratio_to_floor"] = benchmark::Counter(history / floor);
}
BENCHMARK(BM_FirstScanOfNewNumbers)->Arg(10000)->UseManualTime()->Iterations(6)->Unit(benchmark::kMillisecond);

// The floor: the file read whole into memory by plain reads.
std::size_t ReadFile(const std::string& path, std::string& buffer) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  std::size_t used = 0;
  for (ssize_t n; (n = ::read(fd, buffer.data() + used, buffer.size() - used)) > 0;) {
    used += static_cast<std::size_t>(n);
  }
  ::close(fd);
  return used;
}

void BM_FirstLineToALongFile(benchmark::State& state) {
  test::TempWorkingDir dir;
  std::string existing;
  while (existing.size() < static_cast<std::size_t>(state.range(0))) existing += kLine + "\r\n";
  test::WriteFileBytes("10001.txt", existing);
  std::string buffer(existing.size() + 4096, '\0');
  double floor = 0;
  double history = 0;
  for (auto _ : state) {
    floor += SecondsFor([&] { benchmark::DoNotOptimize(ReadFile("10001.txt", buffer)); });
    const double seconds = SecondsFor([&] {
      HistoryFiles files;  // a new process, as far as the file is concerned
      files.AppendLine("10001", kLine);
    });
    history += seconds;
    state.SetIterationTime(seconds);
    if (::truncate("10001.txt", static_cast<off_t>(existing.size())) != 0) std::abort();
  }
  state.counters["ratio_to_floor"] = benchmark::Counter(history / floor);
  state.SetLabel(std::to_string(state.range(0) >> 20) + " MiB to start with");
}
BENCHMARK(BM_FirstLineToALongFile)->Arg(16 << 20)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_AppendHistoryLine(benchmark::State& state) {
  test::TempWorkingDir dir;
  std::string existing;
  while (existing.size() < static_cast<std::size_t>(state.range(0))) existing += kLine + "\r\n";
  test::WriteFileBytes("10001.txt", existing);
  HistoryFiles files;
  for (auto _ : state) files.AppendLine("10001", kLine);
  state.SetLabel(std::to_string(state.range(0) / 1024) + " KiB to start with");
}
BENCHMARK(BM_AppendHistoryLine)->Arg(1 << 10)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace umbra
