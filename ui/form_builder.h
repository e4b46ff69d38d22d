#pragma once
// Makes a window's controls from its description.

#include <QHash>
#include <QString>
#include <QWidget>
#include <stdexcept>

#include "ui/form_description.h"

namespace umbra::ui {

class FormControls {
 public:
  // The control of that name and kind; a name the form does not hold is a
  // programming error.
  template <class Widget>
  Widget* Get(const char* name) const {
    auto* widget = qobject_cast<Widget*>(controls_.value(QString::fromUtf8(name)));
    if (widget == nullptr) throw std::logic_error(std::string("form has no control ") + name);
    return widget;
  }

 private:
  friend FormControls BuildForm(QWidget& window, const FormDescription& form);
  QHash<QString, QWidget*> controls_;
};

// Applies the window's own settings to `window` and makes every control as
// a child of it or of its container.
FormControls BuildForm(QWidget& window, const FormDescription& form);

}  // namespace umbra::ui
