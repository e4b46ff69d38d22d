#include "ui/input_hold.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <utility>

namespace umbra::ui {
namespace {

// The user's own acts. Input reaches a window first (QWindow) and from there
// its widgets, so holding it at the window keeps the whole way it takes
// (focus on click, double-click, context menu) for when it is handed on.
bool IsUserInput(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ContextMenu:
    case QEvent::Close:
      return true;
    default:
      return false;
  }
}

bool BlockedByModalWindow(const QWindow& window) {
  const QWindow* modal = QGuiApplication::modalWindow();
  if (modal == nullptr) return false;
  for (const QWindow* w = &window; w != nullptr; w = w->transientParent()) {
    if (w == modal) return false;
  }
  return true;
}

}  // namespace

InputHold::InputHold(QObject* parent) : QObject(parent) {
  QCoreApplication::instance()->installEventFilter(this);
}

InputHold::~InputHold() {
  if (QCoreApplication* application = QCoreApplication::instance()) {
    application->removeEventFilter(this);
  }
}

void InputHold::Begin() { holding_ = true; }

void InputHold::End() { holding_ = false; }

void InputHold::Repost() {
  std::vector<Held> held = std::exchange(held_, {});
  reposting_ += held.size();
  for (Held& h : held) {
    auto shared = std::make_shared<Held>(std::move(h));
    QMetaObject::invokeMethod(
        this, [this, shared] { Deliver(std::move(*shared)); }, Qt::QueuedConnection);
  }
}

void InputHold::Deliver(Held held) {
  // Counted before it is handed on: input that opens a modal window returns
  // only when that window closes, and the watch goes on meanwhile.
  CountHandedOn();
  if (!held.window || BlockedByModalWindow(*held.window)) return;
  if (holding_) {
    held_.push_back(std::move(held));
    return;
  }
  // Delivered as the window system delivers it: straight to the window, as
  // the user's own act (a click still moves the focus).
  delivering_ = held.event.get();
  QCoreApplication::instance()->notify(held.window, held.event.get());
  delivering_ = nullptr;
}

void InputHold::CountHandedOn() {
  if (reposting_ > 0 && --reposting_ == 0) emit AllHandedOn();
}

bool InputHold::eventFilter(QObject* watched, QEvent* event) {
  if (!holding_ || event == delivering_ || !event->spontaneous()) return false;
  if (!watched->isWindowType() || !IsUserInput(event->type())) return false;
  held_.push_back({static_cast<QWindow*>(watched), std::unique_ptr<QEvent>(event->clone())});
  return true;
}

}  // namespace umbra::ui
