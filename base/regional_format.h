#pragma once
// What the user's regional settings say about texts the program writes: the
// short date, the long time, and the system's own error texts. All results
// are GBK bytes, whatever character set the locale uses.

#include <string>

#include "base/local_time.h"

namespace umbra {

// The date in the short date format of the current time locale: "2026/1/2"
// under a Chinese locale and under the C locale, the locale's own numeric
// date otherwise.
std::string ShortDateText(const LocalDateTime& at);

// The time of day, with seconds, in the long time format of the current
// time locale: "3:41:30" under a Chinese locale and under the C locale, the
// locale's own time otherwise.
std::string LongTimeText(const LocalDateTime& at);

// The system's text for an error number, worded in the current locale and
// converted from its character set; a character GBK lacks becomes "?".
// Every text from the system that users see goes through here.
std::string SystemErrorText(int error);

}  // namespace umbra
