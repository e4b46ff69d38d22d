// The lookup box and the web-client window as the user meets them: which
// page each button asks which browser to load for what Edit1 holds, the
// notices, the web-client window's show, close and show again, and a
// navigation that cannot start. Addresses are read back from the browsers
// themselves; no page needs to load, and none can: the tests run without a
// network and the browsers' requests are blocked beyond loopback.

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <memory>
#include <optional>
#include <stdexcept>

#include "tests/support/temp_working_dir.h"
#include "tests/ui/gui_test_support.h"
#include "ui/browser_navigation.h"
#include "ui/main_window.h"
#include "ui/message_box.h"
#include "ui/startup.h"
#include "ui/web_client_window.h"
#include "ui/web_services.h"

using umbra::test::Find;
using umbra::test::ModalAnswers;
using umbra::ui::ShownMessageBox;
using umbra::ui::WebService;

namespace {

// What a browser has been asked to load, as the engine holds it (encoded on
// the wire's terms); empty for a browser nothing has navigated. Read right
// after the click: the engine records the request before the click returns.
QUrl Requested(QWebEngineView& browser) { return browser.page()->requestedUrl(); }

bool Untouched(QWebEngineView& browser) {
  return Requested(browser).isEmpty() && browser.url().isEmpty();
}

QString Host(WebService service) { return QString::fromLatin1(umbra::ui::ServiceHost(service)); }

// An address as the tests name it: the service and the decoded path, query
// and fragment. A null query or fragment means the address has none.
struct Address {
  WebService service;
  QString path;
  QString query;
  QString fragment;
};

// Compares in decoded form: how the engine percent-encodes blanks and
// Chinese characters on the wire is its own matter.
void CompareAddress(const QUrl& actual, const Address& expected) {
  QCOMPARE(actual.scheme(), QStringLiteral("http"));
  QCOMPARE(actual.host(), Host(expected.service));
  QCOMPARE(actual.path(QUrl::FullyDecoded), expected.path);
  QCOMPARE(actual.hasQuery(), !expected.query.isNull());
  QCOMPARE(actual.query(QUrl::FullyDecoded), expected.query);
  QCOMPARE(actual.hasFragment(), !expected.fragment.isNull());
  QCOMPARE(actual.fragment(QUrl::FullyDecoded), expected.fragment);
}

// Waits for the page's answer to a script: anything the page had queued
// before, a load it was told to start included, has been reported by then.
bool RoundTripToPage(QWebEngineView& browser) {
  auto answered = std::make_shared<bool>(false);
  browser.page()->runJavaScript(QStringLiteral("1"), [answered](const QVariant&) { *answered = true; });
  return QTest::qWaitFor([&] { return *answered; }, 60000);
}

}  // namespace

Q_DECLARE_METATYPE(Address)

class WebLookupTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    dir_.emplace();
    answers_.emplace();
    windows_ = std::make_unique<umbra::ui::ProgramWindows>();
  }
  void cleanup() {
    windows_.reset();
    answers_.reset();
    dir_.reset();
  }

  void buttonAsksItsBrowserForTheAddress_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("number");   // Edit1's text at the click
    QTest::addColumn<QString>("browser");  // the main window's browser asked; none when empty
    QTest::addColumn<Address>("address");
    const QString none;  // no query, no fragment

    using enum WebService;
    QTest::newRow("QQ秀查询, a number")
        << "XPButton3" << "12345" << "WebBrowser3" << Address{AvatarShow, "/12345/10/00", none, none};
    QTest::newRow("QQ秀查询, empty")
        << "XPButton3" << "" << "WebBrowser3" << Address{AvatarShow, "//10/00", none, none};
    QTest::newRow("QQ秀查询, the initial text as wide characters")
        << "XPButton3" << "输入QQ号码" << "WebBrowser3"
        << Address{AvatarShow, "/输入QQ号码/10/00", none, none};
    QTest::newRow("QQ秀查询, blanks stay")
        << "XPButton3" << " 12345 " << "WebBrowser3"
        << Address{AvatarShow, "/ 12345 /10/00", none, none};
    QTest::newRow("QQ秀查询, '/' adds path segments")
        << "XPButton3" << "12/345" << "WebBrowser3"
        << Address{AvatarShow, "/12/345/10/00", none, none};
    QTest::newRow("QQ秀查询, '?' starts a query that takes the tail")
        << "XPButton3" << "12?a=1" << "WebBrowser3"
        << Address{AvatarShow, "/12", "a=1/10/00", none};
    QTest::newRow("QQ秀查询, '#' starts a fragment that takes the tail")
        << "XPButton3" << "12#top" << "WebBrowser3"
        << Address{AvatarShow, "/12", none, "top/10/00"};

    QTest::newRow("QQ问问资料, a number")
        << "XPButton4" << "12345" << "WebBrowser3"
        << Address{QuestionAnswer, "/z/ShowUser.e", "sp=S12345", none};
    QTest::newRow("QQ问问资料, empty ends the query with sp=S")
        << "XPButton4" << "" << "WebBrowser3" << Address{QuestionAnswer, "/z/ShowUser.e", "sp=S", none};
    QTest::newRow("QQ问问资料, blanks stay in the value")
        << "XPButton4" << " 12345 " << "WebBrowser3"
        << Address{QuestionAnswer, "/z/ShowUser.e", "sp=S 12345 ", none};
    QTest::newRow("QQ问问资料, '&' adds a query item")
        << "XPButton4" << "12&sp=9" << "WebBrowser3"
        << Address{QuestionAnswer, "/z/ShowUser.e", "sp=S12&sp=9", none};
    QTest::newRow("QQ问问资料, '#' ends the query")
        << "XPButton4" << "12#x" << "WebBrowser3"
        << Address{QuestionAnswer, "/z/ShowUser.e", "sp=S12", "x"};
    QTest::newRow("QQ问问资料, Chinese characters")
        << "XPButton4" << "输入QQ号码" << "WebBrowser3"
        << Address{QuestionAnswer, "/z/ShowUser.e", "sp=S输入QQ号码", none};

    QTest::newRow("QQ空间查看, a number")
        << "XPButton5" << "12345" << "WebBrowser3"
        << Address{PersonalSpace, "/12345/infocenter", none, none};
    QTest::newRow("QQ空间查看, empty")
        << "XPButton5" << "" << "WebBrowser3" << Address{PersonalSpace, "//infocenter", none, none};
    QTest::newRow("QQ空间查看, '?' takes the tail into the query")
        << "XPButton5" << "12?" << "WebBrowser3" << Address{PersonalSpace, "/12", "/infocenter", none};
    QTest::newRow("QQ空间查看, Chinese characters")
        << "XPButton5" << "张三" << "WebBrowser3" << Address{PersonalSpace, "/张三/infocenter", none, none};

    QTest::newRow("QQ相册查看, a number")
        << "XPButton6" << "12345" << "WebBrowser3" << Address{QuestionAnswer, "/z/12345", none, none};
    QTest::newRow("QQ相册查看, empty is /z/ alone")
        << "XPButton6" << "" << "WebBrowser3" << Address{QuestionAnswer, "/z/", none, none};
    QTest::newRow("QQ相册查看, a trailing blank stays")
        << "XPButton6" << "12345 " << "WebBrowser3" << Address{QuestionAnswer, "/z/12345 ", none, none};
    QTest::newRow("QQ相册查看, '/' '?' '&' '#' all at once")
        << "XPButton6" << "a/b?c&d#e" << "WebBrowser3" << Address{QuestionAnswer, "/z/a/b", "c&d", "e"};
    // The field's text crosses into GBK before the address is made, as the
    // whole program's texts do; what GBK cannot hold comes out as "?".
    QTest::newRow("QQ相册查看, a character GBK cannot hold becomes '?'")
        << "XPButton6" << "1\U0001F600" "2" << "WebBrowser3" << Address{QuestionAnswer, "/z/1", "2", none};

    QTest::newRow("登陆3GQQ, a number is not read")
        << "XPButton2" << "12345" << "WebBrowser1" << Address{MobileGateway, "/3gqq/", none, none};
    QTest::newRow("登陆3GQQ, nor are URL delimiters")
        << "XPButton2" << "1/?#&" << "WebBrowser1" << Address{MobileGateway, "/3gqq/", none, none};
    QTest::newRow("好友业务查看, a number is not read")
        << "XPButton9" << "12345" << "WebBrowser3" << Address{FriendServices, "/index.html", none, none};
    QTest::newRow("好友业务查看, nor are URL delimiters")
        << "XPButton9" << "1/?#&" << "WebBrowser3" << Address{FriendServices, "/index.html", none, none};

    QTest::newRow("强行聊天 does nothing") << "XPButton1" << "12345" << "" << Address{};
  }
  void buttonAsksItsBrowserForTheAddress() {
    QFETCH(QString, button);
    QFETCH(QString, number);
    QFETCH(QString, browser);
    QFETCH(Address, address);
    ShowMainWindow();
    Form1().Edit1->setText(number);

    Click(button);

    for (QWebEngineView* view : {Form1().WebBrowser1, Form1().WebBrowser3}) {
      if (view->objectName() == browser) {
        CompareAddress(Requested(*view), address);
      } else {
        QVERIFY2(Untouched(*view), qPrintable(view->objectName()));
      }
    }
    QCOMPARE(Form1().Edit1->text(), number);
    QVERIFY(answers_->Events().isEmpty());
    QVERIFY(!windows_->Form4().isVisible());
  }

  // Each browser keeps its last page until the next page for that browser.
  void nextPageReplacesOnlyItsOwnBrowsersPage() {
    ShowMainWindow();
    QWebEngineView& main = *Form1().WebBrowser1;
    QWebEngineView& lookup = *Form1().WebBrowser3;
    QSignalSpy mainLoaded(&main, &QWebEngineView::loadFinished);
    QSignalSpy lookupLoaded(&lookup, &QWebEngineView::loadFinished);
    const Address space{WebService::PersonalSpace, "/222/infocenter", QString(), QString()};

    Form1().Edit1->setText(QStringLiteral("111"));
    Click("XPButton3");
    QTRY_COMPARE_WITH_TIMEOUT(lookupLoaded.size(), 1, 60000);
    Form1().Edit1->setText(QStringLiteral("222"));
    Click("XPButton5");
    QTRY_COMPARE_WITH_TIMEOUT(lookupLoaded.size(), 2, 60000);
    CompareAddress(lookup.url(), space);
    QVERIFY(Untouched(main));

    Click("XPButton2");
    QTRY_COMPARE_WITH_TIMEOUT(mainLoaded.size(), 1, 60000);
    CompareAddress(main.url(), {WebService::MobileGateway, "/3gqq/", QString(), QString()});
    CompareAddress(lookup.url(), space);
    CompareAddress(Requested(lookup), space);
    QCOMPARE(lookupLoaded.size(), 2);
  }

  void noticeButtonsShowTheirBoxOnceWhateverTheAnswer_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QMessageBox::Icon>("icon");
    QTest::addColumn<QMessageBox::StandardButtons>("buttons");
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    const QMessageBox::StandardButtons retryCancel = QMessageBox::Retry | QMessageBox::Cancel;
    QTest::newRow("是否加好友, OK") << "XPButton7" << "是否好用功能暂时不可以用" << "友情提醒"
                                    << QMessageBox::Question
                                    << QMessageBox::StandardButtons(QMessageBox::Ok) << QMessageBox::Ok;
    QTest::newRow("同城MM搜索, Retry") << "BitBtn1" << "请先点击上面图片。。。。" << "提示"
                                       << QMessageBox::NoIcon << retryCancel << QMessageBox::Retry;
    QTest::newRow("同城MM搜索, Cancel") << "BitBtn1" << "请先点击上面图片。。。。" << "提示"
                                        << QMessageBox::NoIcon << retryCancel << QMessageBox::Cancel;
    QTest::newRow("查看局域网QQ, Retry") << "BitBtn2" << "请先点击上面图片。。。。" << "提示"
                                         << QMessageBox::NoIcon << retryCancel << QMessageBox::Retry;
    QTest::newRow("查看局域网QQ, Cancel") << "BitBtn2" << "请先点击上面图片。。。。" << "提示"
                                          << QMessageBox::NoIcon << retryCancel << QMessageBox::Cancel;
  }
  void noticeButtonsShowTheirBoxOnceWhateverTheAnswer() {
    QFETCH(QString, button);
    QFETCH(QString, text);
    QFETCH(QString, caption);
    QFETCH(QMessageBox::Icon, icon);
    QFETCH(QMessageBox::StandardButtons, buttons);
    QFETCH(QMessageBox::StandardButton, answer);
    ShowMainWindow();
    std::vector<ShownMessageBox> shown;
    bool modalOverMainWindow = false;
    umbra::ui::MessageBox::SetTestHook([&](const ShownMessageBox& box) {
      shown.push_back(box);
      auto* live = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      modalOverMainWindow = live != nullptr && live->parentWidget() == &Form1();
      return answer;
    });

    Click(button);

    QCOMPARE(shown.size(), 1u);
    QCOMPARE(shown[0].text, text);
    QCOMPARE(shown[0].caption, caption);
    QCOMPARE(shown[0].icon, icon);
    QCOMPARE(shown[0].buttons, buttons);
    QCOMPARE(shown[0].owner, &Form1());
    QVERIFY(modalOverMainWindow);
    QVERIFY(Untouched(*Form1().WebBrowser1));
    QVERIFY(Untouched(*Form1().WebBrowser3));
    QVERIFY(!windows_->Form4().isVisible());
  }

  // Start-up makes the window hidden and maximised, and its page is asked
  // for then, before anyone shows the window.
  void webClientWindowStartsLoadingWhileHidden() {
    umbra::ui::TForm4& form = windows_->Form4();
    QVERIFY(!form.isVisible());
    QVERIFY(form.windowState().testFlag(Qt::WindowMaximized));
    const QUrl requested = Requested(*form.WebBrowser1);
    QCOMPARE(requested.scheme(), QStringLiteral("http"));
    QCOMPARE(requested.host(), Host(WebService::WebClient));
    QCOMPARE(requested.path(), QStringLiteral("/"));  // the bare host, as the engine writes it
    QVERIFY(!requested.hasQuery());
    // The main window's browser of the same name is another control.
    QVERIFY(Untouched(*Form1().WebBrowser1));
  }

  void webClientWindowShowsModelessAndKeepsItsPage() {
    umbra::ui::TForm4& form = windows_->Form4();
    QWebEngineView& browser = *form.WebBrowser1;
    // The load started at start-up is reported from the event loop, which
    // has not run yet.
    QSignalSpy started(&browser, &QWebEngineView::loadStarted);
    QSignalSpy finished(&browser, &QWebEngineView::loadFinished);
    ShowMainWindow();
    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 60000);
    const QUrl page = browser.url();
    QCOMPARE(page, Requested(browser));

    Click("XPButton8");
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(form.isMaximized());
    QCOMPARE(browser.geometry(), form.rect());
    QVERIFY(QTest::qWaitForWindowActive(&form));
    // Modeless: the main window takes input while the window is up.
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    Form1().Edit1->setText(QStringLiteral("12345"));
    Click("XPButton6");
    CompareAddress(Requested(*Form1().WebBrowser3),
                   {WebService::QuestionAnswer, "/z/12345", QString(), QString()});

    // Shown again while up: to the front, nothing else.
    Click("XPButton8");
    QVERIFY(QTest::qWaitForWindowActive(&form));

    QVERIFY(form.close());
    QVERIFY(!form.isVisible());

    Click("XPButton8");
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(form.isMaximized());
    QVERIFY(RoundTripToPage(browser));
    QCOMPARE(browser.url(), page);
    QCOMPARE(Requested(browser), page);
    QCOMPARE(browser.history()->count(), 1);
    QCOMPARE(started.size(), 1);
    QCOMPARE(finished.size(), 1);
    QVERIFY(answers_->Events().isEmpty());
  }

  // Out of the maximised state the frame has its design size and cannot be
  // dragged to another.
  void webClientWindowRestoredHasItsDesignSize() {
    ShowMainWindow();
    umbra::ui::TForm4& form = windows_->Form4();
    Click("XPButton8");
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.showNormal();
    QTRY_COMPARE_WITH_TIMEOUT(form.size(), QSize(753, 446), 60000);
    QCOMPARE(form.minimumSize(), QSize(753, 446));
    QCOMPARE(form.maximumSize(), QSize(753, 446));
    QCOMPARE(form.WebBrowser1->geometry(), QRect(0, 0, 753, 446));
  }

  // The engine drops an address longer than it takes without a word; the
  // click reports it instead, and the program goes on.
  void addressTooLongForTheEngine_data() {
    QTest::addColumn<qsizetype>("extra");  // characters beyond the longest address
    QTest::newRow("the longest address loads") << qsizetype{0};
    QTest::newRow("one character more is an error") << qsizetype{1};
  }
  void addressTooLongForTheEngine() {
    QFETCH(qsizetype, extra);
    const qsizetype head = QStringLiteral("http://%1/z/").arg(Host(WebService::QuestionAnswer)).size();
    const QString number(umbra::ui::kLongestAddress - head + extra, QLatin1Char('7'));
    ShowMainWindow();
    Form1().Edit1->setText(number);

    Click("XPButton6");

    if (extra == 0) {
      QCOMPARE(Requested(*Form1().WebBrowser3).toEncoded().size(), umbra::ui::kLongestAddress);
      QVERIFY(answers_->Events().isEmpty());
      return;
    }
    QCOMPARE(answers_->Events(),
             QStringList{QStringLiteral("box: Cannot open an address of %1 characters; the browser "
                                        "takes at most %2.")
                             .arg(umbra::ui::kLongestAddress + 1)
                             .arg(umbra::ui::kLongestAddress)});
    const ShownMessageBox& box = answers_->Boxes()[0];
    QCOMPARE(box.caption, QStringLiteral("QQ2011Umbrascope"));
    QCOMPARE(box.icon, QMessageBox::Critical);
    QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY(Untouched(*Form1().WebBrowser3));
    QCOMPARE(Form1().Edit1->text(), number);

    // The program goes on: the next lookup loads.
    Form1().Edit1->setText(QStringLiteral("12345"));
    Click("XPButton6");
    CompareAddress(Requested(*Form1().WebBrowser3),
                   {WebService::QuestionAnswer, "/z/12345", QString(), QString()});
    QCOMPARE(answers_->Events().size(), 1);
  }

  // No fixed head lets the number make an invalid address, but the check
  // stands between any address and the engine, which would show an empty
  // page for one.
  void invalidAddressIsAnErrorAndLeavesTheBrowser() {
    ShowMainWindow();
    QWebEngineView& browser = *Form1().WebBrowser3;
    QSignalSpy loaded(&browser, &QWebEngineView::loadFinished);
    Form1().Edit1->setText(QStringLiteral("12345"));
    Click("XPButton6");
    QTRY_COMPARE_WITH_TIMEOUT(loaded.size(), 1, 60000);
    const QUrl page = browser.url();
    const QUrl invalid(QStringLiteral("http://exa mple.com/"), QUrl::StrictMode);
    QVERIFY(!invalid.isValid());
    try {
      umbra::ui::Navigate(browser, invalid);
      QFAIL("no error");
    } catch (const std::runtime_error& error) {
      QVERIFY2(std::string_view(error.what()).starts_with("Cannot open the address: "), error.what());
    }
    QCOMPARE(Requested(browser), page);
    QVERIFY(RoundTripToPage(browser));
    QCOMPARE(browser.url(), page);
    QCOMPARE(loaded.size(), 1);
  }

 private:
  umbra::ui::TForm1& Form1() { return windows_->Form1(); }

  void ShowMainWindow() {
    Form1().show();
    QVERIFY(QTest::qWaitForWindowExposed(&Form1()));
  }

  void Click(const QString& button) {
    QTest::mouseClick(Find<QAbstractButton>(Form1(), button.toUtf8().constData()), Qt::LeftButton);
  }

  std::optional<umbra::test::TempWorkingDir> dir_;
  std::optional<ModalAnswers> answers_;
  std::unique_ptr<umbra::ui::ProgramWindows> windows_;
};

UMBRASCOPE_GUI_TEST_MAIN(WebLookupTest)
#include "web_lookup_test.moc"
