// The window while a scan is out: it goes on painting under a busy cursor,
// shows nothing of the scan until the scan is done, and keeps the user's
// clicks, keys, a close and a tick that falls due until then, to hand them on
// in their order right after the scan's changes.

#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <QtTest/qtestspontaneevent.h>
#include <chrono>
#include <memory>
#include <optional>

#include "settings/settings.h"
#include "tests/support/scripted_http_server.h"
#include "tests/support/temp_working_dir.h"
#include "tests/ui/gui_test_support.h"
#include "ui/background_watch.h"
#include "ui/main_window.h"
#include "ui/startup.h"

using umbra::test::Find;
using umbra::test::Lines;
using umbra::test::ModalAnswers;
using umbra::test::ScriptedHttpServer;
using umbra::test::ScriptedReply;

namespace {

// A reply that comes only after the test has had time to act.
ScriptedReply Slow(const char* body) {
  return ScriptedReply::Ok(body).InPieces(1 << 20, std::chrono::milliseconds(1500));
}

// Counts the paint events a widget gets.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
  int paints = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

}  // namespace

class BusyWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    dir_.emplace();
    server_.emplace();
    answers_.emplace();
  }
  void cleanup() {
    windows_.reset();
    answers_.reset();
    server_.reset();
    dir_.reset();
  }

  void aScanOutChangesNothingYetAndTheWindowStillPaints() {
    Start("111,222");
    server_->SetScript({Slow("1=1;2=0;")});

    QTest::mouseClick(Button("Button1"), Qt::LeftButton);

    QVERIFY(Watch().Busy());
    QVERIFY(QGuiApplication::overrideCursor() != nullptr);
    QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    PaintCounter painted(*Find<QListWidget>(Form1(), "ListBox3")->viewport());
    Find<QListWidget>(Form1(), "ListBox3")->viewport()->update();
    QTRY_VERIFY(painted.paints > 0);
    QVERIFY(Watch().Busy());
    QVERIFY(Lines(Form1(), "ListBox1").isEmpty());
    QVERIFY(Lines(Form1(), "ListBox3").isEmpty());
    QVERIFY(Button("Button1")->isEnabled());
    QVERIFY(!Button("Button2")->isEnabled());
    QVERIFY(!Timer().isActive());

    Settle();
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    QCOMPARE(Lines(Form1(), "ListBox1"), QStringList{"111"});
    QCOMPARE(Lines(Form1(), "ListBox3").size(), 2);
    QVERIFY(!Button("Button1")->isEnabled());
    QVERIFY(Button("Button2")->isEnabled());
    QVERIFY(Timer().isActive());
  }

  // Stop clicked while a tick's scan is out: the scan's changes are made
  // first, then the Stop, and no tick follows, not even one that falls due
  // the moment the changes are made, before the Stop has been handed on.
  void stopClickedDuringAScanTakesEffectRightAfterIt() {
    StartWatchingThenSlowTick();
    const QMetaObject::Connection tickOnApply =
        connect(&Watch(), &umbra::ui::BackgroundWatch::Applied, this,
                [this] { QMetaObject::invokeMethod(&Timer(), "timeout"); });

    ClickThroughTheWindow("Button2");
    QTest::qWait(100);
    QVERIFY(Watch().Busy());
    QVERIFY(Button("Button2")->isEnabled());

    Settle();
    QCOMPARE(Lines(Form1(), "ListBox2"), (QStringList{"111", "222"}));
    QCOMPARE(Lines(Form1(), "ListBox3").size(), 3);
    QTRY_VERIFY(Button("Button1")->isEnabled());
    QVERIFY(!Button("Button2")->isEnabled());
    QVERIFY(!Timer().isActive());
    QTest::qWait(200);
    disconnect(tickOnApply);
    QCOMPARE(server_->RequestCount(), 2u);
  }

  // Keys typed during a scan reach the field afterwards, in order; the scan
  // itself asked for the numbers the field held when it started.
  void keysTypedDuringAScanArriveInOrderAfterIt() {
    StartWatchingThenSlowTick();
    auto* numbers = Find<QLineEdit>(Form1(), "QQhaoma");
    numbers->setFocus();
    numbers->end(false);

    for (const char key : {',', '3', '3', '3'}) {
      QTest::keyClick(Form1().windowHandle(), key);
    }
    QTest::qWait(100);
    QCOMPARE(numbers->text(), QStringLiteral("111,222"));

    Settle();
    QTRY_COMPARE(numbers->text(), QStringLiteral("111,222,333"));
    QVERIFY(server_->Requests().at(1).bytes.starts_with("GET /getonline?Type=1&111:222: "));
  }

  // A close from the title bar during a scan closes the window right after
  // the scan's changes, with the settings saved.
  void closeDuringAScanTakesEffectRightAfterIt() {
    StartWatchingThenSlowTick();
    QSignalSpy closed(&Form1(), &umbra::ui::TForm1::Closed);

    QCloseEvent close;
    QSpontaneKeyEvent::setSpontaneous(&close);
    // As the window system hands it to the window: spontaneous, not sent.
    QCoreApplication::instance()->notify(Form1().windowHandle(), &close);
    QTest::qWait(100);
    QVERIFY(Form1().isVisible());
    QCOMPARE(closed.size(), 0);

    Settle();
    QTRY_COMPARE(closed.size(), 1);
    QCOMPARE(Lines(Form1(), "ListBox3").size(), 3);
    QVERIFY(!Form1().isVisible());
    QCOMPARE(umbra::settings::LoadSettings().numbers, std::string("111,222"));
  }

  // Ticks that fall due during a scan do not pile up: one waits, and comes
  // unless the scan's own re-read of the refresh time restarted the timer.
  void ticksDuringAScanWaitAsOne_data() {
    QTest::addColumn<QString>("refreshTime");
    QTest::addColumn<unsigned>("scansAfter");
    QTest::newRow("same period: one tick follows") << "30" << 1u;
    QTest::newRow("new period: the waiting tick lapses") << "60" << 0u;
  }
  void ticksDuringAScanWaitAsOne() {
    QFETCH(QString, refreshTime);
    QFETCH(unsigned, scansAfter);
    StartWatchingThenSlowTick(refreshTime);
    server_->ReplyOkToEveryRequest("1=0;2=0;");

    for (int i = 0; i < 3; ++i) QVERIFY(QMetaObject::invokeMethod(&Timer(), "timeout"));
    Settle();
    QTest::qWait(100);
    Settle();
    QTest::qWait(200);

    QCOMPARE(server_->RequestCount(), 2u + scansAfter);
    QCOMPARE(Lines(Form1(), "ListBox3").size(), 3);
    QVERIFY(Timer().isActive());
  }

 private:
  umbra::ui::TForm1& Form1() { return windows_->Form1(); }
  QTimer& Timer() { return *Find<QTimer>(Form1(), "ScanUpDate"); }
  QPushButton* Button(const char* name) { return Find<QPushButton>(Form1(), name); }
  umbra::ui::BackgroundWatch& Watch() {
    return *Find<umbra::ui::BackgroundWatch>(Form1(), "BackgroundWatch");
  }

  void Start(const std::string& numbers) {
    umbra::test::WriteSettingsFile(numbers, "30", server_->BaseUrl());
    windows_ = std::make_unique<umbra::ui::ProgramWindows>();
    answers_->AnswerNotice(windows_->Form3(), "Button1");
    Form1().show();
    QVERIFY(QTest::qWaitForWindowExposed(&Form1()));
  }

  void Settle() { QTRY_VERIFY_WITH_TIMEOUT(!Watch().Busy(), 30000); }

  // A watch whose first scan has been applied, then a tick whose scan is
  // out (its reply reports 111 gone invisible), with the refresh-time box
  // holding `refreshTime` by then.
  void StartWatchingThenSlowTick(const QString& refreshTime = QStringLiteral("30")) {
    Start("111,222");
    server_->SetScript({ScriptedReply::Ok("1=1;2=0;"), Slow("1=0;2=0;")});
    QTest::mouseClick(Button("Button1"), Qt::LeftButton);
    Settle();
    QCOMPARE(Lines(Form1(), "ListBox3").size(), 2);
    Find<QComboBox>(Form1(), "jiange")->setEditText(refreshTime);
    QVERIFY(QMetaObject::invokeMethod(&Timer(), "timeout"));
    QVERIFY(Watch().Busy());
  }

  // A click as the window system delivers it: to the window, then to the
  // control under the pointer.
  void ClickThroughTheWindow(const char* name) {
    QWidget* control = Find<QWidget>(Form1(), name);
    QTest::mouseClick(Form1().windowHandle(), Qt::LeftButton, {},
                      control->mapTo(&Form1(), control->rect().center()));
  }

  std::optional<umbra::test::TempWorkingDir> dir_;
  std::optional<ScriptedHttpServer> server_;
  std::optional<ModalAnswers> answers_;
  std::unique_ptr<umbra::ui::ProgramWindows> windows_;
};

UMBRASCOPE_GUI_TEST_MAIN(BusyWindowTest)
#include "busy_window_test.moc"
