#include "ui/error_display.h"

#include "ui/gbk_text.h"
#include "ui/message_box.h"

namespace umbra::ui {

QString ErrorBoxText(const std::string& messageGbk) {
  std::string text = messageGbk;
  if (!text.empty() && static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.')) {
    text += '.';
  }
  return FromGbk(text);
}

void ShowEscapedError(const std::exception& error) {
  MessageBox::ShowError(ErrorBoxText(error.what()));
}

void ShowEscapedUnknownError() { MessageBox::ShowError(ErrorBoxText("Unknown exception")); }

}  // namespace umbra::ui
