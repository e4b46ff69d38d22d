#pragma once
// The watch in the window without freezing it: a scan's exchange and its
// history writes run on a thread of their own, while the window goes on
// painting under a busy cursor. What the scan changes in the window (lists,
// event log, messages, buttons, timer) is recorded and made on the GUI
// thread once the scan is done, in the order the scan made it, in slices
// short enough for the window to paint and answer in between. The user's
// input waits meanwhile and is handed on right after, so no second scan
// starts while one is out and a Stop or a close clicked during a scan takes
// effect right after it. A tick that falls due meanwhile waits too, once.

#include <QObject>
#include <deque>
#include <exception>
#include <vector>
#include <optional>
#include <string>
#include <thread>

#include "net/http_client.h"
#include "ui/input_hold.h"
#include "ui/refresh_timer.h"
#include "watch/recorded_view.h"
#include "watch/watch_cycle.h"
#include "watch/watch_ports.h"

namespace umbra::ui {

class BackgroundWatch : public QObject {
  Q_OBJECT
 public:
  // `view`, `timer` and `clock` belong to the GUI thread; `http` is used
  // only by the scan's thread while a scan is out.
  BackgroundWatch(WatchView& view, QtRefreshTimer& timer, Clock& clock, net::HttpClient& http,
                  std::string endpointBase, QObject* parent = nullptr);
  // Waits for a scan still out; its changes are not made any more.
  ~BackgroundWatch() override;

  // Query, after the notice window: the start with its first scan.
  void Start();
  // Stop: quick, no exchange, made at once.
  void Stop();
  // A tick of the refresh timer: the scan, then the period read again.
  void Tick();

  // A scan is out: its changes have not been made yet.
  bool Busy() const { return busy_; }
  // The watch table and flag, as of the last changes made. Not while Busy.
  const WatchCycle& Watch() const { return cycle_; }

 signals:
  // A scan's changes have been made in the window (and its escaped error,
  // if any, shown); the input that waited is on its way.
  void Applied();

 private:
  enum class Call { Start, Stop, Tick };

  // The real view, as the recorded changes are played onto it: a message
  // box among them takes the user's input, under the normal cursor.
  class ApplyingView final : public WatchView {
   public:
    explicit ApplyingView(BackgroundWatch& owner) : owner_(owner) {}
    std::string NumbersText() override { return owner_.view_.NumbersText(); }
    std::string RefreshText() override { return owner_.view_.RefreshText(); }
    void ClearList(WatchList list) override { owner_.view_.ClearList(list); }
    void AppendAndSelect(WatchList list, std::string_view line) override {
      owner_.view_.AppendAndSelect(list, line);
    }
    void AppendEvent(const EventLine& line) override { owner_.view_.AppendEvent(line); }
    void ShowMessage(const std::string& text) override;
    void SetQueryEnabled(bool enabled) override { owner_.view_.SetQueryEnabled(enabled); }
    void SetStopEnabled(bool enabled) override { owner_.view_.SetStopEnabled(enabled); }

   private:
    BackgroundWatch& owner_;
  };

  void Launch(Call call);
  void Finish();
  void ContinueReplay();
  void Done();
  void RunWaitingCalls();
  void QueueHeldTick();
  void DeliverHeldTick(unsigned restartsWhenHeld);

  WatchView& view_;
  ApplyingView applying_{*this};
  QtRefreshTimer& timer_;
  RecordedView recorder_;
  WatchCycle cycle_;
  InputHold hold_;
  std::thread worker_;
  bool busy_ = false;
  // The timer's restart count when a tick fell due during a scan; the tick
  // is still due afterwards only if the timer has not been restarted since.
  std::optional<unsigned> heldTick_;
  // Start and Stop asked for while a scan was out (not by the user, whose
  // input waits anyway).
  std::deque<Call> waiting_;
  // Errors met while the changes were made, shown once they all are.
  std::vector<std::exception_ptr> errors_;
};

}  // namespace umbra::ui
