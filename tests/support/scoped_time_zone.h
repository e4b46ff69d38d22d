#pragma once
// Puts the process in a time zone of the test's choosing (a POSIX TZ rule
// such as "CST-8", which needs no zone database) and restores the one it had.

#include <optional>
#include <string>

namespace umbra::test {

class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* rule);
  ~ScopedTimeZone();
  ScopedTimeZone(const ScopedTimeZone&) = delete;
  ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

 private:
  std::optional<std::string> previous_;
};

// China's time all year: UTC+8, no summer time.
inline constexpr char kChinaTime[] = "CST-8";
// Central Europe: UTC+1, summer time (UTC+2) from the last Sunday of March
// 02:00 to the last Sunday of October 03:00.
inline constexpr char kCentralEuropeanTime[] = "CET-1CEST,M3.5.0,M10.5.0/3";

}  // namespace umbra::test
