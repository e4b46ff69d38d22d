#include "ui/background_watch.h"

#include <sys/resource.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QGuiApplication>
#include <exception>
#include <utility>

#include "ui/error_display.h"

namespace umbra::ui {
namespace {

constexpr qint64 kSliceMs = 20;
constexpr int kWorkerNiceness = 5;

}  // namespace

BackgroundWatch::BackgroundWatch(WatchView& view, QtRefreshTimer& timer, Clock& clock,
                                 net::HttpClient& http, std::string endpointBase, QObject* parent)
    : QObject(parent),
      view_(view),
      timer_(timer),
      cycle_(recorder_, recorder_, clock, http, std::move(endpointBase)),
      hold_(this) {
  setObjectName(QStringLiteral("BackgroundWatch"));
  connect(&hold_, &InputHold::AllHandedOn, this, &BackgroundWatch::QueueHeldTick);
}

BackgroundWatch::~BackgroundWatch() {
  if (worker_.joinable()) worker_.join();
  if (busy_) QGuiApplication::restoreOverrideCursor();
}

void BackgroundWatch::Start() {
  if (busy_) {
    waiting_.push_back(Call::Start);
    return;
  }
  Launch(Call::Start);
}

void BackgroundWatch::Stop() {
  if (busy_) {
    waiting_.push_back(Call::Stop);
    return;
  }
  recorder_.Begin(view_.NumbersText(), view_.RefreshText());
  cycle_.Stop();
  recorder_.Replay(view_, timer_);
}

void BackgroundWatch::Tick() {
  // Ticks that fall due during a scan do not pile up: at most one follows,
  // and only after the input that waited, as the original platform hands
  // out a timer's message only when no input is queued.
  if (busy_ || hold_.Reposting() > 0) {
    if (!heldTick_) heldTick_ = timer_.Restarts();
    return;
  }
  Launch(Call::Tick);
}

void BackgroundWatch::Launch(Call call) {
  // The fields are read now: the user cannot change them before the scan's
  // changes have been made, since the input waits until then.
  recorder_.Begin(view_.NumbersText(), view_.RefreshText());
  worker_ = std::thread([this, call] {
    // Second to the GUI thread when the two want the same processor: the
    // window must keep answering, the scan loses little by waiting.
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kWorkerNiceness);
    try {
      if (call == Call::Start) {
        cycle_.Start();
      } else {
        cycle_.Tick();
      }
    } catch (...) {
      recorder_.RecordEscaped(std::current_exception());
    }
    QMetaObject::invokeMethod(this, &BackgroundWatch::Finish, Qt::QueuedConnection);
  });
  busy_ = true;
  hold_.Begin();
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

void BackgroundWatch::Finish() {
  worker_.join();
  ContinueReplay();
}

void BackgroundWatch::ContinueReplay() {
  // Ten thousand numbers make some thirty thousand changes in the lists;
  // made in one go they would keep the window from answering for longer
  // than a window manager waits. Input stays held between the slices.
  QElapsedTimer slice;
  slice.start();
  bool done = false;
  try {
    done = recorder_.ReplayWhile(applying_, timer_, [&slice] { return slice.elapsed() < kSliceMs; });
  } catch (...) {
    errors_.push_back(std::current_exception());
    done = !recorder_.ReplayPending();
  }
  if (!done) {
    QMetaObject::invokeMethod(this, &BackgroundWatch::ContinueReplay, Qt::QueuedConnection);
    return;
  }
  Done();
}

void BackgroundWatch::Done() {
  busy_ = false;
  QGuiApplication::restoreOverrideCursor();
  hold_.End();
  // The tick's conversion error reaches the default error display after the
  // scan's changes, as it did when it escaped the tick handler.
  for (const std::exception_ptr& error : std::exchange(errors_, {})) {
    RunHandler([&error] { std::rethrow_exception(error); });
  }
  hold_.Repost();
  if (hold_.Reposting() == 0) QueueHeldTick();
  emit Applied();
  RunWaitingCalls();
}

void BackgroundWatch::ApplyingView::ShowMessage(const std::string& text) {
  owner_.hold_.End();
  QGuiApplication::restoreOverrideCursor();
  owner_.view_.ShowMessage(text);
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  owner_.hold_.Begin();
}

void BackgroundWatch::RunWaitingCalls() {
  while (!waiting_.empty() && !busy_) {
    const Call call = waiting_.front();
    waiting_.pop_front();
    RunHandler([this, call] {
      if (call == Call::Stop) {
        Stop();
      } else {
        Launch(call);
      }
    });
  }
}

void BackgroundWatch::QueueHeldTick() {
  if (!heldTick_ || busy_) return;
  // Behind the input that waited: the timer's message is the last one the
  // original platform's queue hands out, so a Stop that waited comes first.
  const unsigned restarts = *std::exchange(heldTick_, std::nullopt);
  QMetaObject::invokeMethod(
      this, [this, restarts] { DeliverHeldTick(restarts); }, Qt::QueuedConnection);
}

void BackgroundWatch::DeliverHeldTick(unsigned restartsWhenHeld) {
  // Stopped or restarted with another period meanwhile: the tick that fell
  // due belongs to a period that has ended.
  if (timer_.Restarts() != restartsWhenHeld) return;
  RunHandler([this] { Tick(); });
}

}  // namespace umbra::ui
