// The program's message boxes and the default error display, checked on the
// live box while it is up.

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QWidget>
#include <stdexcept>

#include "tests/ui/gui_test_support.h"
#include "ui/error_display.h"
#include "ui/message_box.h"
#include "base/gbk.h"
#include "watch/integer_text.h"

using umbra::test::ModalAnswers;
using umbra::ui::MessageBox;
using umbra::ui::ShownMessageBox;

namespace {

const QString kTitle = QStringLiteral("QQ2011Umbrascope");

// The box as the user sees it, read from the widget itself.
struct LiveBox {
  QString text;
  QString caption;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  QWidget* owner = nullptr;
  bool modal = false;
};

// An object whose events throw, the way a handler's error would escape.
class ThrowingObject : public QObject {
 public:
  explicit ThrowingObject(std::string message) : message_(std::move(message)) {}
  bool event(QEvent*) override { throw std::runtime_error(message_); }

 private:
  std::string message_;
};

}  // namespace

class MessageBoxTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    answers_.emplace();
    live_.clear();
    answers_->WhileBoxUp([this](const ShownMessageBox&) {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr) return;
      live_.push_back({box->text(), box->windowTitle(), box->icon(), box->standardButtons(),
                       box->parentWidget(), box->isModal()});
    });
  }
  void cleanup() { answers_.reset(); }

  void plainBoxHasTitleNoIconAndOk() {
    MessageBox::ShowPlain(QStringLiteral("对不起,号码列表不能为空!"));
    QCOMPARE(live_.size(), 1u);
    QCOMPARE(live_[0].text, QStringLiteral("对不起,号码列表不能为空!"));
    QCOMPARE(live_[0].caption, kTitle);
    QCOMPARE(live_[0].icon, QMessageBox::NoIcon);
    QCOMPARE(live_[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(live_[0].owner, nullptr);
    QVERIFY(live_[0].modal);
  }

  void noticeStyleChoosesIconAndButtons_data() {
    QTest::addColumn<unsigned>("style");
    QTest::addColumn<QMessageBox::Icon>("icon");
    QTest::addColumn<QMessageBox::StandardButtons>("buttons");
    QTest::newRow("question, OK (0x20)") << 0x20u << QMessageBox::Question
                                         << QMessageBox::StandardButtons(QMessageBox::Ok);
    QTest::newRow("error, OK (0x10)") << 0x10u << QMessageBox::Critical
                                      << QMessageBox::StandardButtons(QMessageBox::Ok);
    QTest::newRow("retry and cancel, no icon (5)")
        << 5u << QMessageBox::NoIcon << (QMessageBox::Retry | QMessageBox::Cancel);
    QTest::newRow("OK alone (0)") << 0u << QMessageBox::NoIcon
                                  << QMessageBox::StandardButtons(QMessageBox::Ok);
    QTest::newRow("warning, yes and no (0x34)")
        << 0x34u << QMessageBox::Warning << (QMessageBox::Yes | QMessageBox::No);
  }
  void noticeStyleChoosesIconAndButtons() {
    QFETCH(unsigned, style);
    QFETCH(QMessageBox::Icon, icon);
    QFETCH(QMessageBox::StandardButtons, buttons);
    QWidget owner;
    MessageBox::ShowNotice(&owner, QStringLiteral("您没有点击广告"), QStringLiteral("提示"), style);
    QCOMPARE(live_.size(), 1u);
    QCOMPARE(live_[0].text, QStringLiteral("您没有点击广告"));
    QCOMPARE(live_[0].caption, QStringLiteral("提示"));
    QCOMPARE(live_[0].icon, icon);
    QCOMPARE(live_[0].buttons, buttons);
    QCOMPARE(live_[0].owner, &owner);
  }

  void errorBoxText_data() {
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("empty stays empty") << "" << "";
    QTest::newRow("letter gets a full stop")
        << "Unable to write to .\\Config.ini" << "Unable to write to .\\Config.ini.";
    QTest::newRow("digit gets one") << "Socket Error # 10061" << "Socket Error # 10061.";
    QTest::newRow("slash (just after '.') gets one") << "a/" << "a/.";
    QTest::newRow("Chinese character gets one") << "您没有点击广告" << "您没有点击广告.";
    QTest::newRow("closing parenthesis gets none")
        << "List index out of bounds (-1)" << "List index out of bounds (-1)";
    QTest::newRow("full stop gets none") << "Connection Closed Gracefully."
                                         << "Connection Closed Gracefully.";
    QTest::newRow("hyphen (just before '.') gets none") << "a-" << "a-";
    QTest::newRow("blank gets none") << "a " << "a ";
    QTest::newRow("line end gets none") << "Socket Error\r\n" << "Socket Error\r\n";
  }
  void errorBoxText() {
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QCOMPARE(umbra::ui::ErrorBoxText(umbra::Utf8ToGbk(message.toStdString())), shown);
  }

  void escapedErrorIsShownAndTheLoopGoesOn() {
    ThrowingObject thrower(umbra::Utf8ToGbk("'abc' is not a valid integer value"));
    QEvent event(QEvent::User);
    QCOMPARE(QCoreApplication::sendEvent(&thrower, &event), false);
    QCOMPARE(live_.size(), 1u);
    QCOMPARE(live_[0].text, QStringLiteral("'abc' is not a valid integer value."));
    QCOMPARE(live_[0].caption, kTitle);
    QCOMPARE(live_[0].icon, QMessageBox::Critical);
    QCOMPARE(live_[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(live_[0].owner, nullptr);

    // The next event is delivered as usual.
    QObject plain;
    QEvent next(QEvent::User);
    QCoreApplication::sendEvent(&plain, &next);
    QCOMPARE(live_.size(), 1u);
  }

  void handlerErrorEndsAtTheErrorDisplay() {
    umbra::ui::RunHandler([] { umbra::StrToInt("12 "); });
    QCOMPARE(live_.size(), 1u);
    QCOMPARE(live_[0].text, QStringLiteral("'12 ' is not a valid integer value."));
    QCOMPARE(live_[0].icon, QMessageBox::Critical);
  }

 private:
  std::optional<ModalAnswers> answers_;
  std::vector<LiveBox> live_;
};

UMBRASCOPE_GUI_TEST_MAIN(MessageBoxTest)
#include "message_box_test.moc"
