#pragma once
// The notice window TForm3: a cut-out of the advertising page, a red line
// asking the user to click it, "我已点击" and "忽略". Shown modally before
// every Query and by "使用说明"; "忽略" ends the program.

#include <QDialog>

class QGroupBox;
class QLabel;
class QPushButton;
class QWebEngineView;

namespace umbra::ui {

class TForm3 : public QDialog {
  Q_OBJECT
 public:
  // `mainWindow` is the window "忽略" closes. Runs FormCreate: the page
  // starts loading.
  explicit TForm3(QWidget& mainWindow);

  QGroupBox* GroupBox1;
  QWebEngineView* WebBrowser1;
  QLabel* Label1;
  QPushButton* Button1;
  QPushButton* Button2;

  // Shows the window modally and returns when it has been closed, its page
  // as it was left.
  void ShowModal();

 public slots:
  // "我已点击": a thank-you notice, then the window closes.
  void Button1Click();
  // "忽略": a reproach, then the main window closes and the program ends.
  void Button2Click();

 protected:
  // Neither button is the default or the cancel button: Enter and Escape do
  // nothing special.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void FormCreate();

  QWidget& mainWindow_;
};

}  // namespace umbra::ui
