#include "tests/support/scoped_time_zone.h"

#include <cstdlib>
#include <ctime>

namespace umbra::test {

ScopedTimeZone::ScopedTimeZone(const char* rule) {
  if (const char* previous = std::getenv("TZ")) previous_ = previous;
  setenv("TZ", rule, 1);
  tzset();
}

ScopedTimeZone::~ScopedTimeZone() {
  if (previous_) {
    setenv("TZ", previous_->c_str(), 1);
  } else {
    unsetenv("TZ");
  }
  tzset();
}

}  // namespace umbra::test
