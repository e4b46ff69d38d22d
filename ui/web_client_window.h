#pragma once
// The web-client window TForm4: one browser filling a fixed dialog frame.
// Closing it only hides it, so its page lives on for the next showing.

#include <QWidget>

class QWebEngineView;

namespace umbra::ui {

class TForm4 : public QWidget {
  Q_OBJECT
 public:
  TForm4();

  QWebEngineView* WebBrowser1;
};

}  // namespace umbra::ui
