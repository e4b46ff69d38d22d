// The console watcher's --once run over a long list, as a user starts it:
// umbrascope-watch against presence-sim, both as real processes, 100,000
// numbers from Config.ini. Reports the watcher's peak memory (its maximum
// resident set, from wait4) as peak_rss_MB, and the run's wall time.
//
// Each run is the first scan of a fresh process in an empty folder, so it
// reports every number and writes 100,000 history files; the folder goes to
// memory (/dev/shm, unless TMPDIR names another place), where the writes do
// not wait on a disk. The history writes' own cost is history_bench's to
// measure; the scan's is scan_bench's. Run inside the loopback namespace:
//   scripts/in-loopback-namespace.sh build/bench/once_memory_bench

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "settings/settings.h"
#include "tests/support/temp_working_dir.h"

namespace umbra {
namespace {

// Starts `argv` with standard output to `outFd` (or /dev/null when -1) and
// standard error to /dev/null.
pid_t Start(const std::vector<std::string>& argv, int outFd) {
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    const int null = open("/dev/null", O_WRONLY);
    dup2(outFd >= 0 ? outFd : null, STDOUT_FILENO);
    dup2(null, STDERR_FILENO);
    execv(args[0], args.data());
    _exit(127);
  }
  return pid;
}

// presence-sim for the length of the benchmark, its states fixed.
class Simulator {
 public:
  Simulator() {
    int out[2];
    if (pipe(out) != 0) throw std::runtime_error("pipe failed");
    pid_ = Start({PRESENCE_SIM, "--flip-seconds", "3600"}, out[1]);
    close(out[1]);
    char c;
    while (read(out[0], &c, 1) == 1 && c != '\n') address_ += c;
    close(out[0]);
    if (address_.rfind("http://", 0) != 0) throw std::runtime_error("presence-sim did not start");
  }
  ~Simulator() {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  const std::string& Address() const { return address_; }

 private:
  pid_t pid_ = -1;
  std::string address_;
};

void BM_OnceWatchPeakMemory(benchmark::State& state) {
  std::string numbers;
  for (int i = 0; i < state.range(0); ++i) {
    if (i > 0) numbers += ',';
    numbers += std::to_string(100000000 + i);
  }
  Simulator sim;
  long peakKb = 0;
  double seconds = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const char* saved = std::getenv("TMPDIR");
    if (!saved && std::filesystem::is_directory("/dev/shm")) setenv("TMPDIR", "/dev/shm", 1);
    std::optional<test::TempWorkingDir> dir;
    dir.emplace();
    if (!saved) unsetenv("TMPDIR");
    settings::SaveSettings(numbers, "30");
    state.ResumeTiming();

    const auto start = std::chrono::steady_clock::now();
    const pid_t watch = Start({UMBRASCOPE_WATCH, "--once", "--endpoint", sim.Address()}, -1);
    int status = 0;
    rusage usage{};
    wait4(watch, &status, 0, &usage);
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    state.PauseTiming();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      state.SkipWithError("umbrascope-watch --once failed");
      break;
    }
    peakKb = std::max(peakKb, usage.ru_maxrss);
    dir.reset();
    state.ResumeTiming();
  }
  state.counters["peak_rss_MB"] = static_cast<double>(peakKb) / 1024.0;
  state.counters["once_s"] = benchmark::Counter(seconds, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_OnceWatchPeakMemory)->Arg(100000)->Iterations(2)->Unit(benchmark::kSecond);

}  // namespace
}  // namespace umbra
