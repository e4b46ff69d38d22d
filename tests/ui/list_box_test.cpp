// The lists as a scan fills them: every appended line is selected at once,
// and the view shows the last one once the event loop has run.

#include <QScrollBar>
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

  void clearingLeavesNothingSelected() {
    TListBox box;
    box.AppendAndSelect(QStringLiteral("1"), QByteArray("1"));
    box.clear();
    QVERIFY(!box.SelectedOriginal());
  }
};

UMBRASCOPE_GUI_TEST_MAIN(ListBoxTest)
#include "list_box_test.moc"
