// Notifications of the watch on a real session bus: a dbus-daemon of the
// test's own with a notification service that records every call, and the
// program's windows running a watch against a scripted server on loopback.

#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>
#include <optional>

#include "tests/support/scripted_http_server.h"
#include "tests/support/temp_working_dir.h"
#include "tests/ui/gui_test_support.h"
#include "tests/ui/session_bus.h"
#include "ui/desktop_companions.h"
#include "ui/background_watch.h"
#include "ui/main_window.h"
#include "ui/notifier.h"
#include "ui/preferences.h"
#include "ui/startup.h"

using umbra::test::Find;
using umbra::test::Lines;
using umbra::test::NotificationService;
using umbra::test::NotifyCall;
using umbra::test::ScriptedHttpServer;
using umbra::test::ScriptedReply;

namespace {

umbra::test::SessionBus* theBus = nullptr;

const QString kUnreachable = QString::fromUtf8(umbra::ui::kUnreachableSummary);
const QString kReachableAgain = QString::fromUtf8(umbra::ui::kReachableAgainSummary);

// A failed scan that the client does not try again.
ScriptedReply Unavailable() {
  return ScriptedReply::Raw("HTTP/1.1 503 Service Unavailable\r\nContent-Length: 0\r\n\r\n");
}

}  // namespace

class DesktopNotificationsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    if (theBus->Address().empty()) QSKIP(theBus->Error().c_str());
  }

  void init() {
    dir_.emplace();
    server_.emplace();
    answers_.emplace();
    service_ = std::make_unique<NotificationService>(QString::fromStdString(theBus->Address()));
    QVERIFY(service_->IsRegistered());
  }
  void cleanup() {
    companions_.reset();
    windows_.reset();
    service_.reset();
    answers_.reset();
    server_.reset();
    dir_.reset();
  }

  void oneNotificationPerChangeAndOneForARunOfFailures() {
    Start();
    server_->SetScript({ScriptedReply::Ok("1=1;2=0;"),
                        ScriptedReply::Raw("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n"),
                        Unavailable(),
                        ScriptedReply::Ok("1=0;2=0;"),
                        ScriptedReply::Ok("1=0;2=0;")});

    Click("Button1");
    QTRY_COMPARE(service_->Calls().size(), 2);
    QCOMPARE(Summaries(), (QStringList{"111 在线!", "222 离线"}));
    // The body is the date-time text the event-log line starts with.
    const QStringList log = Lines(windows_->Form1(), "ListBox3");
    QCOMPARE(service_->Calls()[0].body + "-----111在线!", log[0]);
    QCOMPARE(service_->Calls()[1].body + "-----222离线", log[1]);

    Tick();
    QTRY_COMPARE(service_->Calls().size(), 3);
    QCOMPARE(service_->Calls()[2].summary, kUnreachable);
    QCOMPARE(service_->Calls()[2].body, QStringLiteral("HTTP/1.1 404 Not Found"));
    QCOMPARE(service_->Calls()[2].category, QStringLiteral("network.error"));

    Tick();  // failing still: nothing new
    QCOMPARE(Lines(windows_->Form1(), "ListBox3").size(), 4);
    Settle();
    QCOMPARE(Summaries().size(), 3);

    Tick();  // an answer again, and a change in it
    QTRY_COMPARE(service_->Calls().size(), 5);
    QCOMPARE(Summaries().mid(3), (QStringList{"111 隐身中!", kReachableAgain}));

    Tick();  // the same answer: nothing to tell
    Settle();
    QCOMPARE(service_->Calls().size(), 5);

    for (const NotifyCall& call : service_->Calls()) {
      QCOMPARE(call.appName, QStringLiteral("QQ2011Umbrascope"));
      QCOMPARE(call.replacesId, 0u);
      QVERIFY(call.actions.contains(QStringLiteral("default")));
      QCOMPARE(call.imageSize, QSize(48, 48));  // the program's icon
      QCOMPARE(call.expireTimeout, -1);
    }
    QCOMPARE(answers_->Boxes().size(), 1u);  // the notice's thanks, nothing else
  }

  void clickOnANotificationBringsTheMainWindowBack() {
    Start();
    server_->ReplyOkToEveryRequest("1=1;2=0;");
    Click("Button1");
    QTRY_COMPARE(service_->Calls().size(), 2);
    umbra::ui::TForm1& form1 = windows_->Form1();
    form1.showMinimized();
    QTRY_VERIFY(form1.isMinimized());

    // Someone else's notification: not ours to answer.
    service_->Click(service_->Calls()[1].id + 100);
    Settle();
    QVERIFY(form1.isMinimized());

    service_->Click(service_->Calls()[1].id);
    QTRY_VERIFY(!form1.isMinimized());
    QVERIFY(form1.isVisible());
  }

  void switchedOffThereAreNoneAndTheSwitchIsRemembered() {
    Start();
    companions_->Prefs().SetNotificationsEnabled(false);
    server_->SetScript({ScriptedReply::Ok("1=1;2=0;"), Unavailable(),
                        ScriptedReply::Ok("1=0;2=0;")});
    Click("Button1");
    Tick();
    Tick();
    Settle();
    QCOMPARE(Lines(windows_->Form1(), "ListBox3").size(), 4);
    QCOMPARE(service_->Calls().size(), 0);
    QVERIFY(!umbra::ui::Preferences(PreferencesPath()).NotificationsEnabled());
  }

  void withoutANotificationServiceNothingFails() {
    service_->Unregister();
    Start();
    server_->SetScript({ScriptedReply::Ok("1=1;2=0;"), Unavailable(),
                        ScriptedReply::Ok("1=0;2=1;")});
    Click("Button1");
    Tick();
    Tick();
    Settle();
    QCOMPARE(Lines(windows_->Form1(), "ListBox3").size(), 5);
    QCOMPARE(Lines(windows_->Form1(), "ListBox1"), QStringList{"222"});
    QCOMPARE(answers_->Boxes().size(), 1u);
    QCOMPARE(service_->Calls().size(), 0);
  }

 private:
  QString PreferencesPath() const { return QString::fromStdString((dir_->Path() / "preferences.ini").string()); }

  void Start() {
    umbra::test::WriteSettingsFile("111,222", "30", server_->BaseUrl());
    windows_ = std::make_unique<umbra::ui::ProgramWindows>();
    companions_ = std::make_unique<umbra::ui::DesktopCompanions>(*windows_, umbra::ui::Preferences(PreferencesPath()));
    answers_->AnswerNotice(windows_->Form3(), "Button1");
    windows_->Form1().show();
    QVERIFY(QTest::qWaitForWindowExposed(&windows_->Form1()));
  }

  void Click(const char* button) { QVERIFY(umbra::test::ClickAndSettle(windows_->Form1(), button)); }
  void Tick() { QVERIFY(umbra::test::TickAndSettle(windows_->Form1())); }

  // Long enough for a notification the program should not send to arrive.
  static void Settle() { QTest::qWait(300); }

  QStringList Summaries() const {
    QStringList summaries;
    for (const NotifyCall& call : service_->Calls()) summaries.push_back(call.summary);
    return summaries;
  }

  std::optional<umbra::test::TempWorkingDir> dir_;
  std::optional<ScriptedHttpServer> server_;
  std::optional<umbra::test::ModalAnswers> answers_;
  std::unique_ptr<NotificationService> service_;
  std::unique_ptr<umbra::ui::ProgramWindows> windows_;
  std::unique_ptr<umbra::ui::DesktopCompanions> companions_;
};

int main(int argc, char** argv) {
  umbra::test::SessionBus bus;
  bus.UseAsSessionBus();
  theBus = &bus;
  return umbra::test::RunGuiTest<DesktopNotificationsTest>(argc, argv);
}

#include "desktop_notifications_test.moc"
