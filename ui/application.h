#pragma once
// The program's application object: its title, its fonts, and the last line
// of the default error display.

#include <QApplication>

namespace umbra::ui {

class Application : public QApplication {
  Q_OBJECT
 public:
  // Call PrepareProcessEnvironment() (startup.h) before making one.
  Application(int& argc, char** argv);

  // An error that escapes an event's delivery is shown in the error box and
  // the event loop goes on with the next event. The windows' handlers catch
  // their own errors already (RunHandler); this is for whatever else throws.
  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace umbra::ui
