// What the program adds beside its windows, on a desktop with no session
// bus: the preferences file, the tray icon's tooltip and menu, and the
// lists' context menu that opens the history view. The watch runs as before
// and nothing fails for want of a bus.

#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <memory>
#include <optional>

#include "base/gbk.h"
#include "tests/support/scripted_http_server.h"
#include "tests/support/temp_working_dir.h"
#include "tests/ui/gui_test_support.h"
#include "tests/ui/session_bus.h"
#include "ui/desktop_companions.h"
#include "ui/background_watch.h"
#include "ui/history_view.h"
#include "ui/main_window.h"
#include "ui/preferences.h"
#include "ui/startup.h"
#include "ui/tray_icon.h"
#include "ui/watch_activity.h"

using umbra::test::Find;
using umbra::test::Lines;
using umbra::test::ScriptedHttpServer;
using umbra::test::ScriptedReply;
using umbra::ui::DesktopCompanions;
using umbra::ui::Preferences;

namespace {

QAction* ActionNamed(QMenu& menu, const QString& text) {
  for (QAction* action : menu.actions()) {
    if (action->text() == text) return action;
  }
  qFatal("no menu entry %s", qPrintable(text));
}

// Chooses the entry of the next popup menu once it is up, as a user would
// with the keyboard.
void ChooseInNextMenu(const QString& text) {
  auto* poll = new QTimer(qApp);
  QObject::connect(poll, &QTimer::timeout, poll, [poll, text] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) return;
    poll->deleteLater();
    poll->stop();
    menu->setActiveAction(ActionNamed(*menu, text));
    QTest::keyClick(menu, Qt::Key_Return);
  });
  poll->start(20);
}

}  // namespace

class DesktopCompanionsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    dir_.emplace();
    server_.emplace();
    answers_.emplace();
  }
  void cleanup() {
    companions_.reset();
    windows_.reset();
    answers_.reset();
    server_.reset();
    dir_.reset();
  }

  void preferencesFileIsReadWithoutEverFailing_data() {
    QTest::addColumn<QByteArray>("file");  // null: none; "<dir>": a folder in its place
    QTest::addColumn<bool>("enabled");
    QTest::newRow("no file: on") << QByteArray() << true;
    QTest::newRow("switched off") << QByteArray("[notifications]\nenabled=false\n") << false;
    QTest::newRow("switched on") << QByteArray("[notifications]\nenabled=true\n") << true;
    QTest::newRow("a value that is no switch") << QByteArray("[notifications]\nenabled=maybe\n") << true;
    QTest::newRow("binary garbage") << QByteArray("\x00\xff[[[=\n\x01\xfe]]", 12) << true;
    QTest::newRow("a folder in its place") << QByteArray("<dir>") << true;
  }
  void preferencesFileIsReadWithoutEverFailing() {
    QFETCH(QByteArray, file);
    QFETCH(bool, enabled);
    if (file == "<dir>") {
      std::filesystem::create_directory("preferences.ini");
    } else if (!file.isNull()) {
      umbra::test::WriteFileBytes("preferences.ini", file.toStdString());
    }
    Preferences preferences(QStringLiteral("preferences.ini"));
    QCOMPARE(preferences.NotificationsEnabled(), enabled);

    // The switch holds for the run and, wherever the file can take it, is
    // remembered.
    preferences.SetNotificationsEnabled(!enabled);
    QCOMPARE(preferences.NotificationsEnabled(), !enabled);
    if (file == "<dir>") {
      QVERIFY(std::filesystem::is_directory("preferences.ini"));
    } else {
      QCOMPARE(Preferences(QStringLiteral("preferences.ini")).NotificationsEnabled(), !enabled);
    }
  }

  void preferencesFileInAFolderNotYetThereIsMade() {
    Preferences preferences(QStringLiteral("config/umbrascope/preferences.ini"));
    preferences.SetNotificationsEnabled(false);
    QVERIFY(!Preferences(QStringLiteral("config/umbrascope/preferences.ini")).NotificationsEnabled());
  }

  // A large scan's changes are made in several runs of the event loop; the
  // tray and the notifications must see the scan only once all are made, or
  // a failure at its end would first pass for a success.
  void activitySettlesOnceTheWholeScanIsApplied() {
    using umbra::EventLine;
    using umbra::WatchList;
    umbra::ui::WatchActivity activity;
    std::vector<umbra::ui::ScanOutcome> outcomes;
    connect(&activity, &umbra::ui::WatchActivity::ScanSettled,
            [&outcomes](const umbra::ui::ScanOutcome& outcome) { outcomes.push_back(outcome); });

    activity.ListCleared(WatchList::Online);
    activity.ListCleared(WatchList::Offline);
    activity.NumberListed(WatchList::Online);
    QTest::qWait(50);
    QVERIFY(outcomes.empty());

    const std::string text = umbra::Utf8ToGbk("2026/12/11 3:41:30---远程数据加载失败----错误代码:List index out of bounds (1)");
    EventLine failure;
    failure.kind = EventLine::Kind::Failure;
    failure.message = "List index out of bounds (1)";
    failure.text = text;
    activity.EventAppended(failure);
    activity.ScanApplied();
    QCOMPARE(outcomes.size(), std::size_t{1});
    QVERIFY(outcomes[0].failed);
    QCOMPARE(outcomes[0].online, 1);
    QCOMPARE(outcomes[0].dateTimeText, QStringLiteral("2026/12/11 3:41:30"));

    activity.ScanApplied();  // nothing of a scan seen since: nothing to tell
    QCOMPARE(outcomes.size(), std::size_t{1});
  }

  void readOnlyPreferencesFileIsNeverReplaced() {
    const std::string bytes = "[notifications]\nenabled=true\n";
    umbra::test::WriteFileBytes("preferences.ini", bytes);
    QVERIFY(QFile::setPermissions("preferences.ini", QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    Preferences preferences(QStringLiteral("preferences.ini"));
    preferences.SetNotificationsEnabled(false);
    QVERIFY(!preferences.NotificationsEnabled());
    QCOMPARE(umbra::test::ReadFileBytes("preferences.ini"), bytes);
  }

  void trayToolTipTellsTheCountsOfTheLastScan() {
    Start("111,222,333");
    server_->SetScript({ScriptedReply::Ok("1=1;2=0;3=0;"), Unavailable()});
    QCOMPARE(Tray().ToolTip(), QStringLiteral("QQ2011Umbrascope"));

    Click("Button1");
    QTRY_VERIFY(Tray().ToolTip().contains(QStringLiteral("在线 1 个，离线 2 个")));
    QVERIFY(Tray().ToolTip().contains(QStringLiteral("\n查询时间 ")));

    Tick();  // a failed scan leaves the lists, and says it failed
    QTRY_VERIFY(Tray().ToolTip().contains(QStringLiteral("\n查询失败 ")));
    QVERIFY(Tray().ToolTip().contains(QStringLiteral("在线 1 个，离线 2 个")));
    const QString failureLine = Lines(windows_->Form1(), "ListBox3").back();
    const QString failedAt = Tray().ToolTip().section(QStringLiteral("查询失败 "), 1);
    QVERIFY(failureLine.startsWith(failedAt + QStringLiteral("---远程数据加载失败")));
    // Nothing failed for want of a session bus: the notice's thanks alone.
    QCOMPARE(answers_->Boxes().size(), 1u);
  }

  void trayMenuSwitchesNotificationsAndQuitSavesTheSettings() {
    Start("111,222");
    QSignalSpy closed(&windows_->Form1(), &umbra::ui::TForm1::Closed);
    QAction* notifications = ActionNamed(Tray().Menu(), QStringLiteral("桌面通知"));
    QVERIFY(notifications->isCheckable());
    QVERIFY(notifications->isChecked());

    notifications->trigger();
    QVERIFY(!companions_->Prefs().NotificationsEnabled());
    QVERIFY(!Preferences(PreferencesPath()).NotificationsEnabled());

    Find<QLineEdit>(windows_->Form1(), "QQhaoma")->setText(QStringLiteral("555,666"));
    ActionNamed(Tray().Menu(), QStringLiteral("退出"))->trigger();
    QCOMPARE(closed.count(), 1);
    QVERIFY(!windows_->Form1().isVisible());
    QVERIFY(umbra::test::ReadFileBytes("Config.ini").find("555,666") != std::string::npos);
  }

  void trayMenuShowsTheMainWindowAndTheHistoryView() {
    Start("111,222");
    windows_->Form1().showMinimized();
    QTRY_VERIFY(windows_->Form1().isMinimized());
    ActionNamed(Tray().Menu(), QStringLiteral("显示主窗口"))->trigger();
    QTRY_VERIFY(!windows_->Form1().isMinimized());

    QVERIFY(companions_->History() == nullptr);
    ActionNamed(Tray().Menu(), QStringLiteral("历史记录…"))->trigger();
    QVERIFY(companions_->History() != nullptr);
    QVERIFY(companions_->History()->isVisible());
  }

  void listContextMenuOpensTheNumbersHistory_data() {
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("number");
    QTest::newRow("online list") << "ListBox1" << "111";
    QTest::newRow("offline list, number with a blank") << "ListBox2" << " 你好";
  }
  void listContextMenuOpensTheNumbersHistory() {
    QFETCH(QString, list);
    QFETCH(QString, number);
    Start("111, 你好,333");
    server_->SetScript({ScriptedReply::Ok("1=1;2=0;3=0;")});
    Click("Button1");
    auto* box = Find<QListWidget>(windows_->Form1(), list.toUtf8().constData());
    const QList<QListWidgetItem*> found = box->findItems(number, Qt::MatchExactly);
    QCOMPARE(found.size(), 1);

    ChooseInNextMenu(QStringLiteral("历史记录…"));
    const QPoint at = box->visualItemRect(found[0]).center();
    QContextMenuEvent menu(QContextMenuEvent::Mouse, at, box->viewport()->mapToGlobal(at));
    QApplication::sendEvent(box->viewport(), &menu);

    QTRY_VERIFY(companions_->History() != nullptr && companions_->History()->isVisible());
    QCOMPARE(companions_->History()->ChosenNumber(), number);
    QCOMPARE(box->currentItem(), found[0]);
  }

  void historyViewFollowsTheWatch() {
    Start("111,222");
    server_->SetScript({ScriptedReply::Ok("1=1;2=0;"), ScriptedReply::Ok("1=0;2=0;")});
    Click("Button1");
    ActionNamed(Tray().Menu(), QStringLiteral("历史记录…"))->trigger();
    auto* table = Find<QTableWidget>(*companions_->History(), "NumberTable");
    QTRY_COMPARE(table->rowCount(), 2);
    QCOMPARE(table->item(0, 1)->text(), QStringLiteral("在线"));

    Tick();
    QTRY_COMPARE(table->item(0, 1)->text(), QStringLiteral("离线"));
  }

 private:
  static ScriptedReply Unavailable() {
    return ScriptedReply::Raw("HTTP/1.1 503 Service Unavailable\r\nContent-Length: 0\r\n\r\n");
  }

  QString PreferencesPath() const { return QString::fromStdString((dir_->Path() / "preferences.ini").string()); }

  void Start(const std::string& numbers) {
    umbra::test::WriteSettingsFile(numbers, "30", server_->BaseUrl());
    windows_ = std::make_unique<umbra::ui::ProgramWindows>();
    companions_ = std::make_unique<DesktopCompanions>(*windows_, Preferences(PreferencesPath()),
                                                      DesktopCompanions::TrayPolicy::Always);
    answers_->AnswerNotice(windows_->Form3(), "Button1");
    windows_->Form1().show();
    QVERIFY(QTest::qWaitForWindowExposed(&windows_->Form1()));
  }

  umbra::ui::TrayIcon& Tray() { return *companions_->Tray(); }

  void Click(const char* button) { QVERIFY(umbra::test::ClickAndSettle(windows_->Form1(), button)); }
  void Tick() { QVERIFY(umbra::test::TickAndSettle(windows_->Form1())); }

  std::optional<umbra::test::TempWorkingDir> dir_;
  std::optional<ScriptedHttpServer> server_;
  std::optional<umbra::test::ModalAnswers> answers_;
  std::unique_ptr<umbra::ui::ProgramWindows> windows_;
  std::unique_ptr<DesktopCompanions> companions_;
};

int main(int argc, char** argv) {
  // No session bus at all: the address names a socket nobody listens on.
  setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/umbrascope-test-bus", 1);
  return umbra::test::RunGuiTest<DesktopCompanionsTest>(argc, argv);
}

#include "desktop_companions_test.moc"
