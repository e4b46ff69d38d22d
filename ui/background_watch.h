#pragma once
// The watch in the window without freezing it: a scan's exchange and its
// history writes run on a thread of their own, while the window goes on
// painting under a busy cursor. What the scan changes in the window (lists,
// event log, messages, buttons, timer) is recorded and made on the GUI
// thread once the scan is done, in the order the scan made it. The user's
// input waits meanwhile and is handed on right after, so no second scan
// starts while one is out and a Stop or a close clicked during a scan takes
// effect right after it. A tick that falls due meanwhile waits too, once.

#include <QObject>
#include <deque>
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

  void Launch(Call call);
  void Finish();
  void RunWaitingCalls();
  void DeliverHeldTick(unsigned restartsWhenHeld);

  WatchView& view_;
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
};

}  // namespace umbra::ui
