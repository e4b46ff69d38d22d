#pragma once
// The browsers' navigate operation as the windows use it: it starts loading
// an address and returns at once; the page then loads, or fails to load,
// inside the browser, which shows either itself. An address the browser
// would drop without a word is an error instead, so it reaches the default
// error display.

#include <QUrl>
#include <QtGlobal>
#include <string>

class QWebEngineView;

namespace umbra::ui {

// The browser engine ignores a navigation to an address longer than this,
// counted in the address's encoded form.
inline constexpr qsizetype kLongestAddress = 2 * 1024 * 1024;

// An address built from GBK bytes as the browser takes it: wide text, read
// as a typed address is read. Nothing is trimmed; blanks and non-ASCII
// characters are encoded on the wire by the browser; "/", "?", "#" and "&"
// keep their meaning in a URL.
QUrl AddressUrl(const std::string& addressGbk);

// Starts loading `address` in `browser`. Throws std::runtime_error when the
// navigation cannot start (an invalid address, or one too long for the
// engine); the browser then keeps what it held.
void Navigate(QWebEngineView& browser, const QUrl& address);

}  // namespace umbra::ui
