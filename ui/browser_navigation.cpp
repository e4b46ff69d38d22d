#include "ui/browser_navigation.h"

#include <QWebEngineView>
#include <stdexcept>

#include "ui/gbk_text.h"

namespace umbra::ui {

QUrl AddressUrl(const std::string& addressGbk) {
  // Tolerant mode reads blanks, non-ASCII characters and stray "%" as the
  // user meant them instead of refusing the address.
  return QUrl(FromGbk(addressGbk), QUrl::TolerantMode);
}

void Navigate(QWebEngineView& browser, const QUrl& address) {
  // The engine would show an empty page for an invalid address and keep the
  // old one for an overlong one, and tell nobody either way.
  if (!address.isValid()) {
    throw std::runtime_error("Cannot open the address: " + ToGbk(address.errorString()));
  }
  const qsizetype length = address.toEncoded().size();
  if (length > kLongestAddress) {
    throw std::runtime_error("Cannot open an address of " + std::to_string(length) +
                             " characters; the browser takes at most " +
                             std::to_string(kLongestAddress));
  }
  browser.load(address);
}

}  // namespace umbra::ui
