#include "ui/web_client_window.h"

#include <QWebEngineView>

#include "ui/form_builder.h"
#include "ui/web_client_window_form.h"

namespace umbra::ui {

TForm4::TForm4() : QWidget(nullptr, Qt::Dialog) {
  const FormControls controls = BuildForm(*this, WebClientWindowForm());
  WebBrowser1 = controls.Get<QWebEngineView>("WebBrowser1");
}

}  // namespace umbra::ui
