#include "ui/return_presses_button.h"

#include <QAbstractButton>
#include <QKeyEvent>

namespace umbra::ui {
namespace {

class ReturnPressesButton : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const bool isReturn = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (!isReturn || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
    auto* button = static_cast<QAbstractButton*>(watched);
    if (!key->isAutoRepeat() && button->isEnabled()) button->click();
    return true;
  }
};

}  // namespace

void PressOnReturn(QAbstractButton& button) {
  button.installEventFilter(new ReturnPressesButton(&button));
}

}  // namespace umbra::ui
