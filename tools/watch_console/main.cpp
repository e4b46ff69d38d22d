// umbrascope-watch: the watch on a terminal, for servers and scripts. The
// same core as the window; Config.ini supplies what the command line leaves out.

#include <signal.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <exception>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "net/http_client.h"
#include "settings/settings.h"
#include "tools/watch_console/command_line.h"
#include "tools/watch_console/console_timer.h"
#include "tools/watch_console/console_view.h"
#include "watch/date_time_text.h"
#include "base/gbk.h"
#include "watch/presence_query.h"
#include "watch/watch_cycle.h"

namespace {

using umbra::console::ConsoleTimer;

constexpr int kScanFailed = 1;
constexpr int kMessageShown = 2;

// Waits for SIGINT or SIGTERM until `due` (for ever without one). Returns
// true when a signal came.
bool WaitForStopSignal(const sigset_t& signals, std::optional<ConsoleTimer::Clock::time_point> due) {
  for (;;) {
    int rc;
    if (due) {
      const auto left = std::max(*due - ConsoleTimer::Clock::now(), ConsoleTimer::Clock::duration::zero());
      const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(left);
      const auto nanoseconds = std::chrono::duration_cast<std::chrono::nanoseconds>(left - seconds);
      const timespec timeout{static_cast<time_t>(seconds.count()), static_cast<long>(nanoseconds.count())};
      rc = sigtimedwait(&signals, nullptr, &timeout);
    } else {
      rc = sigwaitinfo(&signals, nullptr);
    }
    if (rc > 0) return true;
    if (errno == EAGAIN) return false;
    // EINTR: some other signal; wait on.
  }
}

int Run(const umbra::console::CommandLine& line) {
  // Signals wait until the loop asks for them, so a scan is never cut short.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  sigprocmask(SIG_BLOCK, &stopSignals, nullptr);

  umbra::settings::Settings settings = umbra::settings::LoadSettings();
  if (line.numbers) settings.numbers = umbra::Utf8ToGbk(*line.numbers);
  if (line.refresh) settings.refreshTime = umbra::Utf8ToGbk(*line.refresh);
  if (line.endpoint) settings.endpoint = *line.endpoint;
  const std::string endpoint =
      settings.endpoint.empty() ? umbra::kDefaultPresenceEndpoint : settings.endpoint;

  // The numbers may run to megabytes: moved, not copied.
  umbra::console::ConsoleView view(std::move(settings.numbers), settings.refreshTime, stdout, stderr);
  ConsoleTimer timer;
  umbra::SystemClock clock;
  umbra::net::HttpClient http;
  umbra::WatchCycle watch(view, timer, clock, http, endpoint);

  watch.Start();
  // The message has been printed; without a working watch there is nothing
  // left to do.
  if (view.MessageWasShown()) return kMessageShown;
  if (line.once) {
    view.PrintLists();
    return watch.LastScanFailed() ? kScanFailed : 0;
  }
  for (;;) {
    if (WaitForStopSignal(stopSignals, timer.NextTick())) {
      watch.Stop();
      return 0;
    }
    const auto due = timer.NextTick();
    const auto now = ConsoleTimer::Clock::now();
    if (!due || *due > now) continue;
    timer.Ticked(now);
    watch.Tick();
    if (view.MessageWasShown()) return kMessageShown;
  }
}

}  // namespace

int main(int argc, char** argv) {
  // The date-time text follows the user's regional format.
  std::setlocale(LC_ALL, "");
  try {
    const auto line = umbra::console::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (line.help) {
      std::fputs(umbra::console::kUsage, stdout);
      return 0;
    }
    return Run(line);
  } catch (const umbra::console::UsageError& e) {
    std::fprintf(stderr, "umbrascope-watch: %s\n%s", e.what(), umbra::console::kUsage);
    return kMessageShown;
  } catch (const std::exception& e) {
    // What the window's error display would show, such as a refresh time
    // that is no integer at a tick.
    std::fprintf(stderr, "%s\n", umbra::GbkToUtf8(e.what()).c_str());
    return kMessageShown;
  }
}
