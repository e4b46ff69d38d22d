#include "ui/message_box.h"

#include <QAbstractButton>
#include <QTimer>
#include <utility>

#include "ui/application_title.h"

namespace umbra::ui {
namespace {

MessageBox::TestHook& Hook() {
  static MessageBox::TestHook hook;
  return hook;
}

}  // namespace

void MessageBox::ShowPlain(const QString& text) {
  Show({text, QString::fromUtf8(kApplicationTitle), QMessageBox::NoIcon, QMessageBox::Ok, nullptr});
}

void MessageBox::ShowNotice(QWidget* owner, const QString& text, const QString& caption,
                            unsigned style) {
  Show({text, caption, IconForStyle(style), ButtonsForStyle(style), owner});
}

void MessageBox::ShowError(const QString& text) {
  Show({text, QString::fromUtf8(kApplicationTitle), QMessageBox::Critical, QMessageBox::Ok,
        nullptr});
}

QMessageBox::StandardButtons MessageBox::ButtonsForStyle(unsigned style) {
  switch (style & 0x0F) {
    case kMbOkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case kMbAbortRetryIgnore: return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    case kMbYesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case kMbYesNo: return QMessageBox::Yes | QMessageBox::No;
    case kMbRetryCancel: return QMessageBox::Retry | QMessageBox::Cancel;
    default: return QMessageBox::Ok;
  }
}

QMessageBox::Icon MessageBox::IconForStyle(unsigned style) {
  switch (style & 0xF0) {
    case kMbIconError: return QMessageBox::Critical;
    case kMbIconQuestion: return QMessageBox::Question;
    case kMbIconWarning: return QMessageBox::Warning;
    case kMbIconInformation: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

void MessageBox::SetTestHook(TestHook hook) { Hook() = std::move(hook); }

void MessageBox::Show(const ShownMessageBox& shown) {
  QMessageBox box(shown.icon, shown.caption, shown.text, shown.buttons, shown.owner);
  if (Hook()) {
    // A copy, so a hook that replaces itself does not pull the ground from
    // under its own call.
    QTimer::singleShot(0, &box, [&box, shown, hook = Hook()] {
      const QMessageBox::StandardButton answer = hook(shown);
      if (QAbstractButton* button = box.button(answer)) {
        button->click();
      } else {
        box.reject();
      }
    });
  }
  box.exec();
}

}  // namespace umbra::ui
