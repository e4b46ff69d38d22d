#pragma once
// The default error display: an error that escapes an event handler is shown
// in the error box and the program goes on with the next event.

#include <QString>
#include <exception>
#include <string>

namespace umbra::ui {

// The error box's text for an error message in GBK: the message, with a
// full stop added when it is not empty and its last byte sorts after "."
// (so a message ending in ")" or "." gets none).
QString ErrorBoxText(const std::string& messageGbk);

// Shows the error box for an escaped error. Returns when the user has
// dismissed it.
void ShowEscapedError(const std::exception& error);
void ShowEscapedUnknownError();

// Runs one event handler. Errors must not unwind through Qt's own frames
// (Qt does not promise to survive that), so every handler the windows bind
// runs through here and ends at the default error display.
template <class Handler>
void RunHandler(Handler&& handler) {
  try {
    handler();
  } catch (const std::exception& error) {
    ShowEscapedError(error);
  } catch (...) {
    ShowEscapedUnknownError();
  }
}

}  // namespace umbra::ui
