#pragma once
// What the window tests share: the application made as the program makes
// it, browsers kept on this machine, a stand-in for the user at modal
// windows, and a settings file written byte for byte.

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTest>
#include <functional>
#include <string>
#include <vector>

#include "ui/application.h"
#include "ui/message_box.h"
#include "ui/startup.h"

namespace umbra::ui {
class TForm3;
}

namespace umbra::test {

// Blocks every request of the browsers to a host other than this machine's
// own. The windows load outside pages (the web client at start-up, the
// lookups); the tests run without a network anyway, and this keeps them
// from reaching one where they are run with it by mistake.
void KeepBrowsersOnThisMachine();

template <class TestObject>
int RunGuiTest(int argc, char** argv) {
  ui::PrepareProcessEnvironment();
  ui::Application application(argc, argv);
  KeepBrowsersOnThisMachine();
  TestObject test;
  return QTest::qExec(&test, argc, argv);
}

#define UMBRASCOPE_GUI_TEST_MAIN(TestObject) \
  int main(int argc, char** argv) { return umbra::test::RunGuiTest<TestObject>(argc, argv); }

// Answers every modal the windows put up, from inside its own message loop,
// the way a user would: message boxes with their first button, the notice
// window with the button it is told to press. Records what came up, in
// order, as "notice" and "box: <text>".
class ModalAnswers : public QObject {
  Q_OBJECT
 public:
  ModalAnswers();
  ~ModalAnswers() override;

  // From now on, press the notice window's button of that name ("Button1"
  // for "我已点击", "Button2" for "忽略") whenever it is shown.
  void AnswerNotice(ui::TForm3& notice, const char* buttonName);
  // Runs while the notice window is up, before its button is pressed.
  void WhileNoticeUp(std::function<void()> action) { whileNoticeUp_ = std::move(action); }
  // Runs while a message box is up, before it is answered.
  void WhileBoxUp(std::function<void(const ui::ShownMessageBox&)> action) {
    whileBoxUp_ = std::move(action);
  }

  const std::vector<ui::ShownMessageBox>& Boxes() const { return boxes_; }
  const QStringList& Events() const { return events_; }
  void Clear();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPointer<ui::TForm3> notice_;
  QString noticeButton_;
  std::function<void()> whileNoticeUp_;
  std::function<void(const ui::ShownMessageBox&)> whileBoxUp_;
  std::vector<ui::ShownMessageBox> boxes_;
  QStringList events_;
};

// Config.ini in the working directory with the three keys, the values as
// GBK bytes (given here in UTF-8).
void WriteSettingsFile(const std::string& numbers, const std::string& refreshTime,
                       const std::string& endpoint);

// The widget of that name inside `window`; fails the test when missing.
template <class Widget>
Widget* Find(QObject& window, const char* name) {
  auto* widget = window.findChild<Widget*>(QString::fromUtf8(name));
  if (widget == nullptr) qFatal("no widget named %s", name);
  return widget;
}

// The texts of a list's lines.
QStringList Lines(QObject& window, const char* listName);

// Each scan runs on a thread of its own, and its changes reach the window
// once it is done. These wait up to 30 s for that and say whether it came:
// after nothing but a look at whether a scan is out, after a click on one of
// the main window's buttons, or after one tick of its refresh timer
// (ScanUpDate), delivered as the timer delivers it.
[[nodiscard]] bool ScanSettled(QObject& form1);
[[nodiscard]] bool ClickAndSettle(QObject& form1, const char* buttonName);
[[nodiscard]] bool TickAndSettle(QObject& form1);

}  // namespace umbra::test
