// The watch as the user drives it in the main window: Query, Stop and the
// refresh timer's ticks against a real HTTP server on loopback, with the
// notice window and every message box answered from inside their own
// message loops.

#include <QApplication>
#include <QComboBox>
#include <QTemporaryDir>
#include <array>
#include <QDesktopServices>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <memory>
#include <optional>

#include "tests/support/scripted_http_server.h"
#include "tests/support/temp_working_dir.h"
#include "tests/ui/gui_test_support.h"
#include "ui/background_watch.h"
#include "ui/history_viewer.h"
#include "ui/main_window.h"
#include "ui/startup.h"
#include "base/gbk.h"
#include "watch/refresh_period.h"

using umbra::test::Find;
using umbra::test::Lines;
using umbra::test::ModalAnswers;
using umbra::test::ScriptedHttpServer;
using umbra::test::ScriptedReply;

namespace {

const QString kEmptyNumbers = QStringLiteral("box: 对不起,号码列表不能为空!");
const QString kBadRefreshTime = QStringLiteral("box: [刷新时间]参数必须是有效数字!");
const QString kThanks = QStringLiteral("box: 感谢您的使用，程序加载自动判断功能，");

// Receives what the program hands to the desktop to open.
class OpenedUrls : public QObject {
  Q_OBJECT
 public:
  OpenedUrls() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open"); }
  ~OpenedUrls() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
  QList<QUrl> urls;

 public slots:
  void open(const QUrl& url) { urls.push_back(url); }
};

// A desktop whose default application for plain text is `entry` (a desktop
// entry that runs in a terminal or not), or one with none at all (empty),
// for as long as the object lives.
class DesktopTextApplication {
 public:
  enum class Kind { None, WindowedEditor, TerminalEditor };
  explicit DesktopTextApplication(Kind kind) {
    saved_ = {qgetenv("XDG_CONFIG_HOME"), qgetenv("XDG_DATA_HOME"), qgetenv("XDG_DATA_DIRS")};
    const QString root = dir_.path();
    QDir().mkpath(root + "/config");
    QDir().mkpath(root + "/data/applications");
    QDir().mkpath(root + "/system");
    qputenv("XDG_CONFIG_HOME", (root + "/config").toLocal8Bit());
    qputenv("XDG_DATA_HOME", (root + "/data").toLocal8Bit());
    qputenv("XDG_DATA_DIRS", (root + "/system").toLocal8Bit());
    if (kind == Kind::None) return;
    Write(root + "/config/mimeapps.list",
          "[Default Applications]\ntext/plain=umbrascope-test-editor.desktop\n");
    Write(root + "/data/applications/umbrascope-test-editor.desktop",
          QByteArray("[Desktop Entry]\nType=Application\nName=Editor\nExec=true %f\nTerminal=") +
              (kind == Kind::TerminalEditor ? "true" : "false") + "\n");
  }
  ~DesktopTextApplication() {
    const char* names[] = {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_DATA_DIRS"};
    for (int i = 0; i < 3; ++i) {
      if (saved_[i].isNull()) {
        qunsetenv(names[i]);
      } else {
        qputenv(names[i], saved_[i]);
      }
    }
  }

 private:
  static void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  QTemporaryDir dir_;
  std::array<QByteArray, 3> saved_;
};

// The program's own history viewers that are open.
QList<umbra::ui::HistoryViewer*> Viewers() {
  QList<umbra::ui::HistoryViewer*> viewers;
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (auto* viewer = qobject_cast<umbra::ui::HistoryViewer*>(window)) viewers.push_back(viewer);
  }
  return viewers;
}

// The event-log lines without their date-time text.
QStringList Events(QObject& window) {
  QStringList events;
  for (const QString& line : Lines(window, "ListBox3")) {
    const qsizetype at = line.indexOf(QStringLiteral("---"));
    events.push_back(at < 0 ? line : line.mid(at));
  }
  return events;
}

}  // namespace

class WatchWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    dir_.emplace();
    server_.emplace();
    answers_.emplace();
  }
  void cleanup() {
    qDeleteAll(Viewers());
    windows_.reset();
    answers_.reset();
    server_.reset();
    dir_.reset();
  }

  void queryRefusesBadInput_data() {
    QTest::addColumn<QString>("numbers");
    QTest::addColumn<QString>("refreshTime");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty numbers") << "" << "30" << kEmptyNumbers;
    QTest::newRow("empty numbers come first") << "" << "abc" << kEmptyNumbers;
    QTest::newRow("letters for the refresh time") << "111" << "abc" << kBadRefreshTime;
    QTest::newRow("empty refresh time") << "111" << "" << kBadRefreshTime;
    QTest::newRow("blank after the refresh time") << "111" << "30 " << kBadRefreshTime;
    QTest::newRow("refresh time beyond 32 bits") << "111" << "2147483648" << kBadRefreshTime;
  }
  void queryRefusesBadInput() {
    QFETCH(QString, numbers);
    QFETCH(QString, refreshTime);
    QFETCH(QString, message);
    Start("", "30");
    Type("QQhaoma", numbers);
    Type("jiange", refreshTime);

    Click("Button1");

    QCOMPARE(answers_->Events(), (QStringList{"notice", kThanks, message}));
    const umbra::ui::ShownMessageBox& box = answers_->Boxes().back();
    QCOMPARE(box.caption, QStringLiteral("QQ2011Umbrascope"));
    QCOMPARE(box.icon, QMessageBox::NoIcon);
    QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(box.owner, nullptr);
    ExpectStopped();
    QCOMPARE(server_->RequestCount(), 0u);
    QVERIFY(Lines(Form1(), "ListBox3").isEmpty());
  }

  void watchFillsListsEventLogAndHistoryFiles() {
    Start("111,222", "30");
    server_->SetScript({ScriptedReply::Ok("1=1;2=0;"), ScriptedReply::Ok("1=1;2=0;"),
                        ScriptedReply::Ok("1=0;2=1;")});

    Click("Button1");
    QCOMPARE(answers_->Events(), (QStringList{"notice", kThanks}));
    QVERIFY(server_->Requests().at(0).bytes.starts_with("GET /getonline?Type=1&111:222: HTTP/1.1\r\n"));
    QCOMPARE(Lines(Form1(), "ListBox1"), QStringList{"111"});
    QCOMPARE(Lines(Form1(), "ListBox2"), QStringList{"222"});
    QCOMPARE(Events(Form1()), (QStringList{"-----111在线!", "-----222离线"}));
    ExpectWatching(30000);
    for (const char* list : {"ListBox1", "ListBox2", "ListBox3"}) {
      auto* box = Find<QListWidget>(Form1(), list);
      QCOMPARE(box->currentRow(), box->count() - 1);
    }
    QVERIFY(QFile::exists("111.txt"));
    QVERIFY(umbra::test::ReadFileBytes("222.txt").ends_with(umbra::Utf8ToGbk("-----离线\r\n")));

    // The same answer again: the lists are rebuilt, nothing is reported.
    Tick();
    QCOMPARE(Lines(Form1(), "ListBox1"), QStringList{"111"});
    QCOMPARE(Lines(Form1(), "ListBox2"), QStringList{"222"});
    QCOMPARE(Events(Form1()).size(), 2);

    Tick();
    QCOMPARE(Lines(Form1(), "ListBox1"), QStringList{"222"});
    QCOMPARE(Lines(Form1(), "ListBox2"), QStringList{"111"});
    QCOMPARE(Events(Form1()), (QStringList{"-----111在线!", "-----222离线", "-----111隐身中!",
                                           "-----222上线了!!!"}));
    QCOMPARE(server_->RequestCount(), 3u);
    ExpectWatching(30000);
    QCOMPARE(answers_->Boxes().size(), 1u);
  }

  void stopThenQueryAgainWordsChangesAsAFirstScan() {
    Start("111,222", "30");
    server_->SetScript({ScriptedReply::Ok("1=1;2=0;"), ScriptedReply::Ok("1=0;2=0;")});
    Click("Button1");

    Click("Button2");
    ExpectStopped();
    QCOMPARE(Lines(Form1(), "ListBox1"), QStringList{"111"});
    QCOMPARE(Events(Form1()).size(), 2);

    Click("Button1");
    ExpectWatching(30000);
    // Only 111 changed since the last scan of the previous watch.
    QCOMPARE(Events(Form1()).mid(2), QStringList{"-----111离线"});
    QCOMPARE(answers_->Events().count("notice"), 2);
  }

  void refreshTimeChangedDuringAWatchTakesEffectAtTheTick_data() {
    QTest::addColumn<QString>("refreshTime");
    QTest::addColumn<bool>("ticking");
    QTest::addColumn<int>("period");
    QTest::newRow("longer") << "60" << true << 60000;
    QTest::newRow("one of the choices") << "15" << true << 15000;
    QTest::newRow("zero: no tick ever again") << "0" << false << 0;
    QTest::newRow("negative: the longest period")
        << "-30" << true << static_cast<int>(umbra::kLongestRefreshPeriodMs);
    QTest::newRow("hexadecimal") << "$3C" << true << 60000;
  }
  void refreshTimeChangedDuringAWatchTakesEffectAtTheTick() {
    QFETCH(QString, refreshTime);
    QFETCH(bool, ticking);
    QFETCH(int, period);
    Start("111,222", "30");
    server_->ReplyOkToEveryRequest("1=1;2=0;");
    Click("Button1");
    ExpectWatching(30000);

    Type("jiange", refreshTime);
    QCOMPARE(Timer().interval(), 30000);  // nothing happens before the tick
    Tick();

    QVERIFY(Find<QPushButton>(Form1(), "Button2")->isEnabled());
    QCOMPARE(Timer().isActive(), ticking);
    if (ticking) QCOMPARE(Timer().interval(), period);
    QCOMPARE(answers_->Boxes().size(), 1u);
  }

  void badRefreshTimeAtATickStopsWithTwoBoxes() {
    Start("111,222", "30");
    server_->ReplyOkToEveryRequest("1=1;2=0;");
    Click("Button1");
    answers_->Clear();

    Type("jiange", "abc");
    Tick();

    QCOMPARE(answers_->Events(),
             (QStringList{kBadRefreshTime, "box: 'abc' is not a valid integer value."}));
    const umbra::ui::ShownMessageBox& error = answers_->Boxes().back();
    QCOMPARE(error.caption, QStringLiteral("QQ2011Umbrascope"));
    QCOMPARE(error.icon, QMessageBox::Critical);
    QCOMPARE(error.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    ExpectStopped();
    QCOMPARE(Timer().interval(), 30000);
    QCOMPARE(server_->RequestCount(), 1u);
  }

  void emptiedNumbersAtATickStopWithOneBox() {
    Start("111,222", "30");
    server_->ReplyOkToEveryRequest("1=1;2=0;");
    Click("Button1");
    answers_->Clear();

    Type("QQhaoma", "");
    Tick();

    QCOMPARE(answers_->Events(), QStringList{kEmptyNumbers});
    ExpectStopped();
    QCOMPARE(server_->RequestCount(), 1u);
  }

  void failedQueryIsLoggedAndTheWatchGoesOn() {
    Start("111,222", "30");
    server_->SetScript({ScriptedReply::Raw("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n"),
                        ScriptedReply::Ok("1=1;2=0;")});
    Click("Button1");

    QCOMPARE(Events(Form1()),
             QStringList{"---远程数据加载失败----错误代码:HTTP/1.1 404 Not Found"});
    ExpectWatching(30000);
    QCOMPARE(answers_->Boxes().size(), 1u);

    // The next good answer is still worded as the first of the watch.
    Tick();
    QCOMPARE(Events(Form1()).mid(1), (QStringList{"-----111在线!", "-----222离线"}));
  }

  void instructionsDuringAWatchLeaveItRunning() {
    Start("111,222", "30");
    server_->SetScript({ScriptedReply::Ok("1=1;2=0;"), ScriptedReply::Ok("1=0;2=0;")});
    Click("Button1");
    answers_->Clear();

    // A tick that falls due while the notice window is up is served there.
    answers_->WhileNoticeUp([this] { Tick(); });
    Click("Button3");

    QCOMPARE(answers_->Events(), (QStringList{"notice", kThanks}));
    QCOMPARE(Events(Form1()).mid(2), QStringList{"-----111隐身中!"});
    ExpectWatching(30000);
  }

  void doubleClickOpensTheNumbersHistoryFile_data() {
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("file");
    QTest::newRow("online list") << "ListBox1" << "111.txt";
    QTest::newRow("offline list, blank kept") << "ListBox2" << " 222.txt";
  }
  void doubleClickOpensTheNumbersHistoryFile() {
    QFETCH(QString, list);
    QFETCH(QString, file);
    Start("111, 222", "30");
    server_->SetScript({ScriptedReply::Ok("1=1;2=0;")});
    Click("Button1");
    DesktopTextApplication desktop(DesktopTextApplication::Kind::WindowedEditor);
    OpenedUrls opened;

    DoubleClick(list, 0);

    QCOMPARE(opened.urls.size(), 1);
    QCOMPARE(opened.urls[0].toLocalFile(), QDir::current().absoluteFilePath(file));
    QCOMPARE(answers_->Boxes().size(), 1u);
    QVERIFY(Viewers().isEmpty());
  }

  // A desktop that cannot show plain text: the program's own viewer shows
  // the file, decoded, follows it as it grows, and shows a file that does
  // not exist yet as an empty page.
  void doubleClickWithoutADesktopTextViewerOpensTheProgramsOwn_data() {
    QTest::addColumn<int>("desktop");
    QTest::addColumn<bool>("fileGone");
    QTest::newRow("no application for plain text")
        << static_cast<int>(DesktopTextApplication::Kind::None) << false;
    QTest::newRow("a terminal editor") << static_cast<int>(DesktopTextApplication::Kind::TerminalEditor)
                                       << false;
    QTest::newRow("history file not there")
        << static_cast<int>(DesktopTextApplication::Kind::None) << true;
  }
  void doubleClickWithoutADesktopTextViewerOpensTheProgramsOwn() {
    QFETCH(int, desktop);
    QFETCH(bool, fileGone);
    Start("111,222", "30");
    server_->SetScript({ScriptedReply::Ok("1=1;2=0;")});
    Click("Button1");
    DesktopTextApplication noViewer(static_cast<DesktopTextApplication::Kind>(desktop));
    if (fileGone) QVERIFY(QFile::remove("111.txt"));
    const QString first = fileGone ? QString() : QStringLiteral("-----在线!\n");
    OpenedUrls opened;

    DoubleClick("ListBox1", 0);

    QVERIFY(opened.urls.isEmpty());
    QCOMPARE(Viewers().size(), 1);
    umbra::ui::HistoryViewer& viewer = *Viewers().front();
    QVERIFY(viewer.isVisible());
    QCOMPARE(viewer.windowTitle(), QStringLiteral("111.txt"));
    QVERIFY(viewer.Text().endsWith(first));
    QCOMPARE(viewer.Text().isEmpty(), fileGone);

    // The watch appends a line: the viewer shows it.
    umbra::test::WriteFileBytes("111.txt", (fileGone ? std::string() : umbra::test::ReadFileBytes("111.txt")) +
                                               umbra::Utf8ToGbk("2026/12/11 08:00:00-----隐身中!\r\n"));
    QTRY_VERIFY(viewer.Text().endsWith(QStringLiteral("2026/12/11 08:00:00-----隐身中!\n")));
    QVERIFY(!viewer.Text().contains(QLatin1Char('\r')));

    // The same number again: the same viewer, in front.
    DoubleClick("ListBox1", 0);
    QCOMPARE(Viewers().size(), 1);
  }

  void doubleClickWithNoNumberDoesNothing_data() {
    QTest::addColumn<QString>("list");
    QTest::addColumn<bool>("watched");
    QTest::addColumn<int>("row");  // -1: below the lines
    QTest::newRow("empty online list") << "ListBox1" << false << -1;
    QTest::newRow("empty offline list") << "ListBox2" << false << -1;
    QTest::newRow("offline list, nothing selected") << "ListBox2" << true << -1;
    QTest::newRow("event log, on a line") << "ListBox3" << true << 0;
  }
  void doubleClickWithNoNumberDoesNothing() {
    QFETCH(QString, list);
    QFETCH(bool, watched);
    QFETCH(int, row);
    Start("111,222", "30");
    server_->SetScript({ScriptedReply::Ok("1=1;2=0;")});
    if (watched) {
      Click("Button1");
      Find<QListWidget>(Form1(), list.toUtf8().constData())->clearSelection();
    }
    answers_->Clear();
    OpenedUrls opened;

    DoubleClick(list, row);

    QVERIFY(opened.urls.isEmpty());
    QVERIFY(answers_->Events().isEmpty());
  }

 private:
  umbra::ui::TForm1& Form1() { return windows_->Form1(); }
  QTimer& Timer() { return *Find<QTimer>(Form1(), "ScanUpDate"); }

  // The program as it starts with these settings, against the test server.
  void Start(const std::string& numbers, const std::string& refreshTime) {
    umbra::test::WriteSettingsFile(numbers, refreshTime, server_->BaseUrl());
    windows_ = std::make_unique<umbra::ui::ProgramWindows>();
    answers_->AnswerNotice(windows_->Form3(), "Button1");
    Form1().show();
    QVERIFY(QTest::qWaitForWindowExposed(&Form1()));
  }

  // A click, and whatever scan it started run to its end.
  void Click(const char* button) { QVERIFY(umbra::test::ClickAndSettle(Form1(), button)); }

  // Waits until no scan is out and the changes of the last one are made.
  void Settle() { QVERIFY(umbra::test::ScanSettled(Form1())); }

  // Replaces a field's text by typing.
  void Type(const char* field, const QString& text) {
    QLineEdit* edit = qobject_cast<QComboBox*>(Form1().findChild<QWidget*>(field))
                          ? Find<QComboBox>(Form1(), field)->lineEdit()
                          : Find<QLineEdit>(Form1(), field);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
    QCOMPARE(edit->text(), text);
  }

  // One tick of ScanUpDate, delivered as the timer delivers it, and its
  // scan run to its end.
  void Tick() { QVERIFY(umbra::test::TickAndSettle(Form1())); }

  // A double-click on a line of the list, or below its lines (row -1).
  void DoubleClick(const QString& listName, int row) {
    auto* list = Find<QListWidget>(Form1(), listName.toUtf8().constData());
    const QPoint at = row >= 0 ? list->visualItemRect(list->item(row)).center()
                               : QPoint(5, list->viewport()->height() - 3);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
  }

  void ExpectStopped() {
    QVERIFY(Find<QPushButton>(Form1(), "Button1")->isEnabled());
    QVERIFY(!Find<QPushButton>(Form1(), "Button2")->isEnabled());
    QVERIFY(!Timer().isActive());
  }

  void ExpectWatching(int period) {
    QVERIFY(!Find<QPushButton>(Form1(), "Button1")->isEnabled());
    QVERIFY(Find<QPushButton>(Form1(), "Button2")->isEnabled());
    QVERIFY(Timer().isActive());
    QCOMPARE(Timer().interval(), period);
  }

  std::optional<umbra::test::TempWorkingDir> dir_;
  std::optional<ScriptedHttpServer> server_;
  std::optional<ModalAnswers> answers_;
  std::unique_ptr<umbra::ui::ProgramWindows> windows_;
};

UMBRASCOPE_GUI_TEST_MAIN(WatchWindowTest)
#include "watch_window_test.moc"
