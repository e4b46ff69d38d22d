#include "ui/notice_window.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QWebEngineView>

#include "ui/advert_page.h"
#include "ui/error_display.h"
#include "ui/form_builder.h"
#include "ui/message_box.h"
#include "ui/notice_window_form.h"

namespace umbra::ui {

TForm3::TForm3(QWidget& mainWindow) : QDialog(nullptr), mainWindow_(mainWindow) {
  const FormControls controls = BuildForm(*this, NoticeWindowForm());
  GroupBox1 = controls.Get<QGroupBox>("GroupBox1");
  WebBrowser1 = controls.Get<QWebEngineView>("WebBrowser1");
  Label1 = controls.Get<QLabel>("Label1");
  Button1 = controls.Get<QPushButton>("Button1");
  Button2 = controls.Get<QPushButton>("Button2");

  connect(Button1, &QPushButton::clicked, this, [this] { RunHandler([this] { Button1Click(); }); });
  connect(Button2, &QPushButton::clicked, this, [this] { RunHandler([this] { Button2Click(); }); });
  RunHandler([this] { FormCreate(); });
}

void TForm3::FormCreate() { WebBrowser1->load(AdvertPageUrl()); }

void TForm3::ShowModal() { exec(); }

void TForm3::Button1Click() {
  MessageBox::ShowNotice(this, QStringLiteral("感谢您的使用，程序加载自动判断功能，"),
                         QStringLiteral("提示"), kMbIconQuestion | kMbOk);
  reject();
}

void TForm3::Button2Click() {
  MessageBox::ShowNotice(this, QStringLiteral("您没有点击广告"), QStringLiteral("提示"),
                         kMbIconError | kMbOk);
  // Closing the main window saves the settings and ends the program; the
  // modal show then returns to its caller, which starts nothing any more.
  mainWindow_.close();
  reject();
}

void TForm3::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    event->ignore();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace umbra::ui
