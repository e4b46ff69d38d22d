#include "ui/startup.h"

#include <unistd.h>

#include <QCoreApplication>
#include <cstdlib>

#include "ui/application.h"
#include "ui/desktop_companions.h"
#include "ui/main_window.h"
#include "ui/notice_window.h"
#include "ui/web_client_window.h"

namespace umbra::ui {

void PrepareProcessEnvironment() {
  if (geteuid() == 0) setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 1);
  // The browsers draw with OpenGL contexts shared across windows; Qt needs
  // to know before the application object exists.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

ProgramWindows::ProgramWindows()
    : form1_(std::make_unique<TForm1>()),
      form3_(std::make_unique<TForm3>(*form1_)),
      form4_(std::make_unique<TForm4>()) {
  form1_->SetNoticeWindow(form3_.get());
  form1_->SetWebClientWindow(form4_.get());
}

ProgramWindows::~ProgramWindows() = default;

int RunMessageLoop(ProgramWindows& windows) {
  QObject::connect(&windows.Form1(), &TForm1::Closed, qApp, &QCoreApplication::quit);
  windows.Form1().show();
  QCoreApplication::exec();
  return 0;
}

int RunProgram(int argc, char** argv) {
  PrepareProcessEnvironment();
  Application application(argc, argv);
  ProgramWindows windows;
  DesktopCompanions companions(windows);
  return RunMessageLoop(windows);
}

}  // namespace umbra::ui
