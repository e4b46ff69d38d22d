#include "ui/application.h"

#include <exception>

#include "ui/advert_page.h"
#include "ui/application_title.h"
#include "ui/error_display.h"
#include "ui/fonts.h"
#include "ui/pictures.h"
#include "ui/qt_translations.h"

namespace umbra::ui {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
  // Not the display name: Qt would append that to every window caption.
  setApplicationName(QString::fromUtf8(kApplicationTitle));
  setWindowIcon(ProgramIcon());
  // Closing the main window ends the program, whatever else is open; the
  // main window says so itself (TForm1::Closed).
  setQuitOnLastWindowClosed(false);
  InstallFontSubstitutes();
  InstallQtTranslations(QLocale::system());
  RegisterAdvertPage();
}

bool Application::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    ShowEscapedError(error);
  } catch (...) {
    ShowEscapedUnknownError();
  }
  return false;
}

}  // namespace umbra::ui
