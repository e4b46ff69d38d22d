// The lists as a scan fills them: every appended line is selected at once,
// and the view shows the last one once the event loop has run.

#include <QApplication>
#include <QHelpEvent>
#include <QScrollBar>
#include <QToolTip>
#include <QTest>

#include "tests/ui/gui_test_support.h"
#include "ui/list_box.h"

using umbra::ui::TListBox;

class ListBoxTest : public QObject {
  Q_OBJECT

 private slots:
  void eachAppendedLineIsSelectedAndTheLastEndsInView() {
    TListBox box;
    box.resize(125, 61);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    for (int i = 0; i < 200; ++i) {
      box.AppendAndSelect(QString::number(10000 + i), QByteArray::number(i));
      // Whoever reads the list right after an append finds that line selected.
      QCOMPARE(box.currentRow(), i);
      QCOMPARE(*box.SelectedOriginal(), QByteArray::number(i));
    }
    QTRY_VERIFY(box.visualItemRect(box.item(199)).intersects(box.viewport()->rect()));
    QVERIFY(box.verticalScrollBar()->value() > 0);
    QCOMPARE(box.verticalScrollBar()->value(), box.verticalScrollBar()->maximum());
    QCOMPARE(box.selectedItems().size(), 1);
  }

  // A line wider than the box can be read whole: by scrolling to its end,
  // and in a tooltip over it. A line that fits needs neither.
  void wideLinesCanBeReadWhole_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("wide");
    QTest::newRow("a number that fits") << "123456" << false;
    QTest::newRow("a failure line")
        << QStringLiteral("2026/12/11 07:17:17---远程数据加载失败----错误代码:Socket Error # 10061")
        << true;
  }
  void wideLinesCanBeReadWhole() {
    QFETCH(QString, line);
    QFETCH(bool, wide);
    TListBox box;
    box.resize(125, 61);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    box.AppendAndSelect(QStringLiteral("1"), QByteArray("1"));
    box.AppendAndSelect(line, line.toUtf8());
    QTest::qWait(50);

    QScrollBar* bar = box.horizontalScrollBar();
    QCOMPARE(bar->isVisible(), wide);
    bar->setValue(bar->maximum());
    const QRect shown = box.visualItemRect(box.item(1));
    QVERIFY(shown.right() <= box.viewport()->rect().right());
    QVERIFY(shown.width() > box.fontMetrics().horizontalAdvance(line));

    const QPoint over = box.visualItemRect(box.item(1)).center();
    QHelpEvent help(QEvent::ToolTip, over, box.viewport()->mapToGlobal(over));
    QApplication::sendEvent(box.viewport(), &help);
    QCOMPARE(QToolTip::isVisible() ? QToolTip::text() : QString(), wide ? line : QString());
    QToolTip::hideText();

    // Emptied and refilled with short lines: no scroll bar is left over.
    box.clear();
    box.AppendAndSelect(QStringLiteral("1"), QByteArray("1"));
    QTest::qWait(50);
    QVERIFY(!bar->isVisible());
  }

  void clearingLeavesNothingSelected() {
    TListBox box;
    box.AppendAndSelect(QStringLiteral("1"), QByteArray("1"));
    box.clear();
    QVERIFY(!box.SelectedOriginal());
  }
};

UMBRASCOPE_GUI_TEST_MAIN(ListBoxTest)
#include "list_box_test.moc"
