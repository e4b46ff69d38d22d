// The history view over a folder of history files, offscreen, at a fixed
// moment: the numbers with their states, the chosen number's timeline and
// heatmap, a reload after a new line, and the CSV export.

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTableWidget>
#include <QTest>
#include <filesystem>
#include <optional>

#include "base/gbk.h"
#include "base/local_epoch.h"
#include "tests/support/scoped_time_zone.h"
#include "tests/support/temp_working_dir.h"
#include "tests/ui/gui_test_support.h"
#include "ui/history_heatmap.h"
#include "ui/history_timeline.h"
#include "ui/history_view.h"

using umbra::test::Find;

namespace {

long long At(int year, int month, int day, int hour = 0, int minute = 0) {
  return umbra::LocalToEpochSeconds(umbra::LocalDateTime{year, month, day, hour, minute, 0});
}

// History lines as the program writes them (given here in UTF-8).
void WriteHistory(const char* file, const std::string& lines) {
  umbra::test::WriteFileBytes(file, umbra::Utf8ToGbk(lines));
}

QStringList Row(QTableWidget& table, int row) {
  QStringList cells;
  for (int column = 0; column < table.columnCount(); ++column) cells.push_back(table.item(row, column)->text());
  return cells;
}

}  // namespace

class HistoryViewTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    zone_.emplace(umbra::test::kChinaTime);
    dir_.emplace();
    // Friday 2026-12-11, noon.
    now_ = At(2026, 12, 11, 12);
    WriteHistory("10001.txt",
                 "2026/12/9 20:00:00-----在线!\r\n2026/12/9 22:30:00-----隐身中!\r\n"
                 "2026/12/10 23:00:00-----上线了!!!\r\n2026/12/11 1:00:00-----隐身中!\r\n"
                 "2026/12/11 9:00:00-----上线了!!!\r\n");
    // The older Chinese form, a line that is none, midnight as the date alone.
    WriteHistory("10002.txt",
                 "2026年11月20日 08时00分00秒-----在线!\r\n2026年11月20日 10时00分00秒-----隐身中!\r\n"
                 "someone typed here\r\n2026/12/5 9:00:00-----上线了!!!\r\n2026/12/6-----隐身中!");
    WriteHistory("888.txt", "2026/12/10 8:00:00-----离线\r\n");
    WriteHistory("notes.txt", "not a history file\r\n");
    std::filesystem::create_directory("folder.txt");
  }
  void cleanup() {
    view_.reset();
    dir_.reset();
    zone_.reset();
  }

  void listsTheNumbersWithHistoryFilesAndTheirStates() {
    Open();
    QTableWidget& table = Table();
    QCOMPARE(table.rowCount(), 3);
    QCOMPARE(Row(table, 0), (QStringList{"888", "离线", "从未", "0分"}));
    QCOMPARE(Row(table, 1), (QStringList{"10001", "在线", "现在", "7小时30分"}));
    QCOMPARE(Row(table, 2), (QStringList{"10002", "离线", "2026-12-06 00:00", "15小时00分"}));
  }

  void timelineHasFourteenDaysWithTheChosenNumbersTimeOnline() {
    Open();
    QVERIFY(view_->ChooseNumber("10001"));
    const auto& days = Find<umbra::ui::HistoryTimeline>(*view_, "Timeline")->Days();
    QCOMPARE(days.size(), std::size_t{14});
    QCOMPARE(umbra::ui::DayLabel(days.front().date), QStringLiteral("11-28 周六"));
    QCOMPARE(umbra::ui::DayLabel(days.back().date), QStringLiteral("12-11 周五"));
    for (std::size_t i = 0; i < 11; ++i) QVERIFY(days[i].online.empty());
    using Spans = std::vector<umbra::TimeSpan>;
    QVERIFY(days[11].online == (Spans{{At(2026, 12, 9, 20), At(2026, 12, 9, 22, 30)}}));
    // Across midnight: the end of one row and the start of the next.
    QVERIFY(days[12].online == (Spans{{At(2026, 12, 10, 23), At(2026, 12, 11)}}));
    // Still online: up to now and no further.
    QVERIFY(days[13].online == (Spans{{At(2026, 12, 11), At(2026, 12, 11, 1)}, {At(2026, 12, 11, 9), now_}}));
    QCOMPARE(Find<QLabel>(*view_, "ChosenTitle")->text(), QStringLiteral("10001 的历史记录"));
    // For a look at the drawing; the end-to-end run keeps one from a real display.
    QDir().mkpath(UMBRASCOPE_ARTIFACTS);
    QVERIFY(view_->grab().save(UMBRASCOPE_ARTIFACTS "/history-view-offscreen.png"));

    const umbra::WeekHourGrid& grid = Find<umbra::ui::HistoryHeatmap>(*view_, "Heatmap")->Grid();
    QCOMPARE(*grid.Share(2, 20), 1.0);  // Wednesday 20:00
    QCOMPARE(*grid.Share(2, 22), 0.5);
    QCOMPARE(*grid.Share(3, 23), 1.0);  // Thursday 23:00
    QCOMPARE(*grid.Share(4, 5), 0.0);
    QVERIFY(!grid.Share(4, 12).has_value());  // not yet
    QVERIFY(!grid.Share(0, 10).has_value());  // never watched on a Monday

    QVERIFY(view_->ChooseNumber("10002"));
    QCOMPARE(Find<QLabel>(*view_, "ChosenTitle")->text(),
             QStringLiteral("10002 的历史记录（1 行无法识别，已跳过）"));
    const auto& otherDays = Find<umbra::ui::HistoryTimeline>(*view_, "Timeline")->Days();
    QVERIFY(otherDays[7].online == (Spans{{At(2026, 12, 5, 9), At(2026, 12, 6)}}));
  }

  void reloadShowsANewLineAndKeepsTheChosenNumber() {
    Open();
    QVERIFY(view_->ChooseNumber("10001"));
    QFile file("10001.txt");
    QVERIFY(file.open(QIODevice::Append));
    file.write(QByteArray::fromStdString(umbra::Utf8ToGbk("2026/12/11 11:00:00-----隐身中!\r\n")));
    file.close();

    view_->Reload();

    QCOMPARE(view_->ChosenNumber(), QStringLiteral("10001"));
    QCOMPARE(Row(Table(), 1), (QStringList{"10001", "离线", "2026-12-11 11:00", "6小时30分"}));
  }

  void presentingANumberWithoutHistorySaysSo() {
    Open();
    view_->Present("99999");
    QVERIFY(view_->isVisible());
    QCOMPARE(Find<QLabel>(*view_, "Status")->text(), QStringLiteral("99999 还没有历史记录"));
  }

  void emptyFolderShowsNoRows() {
    for (const char* file : {"10001.txt", "10002.txt", "888.txt"}) QVERIFY(QFile::remove(file));
    Open();
    QCOMPARE(Table().rowCount(), 0);
    QCOMPARE(Find<QLabel>(*view_, "ChosenTitle")->text(), QStringLiteral("工作目录中还没有历史记录"));
    QVERIFY(Find<umbra::ui::HistoryTimeline>(*view_, "Timeline")->Days().empty());
  }

  void exportsEveryNumbersSessionsAndEvents() {
    Open();
    QVERIFY(view_->ExportSessions("sessions.csv"));
    // UTF-8 with its byte-order mark, for spreadsheets that guess.
    QCOMPARE(QByteArray::fromStdString(umbra::test::ReadFileBytes("sessions.csv")),
             QByteArray("\xEF\xBB\xBFnumber,start,end,seconds\r\n"
                        "10001,2026-12-09T20:00:00+08:00,2026-12-09T22:30:00+08:00,9000\r\n"
                        "10001,2026-12-10T23:00:00+08:00,2026-12-11T01:00:00+08:00,7200\r\n"
                        "10001,2026-12-11T09:00:00+08:00,,\r\n"
                        "10002,2026-11-20T08:00:00+08:00,2026-11-20T10:00:00+08:00,7200\r\n"
                        "10002,2026-12-05T09:00:00+08:00,2026-12-06T00:00:00+08:00,54000\r\n"));
    QVERIFY(view_->ExportEvents("events.csv"));
    const QByteArray events = QByteArray::fromStdString(umbra::test::ReadFileBytes("events.csv"));
    QVERIFY(events.startsWith("\xEF\xBB\xBFnumber,time,event\r\n888,2026-12-10T08:00:00+08:00,离线\r\n"));
    QCOMPARE(events.count("\r\n"), 1 + 1 + 5 + 4);
    QVERIFY(Find<QLabel>(*view_, "Status")->text().startsWith(QStringLiteral("已导出到 ")));
  }

  void exportNeverReplacesAReadOnlyFile() {
    Open();
    umbra::test::WriteFileBytes("kept.csv", "mine\n");
    QVERIFY(QFile::setPermissions("kept.csv", QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    umbra::test::ModalAnswers answers;

    QVERIFY(!view_->ExportSessions("kept.csv"));

    QCOMPARE(umbra::test::ReadFileBytes("kept.csv"), std::string("mine\n"));
    QCOMPARE(answers.Boxes().size(), std::size_t{1});
    QVERIFY(answers.Boxes()[0].text.contains(QStringLiteral("只读")));
  }

  void exportIntoAFolderThatIsNotThereFailsWithAMessage() {
    Open();
    umbra::test::ModalAnswers answers;
    QVERIFY(!view_->ExportEvents("no-such-folder/events.csv"));
    QCOMPARE(answers.Boxes().size(), std::size_t{1});
    QVERIFY(!QFile::exists("no-such-folder"));
  }

 private:
  void Open() {
    view_.emplace(QStringLiteral("."), nullptr, [this] { return now_; });
    view_->show();
    QVERIFY(QTest::qWaitForWindowExposed(&*view_));
  }

  QTableWidget& Table() { return *Find<QTableWidget>(*view_, "NumberTable"); }

  std::optional<umbra::test::ScopedTimeZone> zone_;
  std::optional<umbra::test::TempWorkingDir> dir_;
  long long now_ = 0;
  std::optional<umbra::ui::HistoryView> view_;
};

UMBRASCOPE_GUI_TEST_MAIN(HistoryViewTest)
#include "history_view_test.moc"
