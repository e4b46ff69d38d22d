// The program's life as the user meets it: the settings shown at start-up,
// the notice window's two buttons, and the close that saves the settings and
// ends the program.

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <memory>
#include <optional>

#include "settings/settings.h"
#include "tests/support/scripted_http_server.h"
#include "tests/support/temp_working_dir.h"
#include "tests/ui/gui_test_support.h"
#include "ui/main_window.h"
#include "ui/notice_window.h"
#include "ui/startup.h"
#include "base/gbk.h"

using umbra::test::Find;
using umbra::test::ModalAnswers;
using umbra::test::ScriptedHttpServer;
using umbra::test::ScriptedReply;

namespace {

const QStringList kChoices{"15", "60", "120", "180", "240"};

QStringList Choices(QComboBox& box) {
  QStringList choices;
  for (int i = 0; i < box.count(); ++i) choices.push_back(box.itemText(i));
  return choices;
}

}  // namespace

class ProgramLifecycleTest : public QObject {
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

  void startUpShowsTheStoredSettings_data() {
    QTest::addColumn<QByteArray>("file");  // Config.ini's bytes, UTF-8 here; none when null
    QTest::addColumn<QString>("numbers");
    QTest::addColumn<QString>("refreshTime");
    QTest::newRow("no settings file") << QByteArray() << "" << "30";
    QTest::newRow("stored values")
        << QByteArray("[配置参数]\r\nQQ号码=123456,88888\r\n刷新时间=60\r\n") << "123456,88888"
        << "60";
    QTest::newRow("refresh time that is no number, shown unchanged")
        << QByteArray("[配置参数]\r\nQQ号码=1\r\n刷新时间=abc\r\n") << "1" << "abc";
    QTest::newRow("keys present but empty")
        << QByteArray("[配置参数]\r\nQQ号码=\r\n刷新时间=\r\n") << "" << "";
  }
  void startUpShowsTheStoredSettings() {
    QFETCH(QByteArray, file);
    QFETCH(QString, numbers);
    QFETCH(QString, refreshTime);
    if (!file.isNull()) umbra::test::WriteFileBytes("Config.ini", umbra::Utf8ToGbk(file.toStdString()));

    windows_ = std::make_unique<umbra::ui::ProgramWindows>();

    QCOMPARE(Find<QLineEdit>(Form1(), "QQhaoma")->text(), numbers);
    auto* jiange = Find<QComboBox>(Form1(), "jiange");
    QCOMPARE(jiange->currentText(), refreshTime);
    QCOMPARE(jiange->currentIndex(), -1);
    QCOMPARE(Choices(*jiange), kChoices);
    // Reading created nothing.
    QCOMPARE(std::filesystem::exists("Config.ini"), !file.isNull());
  }

  void closeSavesTheFieldsAsTyped() {
    Start();
    Type(Find<QLineEdit>(Form1(), "QQhaoma"), "111, 222,");
    Type(Find<QComboBox>(Form1(), "jiange")->lineEdit(), "45");
    QSignalSpy closed(&Form1(), &umbra::ui::TForm1::Closed);

    QVERIFY(Form1().close());

    QCOMPARE(closed.size(), 1);
    QVERIFY(!Form1().isVisible());
    const umbra::settings::Settings saved = umbra::settings::LoadSettings();
    QCOMPARE(saved.numbers, umbra::Utf8ToGbk("111, 222,"));
    QCOMPARE(saved.refreshTime, std::string("45"));
    QVERIFY(answers_->Events().isEmpty());
  }

  void closeThatCannotSaveReportsAndClosesAllTheSame() {
    Start();
    // A directory where the settings file should be: the write fails.
    std::filesystem::remove("Config.ini");
    std::filesystem::create_directory("Config.ini");
    QSignalSpy closed(&Form1(), &umbra::ui::TForm1::Closed);

    QVERIFY(Form1().close());

    QCOMPARE(answers_->Events(), QStringList{"box: Unable to write to .\\Config.ini."});
    QCOMPARE(answers_->Boxes()[0].icon, QMessageBox::Critical);
    QCOMPARE(answers_->Boxes()[0].caption, QStringLiteral("QQ2011Umbrascope"));
    QCOMPARE(closed.size(), 1);
    QVERIFY(!Form1().isVisible());
  }

  void clickedNoticeThanksAndCloses() {
    Start();
    answers_->AnswerNotice(windows_->Form3(), "Button1");
    bool noticeUp = false;
    answers_->WhileNoticeUp([&] {
      noticeUp = windows_->Form3().isVisible() && QApplication::activeModalWidget() == &windows_->Form3();
      // Neither Escape nor Enter closes it.
      QTest::keyClick(&windows_->Form3(), Qt::Key_Escape);
      QTest::keyClick(&windows_->Form3(), Qt::Key_Return);
      noticeUp = noticeUp && windows_->Form3().isVisible();
    });

    Click("Button3");

    QVERIFY(noticeUp);
    QCOMPARE(answers_->Events(),
             (QStringList{"notice", "box: 感谢您的使用，程序加载自动判断功能，"}));
    const umbra::ui::ShownMessageBox& box = answers_->Boxes()[0];
    QCOMPARE(box.caption, QStringLiteral("提示"));
    QCOMPARE(box.icon, QMessageBox::Question);
    QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(box.owner, &windows_->Form3());
    QVERIFY(!windows_->Form3().isVisible());
    QVERIFY(Form1().isVisible());
    QCOMPARE(server_->RequestCount(), 0u);
  }

