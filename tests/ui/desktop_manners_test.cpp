// The program at home on a Linux desktop: Qt's own button texts in the
// desktop's language, windows placed whole on the available screen area,
// and the browser engine's log lines kept off the terminal unless asked for.

#include <QLoggingCategory>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTranslator>

#include "tests/ui/gui_test_support.h"
#include "ui/qt_translations.h"
#include "ui/startup.h"
#include "ui/window_placement.h"

class DesktopMannersTest : public QObject {
  Q_OBJECT

 private slots:
  void standardButtonsSpeakTheDesktopsLanguage_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QStringList>("texts");  // OK, Retry, Cancel
    QTest::newRow("Chinese desktop") << "zh_CN" << QStringList{"确定", "重试", "取消"};
    QTest::newRow("English desktop") << "en_US" << QStringList{"OK", "Retry", "Cancel"};
  }
  void standardButtonsSpeakTheDesktopsLanguage() {
    QFETCH(QString, locale);
    QFETCH(QStringList, texts);
    QTranslator* translator = umbra::ui::InstallQtTranslations(QLocale(locale));
    if (locale.startsWith("zh") && translator == nullptr) {
      QSKIP("Qt's Chinese translations are not installed (qt6-translations-l10n)");
    }
    QMessageBox box(QMessageBox::NoIcon, "t", "t",
                    QMessageBox::Ok | QMessageBox::Retry | QMessageBox::Cancel);
    const QStringList shown{box.button(QMessageBox::Ok)->text().remove('&'),
                            box.button(QMessageBox::Retry)->text().remove('&'),
                            box.button(QMessageBox::Cancel)->text().remove('&')};
    if (translator != nullptr) {
      QCoreApplication::removeTranslator(translator);
      delete translator;
    }
    QCOMPARE(shown, texts);
  }

  // Sizes in the screen's logical pixels: 1280 × 800 at a scale of 1.5 is
  // 853 × 533, less a panel of 27 at the top.
  void windowsArePlacedWholeOnTheAvailableArea_data() {
    QTest::addColumn<QRect>("frame");
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QPoint>("placed");
    const QRect mainWindow(207, 123, 824, 511);
    QTest::newRow("fits: its design place") << mainWindow << QRect(0, 0, 1920, 1080) << QPoint(207, 123);
    QTest::newRow("just fits") << mainWindow << QRect(0, 0, 1031, 634) << QPoint(207, 123);
    QTest::newRow("1280x800 at 1.5 with a panel")
        << mainWindow << QRect(0, 27, 853, 506) << QPoint(29, 27);
    QTest::newRow("over the right edge only") << mainWindow << QRect(0, 0, 1000, 1000) << QPoint(176, 123);
    QTest::newRow("left of a second screen") << QRect(-50, 10, 300, 200) << QRect(0, 0, 800, 600)
                                             << QPoint(0, 10);
    QTest::newRow("larger than the area: its top left")
        << mainWindow << QRect(100, 50, 640, 480) << QPoint(100, 50);
  }
  void windowsArePlacedWholeOnTheAvailableArea() {
    QFETCH(QRect, frame);
    QFETCH(QRect, available);
    QFETCH(QPoint, placed);
    QCOMPARE(umbra::ui::PlaceWhole(frame, available), placed);
  }

  void browserLogsStayOffTheTerminalUnlessAskedFor_data() {
    QTest::addColumn<QByteArray>("asked");  // the variable's value; null: unset
    QTest::addColumn<QByteArray>("flagsBefore");
    QTest::addColumn<QByteArray>("flagsAfter");
    QTest::addColumn<bool>("quiet");
    QTest::newRow("not asked") << QByteArray() << QByteArray() << QByteArray("--log-level=3") << true;
    QTest::newRow("not asked, other flags kept")
        << QByteArray() << QByteArray("--disable-gpu") << QByteArray("--disable-gpu --log-level=3")
        << true;
    QTest::newRow("asked off") << QByteArray("0") << QByteArray() << QByteArray("--log-level=3") << true;
    QTest::newRow("asked for") << QByteArray("1") << QByteArray("--disable-gpu")
                               << QByteArray("--disable-gpu") << false;
  }
  void browserLogsStayOffTheTerminalUnlessAskedFor() {
    QFETCH(QByteArray, asked);
    QFETCH(QByteArray, flagsBefore);
    QFETCH(QByteArray, flagsAfter);
    QFETCH(bool, quiet);
    const QByteArray savedFlags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    QLoggingCategory::setFilterRules(QString());
    if (asked.isNull()) {
      qunsetenv(umbra::ui::kBrowserLogVariable);
    } else {
      qputenv(umbra::ui::kBrowserLogVariable, asked);
    }
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flagsBefore);

    umbra::ui::QuietBrowserLogs();

    const QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    const bool jsShown = QLoggingCategory("js").isInfoEnabled();
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", savedFlags);
    qunsetenv(umbra::ui::kBrowserLogVariable);
    QCOMPARE(flags, flagsAfter);
    QCOMPARE(jsShown, !quiet);
  }
};

UMBRASCOPE_GUI_TEST_MAIN(DesktopMannersTest)
#include "desktop_manners_test.moc"
