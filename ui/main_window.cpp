#include "ui/main_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>
#include <QWebEngineView>

#include "settings/settings.h"
#include "ui/advert_page.h"
#include "ui/bit_btn.h"
#include "ui/browser_navigation.h"
#include "ui/desktop_text_app.h"
#include "ui/error_display.h"
#include "ui/form_builder.h"
#include "ui/gbk_text.h"
#include "ui/history_viewer.h"
#include "ui/list_box.h"
#include "ui/main_window_form.h"
#include "ui/message_box.h"
#include "ui/notice_window.h"
#include "ui/pictures.h"
#include "ui/web_client_window.h"
#include "ui/xp_button.h"
#include "watch/history_file.h"
#include "watch/presence_query.h"

namespace umbra::ui {

TForm1::TForm1() : QWidget(nullptr), ScanUpDate(*this) {
  const FormControls controls = BuildForm(*this, MainWindowForm());
  Label1 = controls.Get<QLabel>("Label1");
  QQhaoma = controls.Get<QLineEdit>("QQhaoma");
  Label2 = controls.Get<QLabel>("Label2");
  Label3 = controls.Get<QLabel>("Label3");
  Label4 = controls.Get<QLabel>("Label4");
  Label7 = controls.Get<QLabel>("Label7");
  jiange = controls.Get<QComboBox>("jiange");
  ListBox1 = controls.Get<TListBox>("ListBox1");
  ListBox2 = controls.Get<TListBox>("ListBox2");
  ListBox3 = controls.Get<TListBox>("ListBox3");
  Button1 = controls.Get<QPushButton>("Button1");
  Button2 = controls.Get<QPushButton>("Button2");
  Button4 = controls.Get<QPushButton>("Button4");
  Button3 = controls.Get<QPushButton>("Button3");
  GroupBox3 = controls.Get<QGroupBox>("GroupBox3");
  WebBrowser2 = controls.Get<QWebEngineView>("WebBrowser2");
  GroupBox1 = controls.Get<QGroupBox>("GroupBox1");
  WebBrowser1 = controls.Get<QWebEngineView>("WebBrowser1");
  WebBrowser3 = controls.Get<QWebEngineView>("WebBrowser3");
  GroupBox2 = controls.Get<QGroupBox>("GroupBox2");
  Edit1 = controls.Get<QLineEdit>("Edit1");
  XPButton1 = controls.Get<TXPButton>("XPButton1");
  XPButton2 = controls.Get<TXPButton>("XPButton2");
  XPButton3 = controls.Get<TXPButton>("XPButton3");
  XPButton4 = controls.Get<TXPButton>("XPButton4");
  XPButton5 = controls.Get<TXPButton>("XPButton5");
  XPButton6 = controls.Get<TXPButton>("XPButton6");
  XPButton7 = controls.Get<TXPButton>("XPButton7");
  XPButton8 = controls.Get<TXPButton>("XPButton8");
  XPButton9 = controls.Get<TXPButton>("XPButton9");
  BitBtn1 = controls.Get<TBitBtn>("BitBtn1");
  BitBtn2 = controls.Get<TBitBtn>("BitBtn2");
  WebBrowser4 = controls.Get<QWebEngineView>("WebBrowser4");
  setWindowIcon(ProgramIcon());

  // Button4, XPButton1 and a double-click in the event log do nothing.
  Bind(Button1, &QPushButton::clicked, &TForm1::Button1Click);
  Bind(Button2, &QPushButton::clicked, &TForm1::Button2Click);
  Bind(Button3, &QPushButton::clicked, &TForm1::Button3Click);
  Bind(XPButton2, &TXPButton::clicked, &TForm1::XPButton2Click);
  Bind(XPButton3, &TXPButton::clicked, &TForm1::XPButton3Click);
  Bind(XPButton4, &TXPButton::clicked, &TForm1::XPButton4Click);
  Bind(XPButton5, &TXPButton::clicked, &TForm1::XPButton5Click);
  Bind(XPButton6, &TXPButton::clicked, &TForm1::XPButton6Click);
  Bind(XPButton7, &TXPButton::clicked, &TForm1::XPButton7Click);
  Bind(XPButton8, &TXPButton::clicked, &TForm1::XPButton8Click);
  Bind(XPButton9, &TXPButton::clicked, &TForm1::XPButton9Click);
  Bind(BitBtn1, &TBitBtn::clicked, &TForm1::BitBtn1Click);
  Bind(BitBtn2, &TBitBtn::clicked, &TForm1::BitBtn2Click);
  Bind(ListBox1, &TListBox::DblClick, &TForm1::ListBox1DblClick);
  Bind(ListBox2, &TListBox::DblClick, &TForm1::ListBox2DblClick);
  Bind(&ScanUpDate.Timer(), &QTimer::timeout, &TForm1::ScanUpDateTimer);

  // An error in the create handler is shown, and the window is made all the
  // same.
  presenceEndpoint_ = kDefaultPresenceEndpoint;
  RunHandler([this] { FormCreate(); });
  watch_ = std::make_unique<BackgroundWatch>(*this, ScanUpDate, clock_, IdHTTP1, presenceEndpoint_,
                                              this);
  connect(watch_.get(), &BackgroundWatch::Applied, &activity_, &WatchActivity::ScanApplied);
}

TForm1::~TForm1() = default;

template <class Sender, class Signal>
void TForm1::Bind(Sender* sender, Signal signal, void (TForm1::*handler)()) {
  connect(sender, signal, this,
          [this, handler] { RunHandler([this, handler] { (this->*handler)(); }); });
}

void TForm1::FormCreate() {
  WebBrowser2->load(AdvertPageUrl());

  const settings::Settings stored = settings::LoadSettings();
  QQhaoma->setText(FromGbk(stored.numbers));
  // Qt selects the first choice as soon as a list gets one; the box must
  // show the stored text with no choice selected.
  for (const std::string& choice : settings::RefreshChoices()) jiange->addItem(FromGbk(choice));
  jiange->setCurrentIndex(-1);
  jiange->setEditText(FromGbk(stored.refreshTime));
  if (!stored.endpoint.empty()) presenceEndpoint_ = stored.endpoint;
}

void TForm1::FormClose() {
  settings::SaveSettings(ToGbk(QQhaoma->text()), ToGbk(jiange->currentText()));
}

void TForm1::closeEvent(QCloseEvent* event) {
  // A settings file that cannot be written is reported, and the window closes
  // all the same: keeping it open would only meet the same failure at every
  // further try.
  RunHandler([this] { FormClose(); });
  closed_ = true;
  event->accept();
  emit Closed();
}

void TForm1::Button1Click() {
  if (noticeWindow_ != nullptr) noticeWindow_->ShowModal();
  // "忽略" in the notice window has closed this window and ended the program
  // by now. A watch started here would run one scan against the endpoint
  // for a window nobody sees any more, so none is started.
  if (closed_) return;
  watch_->Start();
}

void TForm1::Button2Click() { watch_->Stop(); }

void TForm1::Button3Click() {
  if (noticeWindow_ != nullptr) noticeWindow_->ShowModal();
}

void TForm1::ScanUpDateTimer() {
  // A tick that waited behind a close from the title bar comes after the
  // window has gone: the program is ending, and no scan starts any more.
  if (closed_) return;
  watch_->Tick();
}

void TForm1::ListBox1DblClick() { OpenHistoryFile(*ListBox1); }

void TForm1::ListBox2DblClick() { OpenHistoryFile(*ListBox2); }

void TForm1::OpenHistoryFile(const TListBox& list) {
  // A double-click on an empty list, or with no line selected, has no
  // number to open.
  const std::optional<QByteArray> number = list.SelectedOriginal();
  if (!number) return;
  const std::string path = HistoryFilePath(
      std::string_view(number->constData(), static_cast<std::size_t>(number->size())));
  const QString absolute =
      QDir::current().absoluteFilePath(QFile::decodeName(QByteArray::fromStdString(path)));
  // Hands the file to the desktop's default application and does not wait.
  // A desktop with none for plain text (or a terminal editor with no
  // terminal) would show nothing at all; the program's own viewer stands in,
  // as Notepad always stood ready on the original platform.
  if (DesktopShowsPlainText() && QDesktopServices::openUrl(QUrl::fromLocalFile(absolute))) return;
  HistoryViewer::Show(absolute);
}

void TForm1::XPButton2Click() {
  Navigate(*WebBrowser1, AddressUrl(PageAddress(WebPage::MobileLogin, {})));
}

void TForm1::XPButton3Click() { OpenNumberPage(WebPage::AvatarShow); }

void TForm1::XPButton4Click() { OpenNumberPage(WebPage::QuestionProfile); }

void TForm1::XPButton5Click() { OpenNumberPage(WebPage::PersonalSpace); }

void TForm1::XPButton6Click() { OpenNumberPage(WebPage::QuestionAlbum); }

void TForm1::XPButton7Click() {
  MessageBox::ShowNotice(this, QStringLiteral("是否好用功能暂时不可以用"),
                         QStringLiteral("友情提醒"), kMbIconQuestion | kMbOk);
}

void TForm1::XPButton8Click() {
  if (webClientWindow_ != nullptr) webClientWindow_->Show();
}

void TForm1::XPButton9Click() {
  Navigate(*WebBrowser3, AddressUrl(PageAddress(WebPage::FriendServices, {})));
}

void TForm1::BitBtn1Click() { ShowClickPicturesNotice(); }

void TForm1::BitBtn2Click() { ShowClickPicturesNotice(); }

void TForm1::OpenNumberPage(WebPage page) {
  // Nothing is checked or trimmed: the service answers for whatever the
  // field holds, the initial text included.
  Navigate(*WebBrowser3, AddressUrl(PageAddress(page, ToGbk(Edit1->text()))));
}

void TForm1::ShowClickPicturesNotice() {
  MessageBox::ShowNotice(this, QStringLiteral("请先点击上面图片。。。。"), QStringLiteral("提示"),
                         kMbRetryCancel);
}

std::string TForm1::NumbersText() { return ToGbk(QQhaoma->text()); }

std::string TForm1::RefreshText() { return ToGbk(jiange->currentText()); }

TListBox& TForm1::ListFor(WatchList list) {
  switch (list) {
    case WatchList::Online: return *ListBox1;
    case WatchList::Offline: return *ListBox2;
    case WatchList::EventLog: return *ListBox3;
  }
  throw std::logic_error("unknown list");
}

void TForm1::ClearList(WatchList list) {
  ListFor(list).clear();
  activity_.ListCleared(list);
}

void TForm1::AppendAndSelect(WatchList list, std::string_view line) {
  const std::string gbk(line);
  ListFor(list).AppendAndSelect(FromGbk(gbk), QByteArray::fromStdString(gbk));
  activity_.NumberListed(list);
}

void TForm1::AppendEvent(const EventLine& line) {
  AppendAndSelect(WatchList::EventLog, line.text);
  activity_.EventAppended(line);
}

void TForm1::ShowMessage(const std::string& text) { MessageBox::ShowPlain(FromGbk(text)); }

void TForm1::SetQueryEnabled(bool enabled) { Button1->setEnabled(enabled); }

void TForm1::SetStopEnabled(bool enabled) { Button2->setEnabled(enabled); }

}  // namespace umbra::ui
