// umbrascope-watch: the watch on a terminal, for servers and scripts. The
// same core as the window; Config.ini supplies what the command line leaves out.

#include <pthread.h>
#include <signal.h>

#include <chrono>
#include <clocale>
#include <condition_variable>
#include <cstdio>
#include <exception>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
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

// SIGINT and SIGTERM, served on a thread of their own for the whole run: a
// signal during a scan cancels its exchange at once instead of waiting for
// the server, and the main loop sees it as soon as the scan returns or while
// it waits for the next tick.
class StopSignals {
 public:
  // `signals` must be blocked in every thread: block them before any thread
  // starts, so that only the watcher takes them.
  StopSignals(const sigset_t& signals, umbra::net::HttpClient& http)
      : signals_(signals), http_(http), watcher_([this] { Watch(); }) {}

  ~StopSignals() {
    std::unique_lock<std::mutex> lock(mutex_);
    ending_ = true;
    const bool watcherWaits = !came_;
    lock.unlock();
    // One of its own signals, aimed at the watcher alone, ends its wait.
    if (watcherWaits) pthread_kill(watcher_.native_handle(), SIGTERM);
    watcher_.join();
  }

  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

  bool Came() {
    const std::lock_guard<std::mutex> lock(mutex_);
    return came_;
  }

  // Waits until `due` (for ever without one). Returns true when a signal
  // has come.
  bool WaitUntil(std::optional<ConsoleTimer::Clock::time_point> due) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (due) {
      changed_.wait_until(lock, *due, [this] { return came_; });
    } else {
      changed_.wait(lock, [this] { return came_; });
    }
    return came_;
  }

 private:
  void Watch() {
    int signal = 0;
    while (sigwait(&signals_, &signal) != 0) {
    }
    const std::lock_guard<std::mutex> lock(mutex_);
    if (ending_) return;
    came_ = true;
    http_.Cancel();
    changed_.notify_all();
  }

  sigset_t signals_;
  umbra::net::HttpClient& http_;
  std::mutex mutex_;
  std::condition_variable changed_;
  bool came_ = false;
  bool ending_ = false;
  std::thread watcher_;  // last: it starts with everything above in place
};

// The console's view, less the failure line of an exchange that a stop
// signal cancelled: the user asked the watch to end, nothing failed.
class QuietWhenCancelled final : public umbra::WatchView {
 public:
  explicit QuietWhenCancelled(umbra::WatchView& view)
      : view_(view), cancelled_(umbra::net::ExchangeCancelled().what()) {}

  std::string NumbersText() override { return view_.NumbersText(); }
  std::string RefreshText() override { return view_.RefreshText(); }
  void ClearList(umbra::WatchList list) override { view_.ClearList(list); }
  void AppendAndSelect(umbra::WatchList list, std::string_view line) override { view_.AppendAndSelect(list, line); }
  void AppendEvent(const umbra::EventLine& line) override {
    if (line.kind == umbra::EventLine::Kind::Failure && line.message == cancelled_) return;
    view_.AppendEvent(line);
  }
  void ShowMessage(const std::string& text) override { view_.ShowMessage(text); }
  void SetQueryEnabled(bool enabled) override { view_.SetQueryEnabled(enabled); }
  void SetStopEnabled(bool enabled) override { view_.SetStopEnabled(enabled); }

 private:
  umbra::WatchView& view_;
  const std::string cancelled_;
};

int Run(const umbra::console::CommandLine& line) {
  // Blocked before any thread starts, so that only StopSignals' watcher
  // takes them.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  umbra::settings::Settings settings = umbra::settings::LoadSettings();
  if (line.numbers) settings.numbers = umbra::Utf8ToGbk(*line.numbers);
  if (line.refresh) settings.refreshTime = umbra::Utf8ToGbk(*line.refresh);
  if (line.endpoint) settings.endpoint = *line.endpoint;
  const std::string endpoint =
      settings.endpoint.empty() ? umbra::kDefaultPresenceEndpoint : settings.endpoint;

  // The numbers may run to megabytes: moved, not copied.
  umbra::console::ConsoleView console(std::move(settings.numbers), settings.refreshTime, stdout, stderr,
                                      line.json ? umbra::console::OutputForm::Json
                                                : umbra::console::OutputForm::Text);
  QuietWhenCancelled view(console);
  ConsoleTimer timer;
  umbra::SystemClock clock;
  umbra::net::HttpClient http;
  umbra::WatchCycle watch(view, timer, clock, http, endpoint);
  StopSignals stop(stopSignals, http);

  watch.Start();
  // A signal ends the run the same way whenever it comes, even in the only
  // scan of --once.
  if (stop.Came()) {
    watch.Stop();
    return 0;
  }
  // The message has been printed; without a working watch there is nothing
  // left to do.
  if (console.MessageWasShown()) return kMessageShown;
  if (line.once) {
    console.PrintLists();
    return watch.LastScanFailed() ? kScanFailed : 0;
  }
  for (;;) {
    if (stop.WaitUntil(timer.NextTick())) {
      watch.Stop();
      return 0;
    }
    const auto due = timer.NextTick();
    const auto now = ConsoleTimer::Clock::now();
    if (!due || *due > now) continue;
    timer.Ticked(now);
    watch.Tick();
    if (stop.Came()) {
      watch.Stop();
      return 0;
    }
    if (console.MessageWasShown()) return kMessageShown;
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
