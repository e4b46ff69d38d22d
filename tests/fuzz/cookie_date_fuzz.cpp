// The input is the text of a cookie's Expires attribute. A date that is read
// at all must be a real moment the parser's own rules allow, written back in
// the usual form it must read as the same moment, and the delimiters around
// the text must not change it.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "net/cookie_date.h"
#include "tests/fuzz/fuzz_check.h"

namespace umbra::fuzz {
namespace {

using namespace std::chrono;

// "Sun, 06 Nov 1994 08:49:37 GMT", the form servers write most.
std::string AsHttpDate(sys_seconds moment) {
  static const char* const kWeekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const sys_days day = floor<days>(moment);
  const year_month_day date{day};
  const hh_mm_ss time{moment - day};
  char text[64];
  std::snprintf(text, sizeof text, "%s, %02u %s %04d %02d:%02d:%02d GMT",
                kWeekdays[weekday{day}.c_encoding()], static_cast<unsigned>(date.day()),
                kMonths[static_cast<unsigned>(date.month()) - 1], static_cast<int>(date.year()),
                static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                static_cast<int>(time.seconds().count()));
  return text;
}

}  // namespace
}  // namespace umbra::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace umbra::fuzz;
  using namespace std::chrono;
  const std::string text(AsText(data, size));
  const std::optional<sys_seconds> moment = umbra::net::ParseCookieDate(text);
  FUZZ_CHECK(umbra::net::ParseCookieDate(" " + text + ";") == moment);
  if (!moment) return 0;

  // Years of two digits are taken as 1970 to 2069; four digits at most.
  const year_month_day date{floor<days>(*moment)};
  FUZZ_CHECK(date.year() >= year{1601} && date.year() <= year{9999});

  const std::string written = AsHttpDate(*moment);
  const std::optional<sys_seconds> again = umbra::net::ParseCookieDate(written);
  if (again != moment) {
    Broken("a date written back reads as the same moment", __FILE__, __LINE__,
           "  input: " + Shown(text) + "\n  written: " + written);
  }
  return 0;
}
