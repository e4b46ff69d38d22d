#include "watch/date_time_text.h"

#include "base/regional_format.h"

namespace umbra {

std::string DateTimeText(const LocalDateTime& at) {
  std::string text = ShortDateText(at);
  // At exactly midnight the date stands alone.
  if (at.hour != 0 || at.minute != 0 || at.second != 0) {
    text += ' ';
    text += LongTimeText(at);
  }
  return text;
}

LocalDateTime SystemClock::Now() { return LocalNow(); }

}  // namespace umbra
