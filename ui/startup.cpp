#include "ui/startup.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QLoggingCategory>
#include <string>
#include <string_view>
#include <cstdlib>

#include "ui/application.h"
#include "ui/desktop_companions.h"
#include "ui/main_window.h"
#include "ui/notice_window.h"
#include "ui/web_client_window.h"
#include "ui/window_placement.h"

namespace umbra::ui {

void PrepareProcessEnvironment() {
  if (geteuid() == 0) setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 1);
  QuietBrowserLogs();
  // The browsers draw with OpenGL contexts shared across windows; Qt needs
  // to know before the application object exists.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

void QuietBrowserLogs() {
  // The browser engine reports its own troubles (drawing without a GPU,
  // the pages' scripts) on the terminal; they mean nothing to the user,
  // who can still ask for them.
  const char* wanted = std::getenv(kBrowserLogVariable);
  if (wanted != nullptr && *wanted != '\0' && std::string_view(wanted) != "0") return;
  std::string flags = std::getenv("QTWEBENGINE_CHROMIUM_FLAGS") != nullptr
                          ? std::getenv("QTWEBENGINE_CHROMIUM_FLAGS")
                          : "";
  if (flags.find("--log-level") == std::string::npos) {
    flags += flags.empty() ? "--log-level=3" : " --log-level=3";  // fatal errors only
    setenv("QTWEBENGINE_CHROMIUM_FLAGS", flags.c_str(), 1);
  }
  QLoggingCategory::setFilterRules(QStringLiteral("js=false\nqt.webenginecontext=false"));
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
  PlaceWholeOnScreen(windows.Form1());
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
