#include "ui/web_client_window.h"

#include <QEvent>
#include <QIcon>
#include <QPixmap>
#include <utility>
#include <QWebEngineView>

#include "ui/browser_navigation.h"
#include "ui/error_display.h"
#include "ui/form_builder.h"
#include "ui/web_client_window_form.h"
#include "ui/web_services.h"

namespace umbra::ui {

TForm4::TForm4() : QWidget(nullptr, Qt::Dialog) {
  const FormControls controls = BuildForm(*this, WebClientWindowForm());
  WebBrowser1 = controls.Get<QWebEngineView>("WebBrowser1");
  // Caption and close box only: no icon. Qt would show the program's icon
  // for a window without one of its own, so it gets an empty one.
  QPixmap none(16, 16);
  none.fill(Qt::transparent);
  setWindowIcon(QIcon(none));
  // An error in the create handler is shown, and the window is made all the
  // same.
  RunHandler([this] { FormCreate(); });
}

void TForm4::FormCreate() {
  // Loading starts now, at start-up, so the web client is ready by the time
  // the user asks for it.
  Navigate(*WebBrowser1, AddressUrl(PageAddress(WebPage::WebClientStart, {})));
  setWindowState(windowState() | Qt::WindowMaximized);
}

void TForm4::changeEvent(QEvent* event) {
  if (event->type() == QEvent::WindowStateChange) FitFrameToState();
  QWidget::changeEvent(event);
}

void TForm4::FitFrameToState() {
  // A frame of fixed size is one the window manager will not maximise, so
  // the size is fixed only while the window is not maximised. Maximised, the
  // frame still cannot be dragged; restored, it has its design size.
  if (windowState().testFlag(Qt::WindowMaximized)) {
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    maximized_ = true;
  } else {
    const FormDescription& form = WebClientWindowForm();
    setFixedSize(form.clientWidth, form.clientHeight);
    // Maximised at creation, before it was ever shown, the window has no
    // place of its own to return to: it returns to its design place.
    if (std::exchange(maximized_, false)) move(form.left, form.top);
  }
}

void TForm4::Show() {
  show();
  raise();
  activateWindow();
}

}  // namespace umbra::ui
