#pragma once
// Every message box of the program goes through this class: the plain
// message box, the fixed notices and the error box. Tests answer the boxes
// through SetTestHook instead of a user.

#include <QMessageBox>
#include <QString>
#include <functional>

class QWidget;

namespace umbra::ui {

// Style values of the fixed notices, in the system message box's own terms:
// the low four bits choose the buttons, the next four the icon.
inline constexpr unsigned kMbOk = 0x00;
inline constexpr unsigned kMbOkCancel = 0x01;
inline constexpr unsigned kMbAbortRetryIgnore = 0x02;
inline constexpr unsigned kMbYesNoCancel = 0x03;
inline constexpr unsigned kMbYesNo = 0x04;
inline constexpr unsigned kMbRetryCancel = 0x05;
inline constexpr unsigned kMbIconError = 0x10;
inline constexpr unsigned kMbIconQuestion = 0x20;
inline constexpr unsigned kMbIconWarning = 0x30;
inline constexpr unsigned kMbIconInformation = 0x40;

// A box as it is put up.
struct ShownMessageBox {
  QString text;
  QString caption;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  QWidget* owner = nullptr;  // nullptr: owned by the application, centred on the screen
};

class MessageBox {
 public:
  MessageBox() = delete;

  // The plain message box: the text, the application title as caption, no
  // icon, one OK button, centred on the screen.
  static void ShowPlain(const QString& text);

  // A fixed notice owned by `owner`, with a style value as above. The answer
  // is not examined.
  static void ShowNotice(QWidget* owner, const QString& text, const QString& caption,
                         unsigned style);

  // The error box of the default error display: application title, error
  // icon, OK.
  static void ShowError(const QString& text);

  // What the box's own buttons and icon are for a style value.
  static QMessageBox::StandardButtons ButtonsForStyle(unsigned style);
  static QMessageBox::Icon IconForStyle(unsigned style);

  // Tests only. While a hook is set, every box is still shown modally, and
  // the hook is called from inside the box's message loop with the box up;
  // the box is then closed with the button the hook returns (a button the
  // box does not have closes it as Escape would). An empty hook restores
  // normal use.
  using TestHook = std::function<QMessageBox::StandardButton(const ShownMessageBox&)>;
  static void SetTestHook(TestHook hook);

 private:
  static void Show(const ShownMessageBox& box);
};

}  // namespace umbra::ui