  // "忽略" pressed in the notice window that Query shows: the reproach, the
  // main window closes with its settings saved, the message loop ends, and
  // no scan is started on the way out.
  void ignoreEndsTheProgramWithoutAScan() {
    umbra::test::WriteSettingsFile("111,222", "30", server_->BaseUrl());
    server_->ReplyOkToEveryRequest("1=1;2=0;");
    windows_ = std::make_unique<umbra::ui::ProgramWindows>();
    answers_->AnswerNotice(windows_->Form3(), "Button2");
    Type(Find<QLineEdit>(Form1(), "QQhaoma"), "333");

    QTimer::singleShot(0, this, [this] { Click("Button1"); });
    bool hung = false;
    QTimer watchdog;
    watchdog.setSingleShot(true);
    connect(&watchdog, &QTimer::timeout, this, [&] {
      hung = true;
      QCoreApplication::exit(1);
    });
    watchdog.start(120000);

    const int exitCode = umbra::ui::RunMessageLoop(*windows_);

    QVERIFY(!hung);
    QCOMPARE(exitCode, 0);
    QCOMPARE(answers_->Events(), (QStringList{"notice", "box: 您没有点击广告"}));
    const umbra::ui::ShownMessageBox& box = answers_->Boxes()[0];
    QCOMPARE(box.caption, QStringLiteral("提示"));
    QCOMPARE(box.icon, QMessageBox::Critical);
    QCOMPARE(box.owner, &windows_->Form3());
    QVERIFY(!Form1().isVisible());
    QVERIFY(!windows_->Form3().isVisible());
    QCOMPARE(server_->RequestCount(), 0u);
    QCOMPARE(umbra::settings::LoadSettings().numbers, std::string("333"));
    QVERIFY(Find<QPushButton>(Form1(), "Button1")->isEnabled());
  }

  // Return on a focused button presses it, whatever kind of button it is.
  void returnOnAFocusedButtonPressesIt_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("shown");
    QTest::newRow("使用说明") << "Button3" << "notice";
    QTest::newRow("是否加好友, gradient") << "XPButton7" << "box: 是否好用功能暂时不可以用";
    QTest::newRow("同城MM搜索, with a picture") << "BitBtn1" << "box: 请先点击上面图片。。。。";
  }
  void returnOnAFocusedButtonPressesIt() {
    QFETCH(QString, button);
    QFETCH(QString, shown);
    Start();
    answers_->AnswerNotice(windows_->Form3(), "Button1");
    auto* control = Find<QAbstractButton>(Form1(), button.toUtf8().constData());
    control->setFocus();

    QTest::keyClick(control, Qt::Key_Return);

    QVERIFY(!answers_->Events().isEmpty());
    QCOMPARE(answers_->Events().front(), shown);
  }

  void settingsButtonAndForceChatDoNothing_data() {
    QTest::addColumn<QString>("button");
    QTest::newRow("设 置") << "Button4";
    QTest::newRow("强行聊天") << "XPButton1";
  }
  void settingsButtonAndForceChatDoNothing() {
    QFETCH(QString, button);
    Start();
    QTest::mouseClick(Find<QAbstractButton>(Form1(), button.toUtf8().constData()), Qt::LeftButton);
    QVERIFY(answers_->Events().isEmpty());
    QVERIFY(Form1().isVisible());
    QVERIFY(!windows_->Form3().isVisible());
    QCOMPARE(server_->RequestCount(), 0u);
  }

 private:
  umbra::ui::TForm1& Form1() { return windows_->Form1(); }

  void Start() {
    umbra::test::WriteSettingsFile("111,222", "30", server_->BaseUrl());
    windows_ = std::make_unique<umbra::ui::ProgramWindows>();
    Form1().show();
    QVERIFY(QTest::qWaitForWindowExposed(&Form1()));
  }

  void Click(const char* button) {
    QTest::mouseClick(Find<QPushButton>(Form1(), button), Qt::LeftButton);
  }

  static void Type(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
  }

  std::optional<umbra::test::TempWorkingDir> dir_;
  std::optional<ScriptedHttpServer> server_;
  std::optional<ModalAnswers> answers_;
  std::unique_ptr<umbra::ui::ProgramWindows> windows_;
};

UMBRASCOPE_GUI_TEST_MAIN(ProgramLifecycleTest)
#include "program_lifecycle_test.moc"
