// The refresh timer ScanUpDate keeps the timer component's rules over a
// QTimer, whose own rules differ: a QTimer with interval 0 fires at every
// turn of the event loop, and it has no enabled flag apart from running.

#include <QTest>
#include <QTimer>

#include "tests/ui/gui_test_support.h"
#include "ui/refresh_timer.h"
#include "watch/refresh_period.h"

using umbra::ui::QtRefreshTimer;

class RefreshTimerTest : public QObject {
  Q_OBJECT

 private slots:
  void startsDisabledWithItsDesignInterval() {
    QObject owner;
    QtRefreshTimer timer(owner);
    QCOMPARE(timer.Timer().objectName(), QStringLiteral("ScanUpDate"));
    QCOMPARE(timer.Timer().parent(), &owner);
    QVERIFY(!timer.Enabled());
    QCOMPARE(timer.Interval(), 100u);
    QVERIFY(!timer.Timer().isActive());
  }

  // Settings applied one after the other ("on", "off", or an interval in
  // ms), and whether a QTimer runs after them, at what interval.
  void runsOnlyWhenEnabledWithAnInterval_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<bool>("running");
    QTest::addColumn<int>("interval");
    QTest::newRow("interval set while disabled starts nothing") << QStringList{"30000"} << false << 0;
    QTest::newRow("enabling then runs at that interval") << QStringList{"30000", "on"} << true << 30000;
    QTest::newRow("a new interval while enabled runs at once")
        << QStringList{"30000", "on", "60000"} << true << 60000;
    QTest::newRow("enabled with interval 0 never ticks") << QStringList{"0", "on"} << false << 0;
    QTest::newRow("interval 0 stops an enabled timer") << QStringList{"30000", "on", "0"} << false << 0;
    QTest::newRow("an interval after 0 starts it again")
        << QStringList{"0", "on", "15000"} << true << 15000;
    QTest::newRow("disabling stops it") << QStringList{"30000", "on", "off"} << false << 0;
    QTest::newRow("enabling twice is enabling once")
        << QStringList{"30000", "on", "on"} << true << 30000;
    QTest::newRow("enabled before the interval") << QStringList{"on", "45000"} << true << 45000;
  }
  void runsOnlyWhenEnabledWithAnInterval() {
    QFETCH(QStringList, steps);
    QFETCH(bool, running);
    QFETCH(int, interval);
    QObject owner;
    QtRefreshTimer timer(owner);
    for (const QString& step : steps) {
      if (step == "on") timer.SetEnabled(true);
      else if (step == "off") timer.SetEnabled(false);
      else timer.SetInterval(step.toUInt());
    }
    QCOMPARE(timer.Timer().isActive(), running);
    if (running) QCOMPARE(timer.Timer().interval(), interval);
  }

  void longestPeriodIsServedAsIs() {
    QObject owner;
    QtRefreshTimer timer(owner);
    timer.SetInterval(umbra::kLongestRefreshPeriodMs);
    timer.SetEnabled(true);
    QVERIFY(timer.Timer().isActive());
    QCOMPARE(static_cast<std::uint32_t>(timer.Timer().interval()), umbra::kLongestRefreshPeriodMs);
  }

  void periodsBeyondTheTimersReachAreHeldToTheLongest() {
    QObject owner;
    QtRefreshTimer timer(owner);
    timer.SetEnabled(true);
    timer.SetInterval(0xFFFFFFFFu);
    QCOMPARE(timer.Interval(), 0xFFFFFFFFu);
    QVERIFY(timer.Timer().isActive());
    QCOMPARE(static_cast<std::uint32_t>(timer.Timer().interval()), umbra::kLongestRefreshPeriodMs);
  }
};

UMBRASCOPE_GUI_TEST_MAIN(RefreshTimerTest)
#include "refresh_timer_test.moc"
