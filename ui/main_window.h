#pragma once
// The main window TForm1: the numbers field, the refresh-time box, the three
// lists, Query, Stop, "使用说明", the banner and the lookup box. It is the
// watch's view: the core's WatchCycle reads its fields, fills its lists,
// shows its messages and flips its buttons.

#include <QWidget>
#include <memory>
#include <optional>
#include <string>

#include "net/http_client.h"
#include "ui/background_watch.h"
#include "ui/refresh_timer.h"
#include "ui/watch_activity.h"
#include "ui/web_services.h"
#include "watch/date_time_text.h"
#include "watch/watch_ports.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWebEngineView;

namespace umbra::ui {

class TBitBtn;
class TForm3;
class TForm4;
class TListBox;
class TXPButton;

class TForm1 : public QWidget, public WatchView {
  Q_OBJECT
 public:
  // Builds the window and runs FormCreate: the banner, then the settings.
  TForm1();
  ~TForm1() override;

  // The notice window Query and "使用说明" show; set once at start-up.
  void SetNoticeWindow(TForm3* noticeWindow) { noticeWindow_ = noticeWindow; }
  // The web-client window "网页QQ" shows; set once at start-up.
  void SetWebClientWindow(TForm4* webClientWindow) { webClientWindow_ = webClientWindow; }
  // The watch's calls on this window, retold for the tray icon, the
  // notifications and the history view.
  WatchActivity& Activity() { return activity_; }

  QLabel* Label1;
  QLineEdit* QQhaoma;
  QLabel* Label2;
  QLabel* Label3;
  QLabel* Label4;
  QLabel* Label7;
  QComboBox* jiange;
  TListBox* ListBox1;
  TListBox* ListBox2;
  TListBox* ListBox3;
  QPushButton* Button1;
  QPushButton* Button2;
  QPushButton* Button4;
  QPushButton* Button3;
  QGroupBox* GroupBox3;
  QWebEngineView* WebBrowser2;
  QGroupBox* GroupBox1;
  QWebEngineView* WebBrowser1;
  QWebEngineView* WebBrowser3;
  QGroupBox* GroupBox2;
  QLineEdit* Edit1;
  TXPButton* XPButton1;
  TXPButton* XPButton2;
  TXPButton* XPButton3;
  TXPButton* XPButton4;
  TXPButton* XPButton5;
  TXPButton* XPButton6;
  TXPButton* XPButton7;
  TXPButton* XPButton8;
  TXPButton* XPButton9;
  TBitBtn* BitBtn1;
  TBitBtn* BitBtn2;
  QWebEngineView* WebBrowser4;

 public slots:
  // Query: the notice window, then the watch's start.
  void Button1Click();
  // Stop.
  void Button2Click();
  // "使用说明": the notice window, modal.
  void Button3Click();
  // A tick of ScanUpDate.
  void ScanUpDateTimer();
  // Double-click in the online and the offline list: the number's history file.
  void ListBox1DblClick();
  void ListBox2DblClick();
  // The lookup box. "登陆3GQQ" opens its page in WebBrowser1; the four
  // lookups with Edit1's number and "好友业务查看" open theirs in WebBrowser3.
  void XPButton2Click();
  void XPButton3Click();
  void XPButton4Click();
  void XPButton5Click();
  void XPButton6Click();
  // "是否加好友": a notice that the function cannot be used yet.
  void XPButton7Click();
  // "网页QQ": the web-client window, modeless.
  void XPButton8Click();
  void XPButton9Click();
  // "同城MM搜索" and "查看局域网QQ": a notice to click the pictures first.
  void BitBtn1Click();
  void BitBtn2Click();

 signals:
  // The window has been closed and its settings saved: the program ends.
  void Closed();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void FormCreate();
  void FormClose();
  void OpenHistoryFile(const TListBox& list);
  void OpenNumberPage(WebPage page);
  void ShowClickPicturesNotice();
  template <class Sender, class Signal>
  void Bind(Sender* sender, Signal signal, void (TForm1::*handler)());

  // WatchView
  std::string NumbersText() override;
  std::string RefreshText() override;
  void ClearList(WatchList list) override;
  void AppendAndSelect(WatchList list, std::string_view line) override;
  void AppendEvent(const EventLine& line) override;
  void ShowMessage(const std::string& text) override;
  void SetQueryEnabled(bool enabled) override;
  void SetStopEnabled(bool enabled) override;
  TListBox& ListFor(WatchList list);

  QtRefreshTimer ScanUpDate;  // its QTimer is the child named "ScanUpDate"
  net::HttpClient IdHTTP1;
  SystemClock clock_;
  std::string presenceEndpoint_;
  // Last, so it goes first: it waits for a scan still out, which uses the
  // client and the clock above.
  std::unique_ptr<BackgroundWatch> watch_;
  TForm3* noticeWindow_ = nullptr;
  TForm4* webClientWindow_ = nullptr;
  WatchActivity activity_;
  bool closed_ = false;
};

}  // namespace umbra::ui
