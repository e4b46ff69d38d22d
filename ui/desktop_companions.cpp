#include "ui/desktop_companions.h"

#include <QByteArray>
#include <string>

#include "ui/history_view.h"
#include "ui/list_box.h"
#include "ui/main_window.h"
#include "ui/number_menu.h"
#include "ui/pictures.h"
#include "ui/startup.h"
#include "ui/tray_icon.h"
#include "watch/history_file.h"

namespace umbra::ui {

DesktopCompanions::DesktopCompanions(ProgramWindows& windows, Preferences preferences, TrayPolicy trayPolicy)
    : windows_(windows),
      preferences_(std::move(preferences)),
      desktop_(ProgramIcon().pixmap(48).toImage()),
      notifier_(preferences_, desktop_) {
  TForm1& form1 = windows_.Form1();
  notifier_.Follow(form1.Activity());
  connect(&desktop_, &DesktopNotifications::Clicked, this, &DesktopCompanions::ShowMainWindow);

  if (trayPolicy == TrayPolicy::Always || TrayIcon::IsAvailable()) {
    tray_ = std::make_unique<TrayIcon>(preferences_);
    tray_->Follow(form1.Activity());
    connect(tray_.get(), &TrayIcon::ShowMainWindowRequested, this, &DesktopCompanions::ShowMainWindow);
    connect(tray_.get(), &TrayIcon::ShowHistoryRequested, this, [this] { ShowHistory(); });
    // Quitting is closing the main window: its settings are saved as on any
    // close, and the program ends.
    connect(tray_.get(), &TrayIcon::QuitRequested, &form1, &QWidget::close);
  }

  for (TListBox* list : {form1.ListBox1, form1.ListBox2}) {
    AddHistoryMenu(*list, [this](const QByteArray& number) { ShowHistory(&number); });
  }
  // The history files have their new lines once a scan has settled.
  connect(&form1.Activity(), &WatchActivity::ScanSettled, this, [this] {
    if (history_ != nullptr && history_->isVisible()) history_->Reload();
  });
}

DesktopCompanions::~DesktopCompanions() = default;

void DesktopCompanions::ShowMainWindow() {
  TForm1& form1 = windows_.Form1();
  if (form1.isMinimized()) form1.showNormal();
  form1.show();
  form1.raise();
  form1.activateWindow();
}

void DesktopCompanions::ShowHistory(const QByteArray* numberGbk) {
  if (history_ == nullptr) history_ = std::make_unique<HistoryView>(QStringLiteral("."), &preferences_);
  QString number;
  if (numberGbk != nullptr) {
    try {
      // The number's history file is named as the watch names it.
      std::string path = HistoryFilePath(std::string_view(numberGbk->constData(),
                                                          static_cast<std::size_t>(numberGbk->size())));
      number = QString::fromUtf8(path.substr(0, path.size() - 4));
    } catch (const HistoryFileError&) {
      // A number that can name no file has no history to show.
    }
  }
  history_->Present(number);
}

}  // namespace umbra::ui
