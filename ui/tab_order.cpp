#include "ui/tab_order.h"

#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWebEngineView>
#include <QWidget>

namespace umbra::ui {
namespace {

class TabOrderKeeper : public QObject {
 public:
  TabOrderKeeper(QWidget& window, const std::vector<QWidget*>& order) : QObject(&window) {
    for (QWidget* control : order) {
      order_.push_back(control);
      // A browser makes its focus widget as a child when its page comes.
      if (qobject_cast<QWebEngineView*>(control) != nullptr) control->installEventFilter(this);
    }
    Apply();
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if ((event->type() == QEvent::ChildAdded || event->type() == QEvent::ChildPolished) &&
        !pending_) {
      pending_ = true;
      QTimer::singleShot(0, this, [this] { Apply(); });
    }
    return false;
  }

 private:
  void Apply() {
    pending_ = false;
    QWidget* previous = nullptr;
    for (const QPointer<QWidget>& control : order_) {
      if (!control) continue;
      QWidget* focusTaker = control->focusProxy() != nullptr ? control->focusProxy() : control.data();
      if (focusTaker->focusPolicy() == Qt::NoFocus) continue;
      if (previous != nullptr) QWidget::setTabOrder(previous, focusTaker);
      previous = focusTaker;
    }
  }

  std::vector<QPointer<QWidget>> order_;
  bool pending_ = false;
};

}  // namespace

void KeepTabOrder(QWidget& window, const std::vector<QWidget*>& order) {
  new TabOrderKeeper(window, order);
}

}  // namespace umbra::ui
