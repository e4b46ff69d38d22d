#pragma once
// Holds the user's input to the program's windows while the watch is busy
// elsewhere, and hands it on afterwards in the order it came: clicks, keys,
// the wheel, and a close from the title bar all wait, as they waited in the
// message queue while the scan blocked the window's thread. Painting, moving
// the mouse and the window manager's pings go on meanwhile.

#include <QObject>
#include <QPointer>
#include <QWindow>
#include <memory>
#include <vector>

class QEvent;

namespace umbra::ui {

class InputHold : public QObject {
  Q_OBJECT
 public:
  // Watches every window of the application from now on.
  explicit InputHold(QObject* parent = nullptr);
  ~InputHold() override;

  // New input waits from now on.
  void Begin();
  // New input goes through again; what waited keeps waiting for Repost.
  void End();
  // Hands on what waited, in the order it came, behind whatever is queued
  // already, as the window system would have: each as its own queued call,
  // so input that opens a modal window finds the rest of it in that window's
  // loop. Input for a window that a modal window has blocked by then is
  // dropped, as input to a disabled window is; input that finds the hold on
  // again waits once more.
  void Repost();

  bool Holding() const { return holding_; }
  // Input that has been reposted and not yet handed on.
  std::size_t Reposting() const { return reposting_; }

 signals:
  // The last reposted input has been handed on (or dropped, or held again).
  void AllHandedOn();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Held {
    QPointer<QWindow> window;
    std::unique_ptr<QEvent> event;
  };

  void Deliver(Held held);
  void CountHandedOn();

  std::vector<Held> held_;
  // The event this object is handing on right now.
  const QEvent* delivering_ = nullptr;
  std::size_t reposting_ = 0;
  bool holding_ = false;
};

}  // namespace umbra::ui
