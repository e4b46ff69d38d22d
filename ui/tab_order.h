#pragma once
// Keeps a window's tab order as its form gives it, browsers included. A
// browser's focus widget is made only once its page is, and Qt would put it
// at the end of the chain; the order is set again whenever one appears.

#include <vector>

class QWidget;

namespace umbra::ui {

// `order`: the window's controls in tab order; those that take no focus are
// passed over.
void KeepTabOrder(QWidget& window, const std::vector<QWidget*>& order);

}  // namespace umbra::ui
