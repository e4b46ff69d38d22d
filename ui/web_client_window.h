#pragma once
// The web-client window TForm4: one browser filling a fixed dialog frame,
// holding the messenger's web client. Its page starts loading at start-up;
// closing the window only hides it, so the page, and a login made there,
// live on for the next showing. It opens maximised, the browser filling the
// screen's work area.

#include <QWidget>

class QWebEngineView;

namespace umbra::ui {

class TForm4 : public QWidget {
  Q_OBJECT
 public:
  // Builds the window, hidden, and runs FormCreate.
  TForm4();

  QWebEngineView* WebBrowser1;

  // Shows the window modeless and brings it to the front; returns at once.
  // Nothing loads its page again.
  void Show();

 protected:
  void changeEvent(QEvent* event) override;

 private:
  // The web client's start page, then the maximised state.
  void FormCreate();
  void FitFrameToState();

  bool maximized_ = false;
};

}  // namespace umbra::ui
