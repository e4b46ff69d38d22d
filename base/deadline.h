#pragma once
// A point in time by which a wait must end, or none at all.

#include <chrono>
#include <climits>

namespace umbra {

class Deadline {
 public:
  using Clock = std::chrono::steady_clock;

  // `timeout` from now; zero or less means no limit.
  explicit Deadline(std::chrono::milliseconds timeout)
      : unlimited_(timeout <= std::chrono::milliseconds::zero()), end_(Clock::now() + timeout) {}

  static Deadline Never() { return Deadline(std::chrono::milliseconds::zero()); }

  bool Unlimited() const { return unlimited_; }
  bool Passed() const { return !unlimited_ && Clock::now() >= end_; }

  // The earlier of the two.
  Deadline EarlierOf(const Deadline& other) const {
    if (unlimited_) return other;
    if (other.unlimited_) return *this;
    return end_ <= other.end_ ? *this : other;
  }

  // Milliseconds left, for poll(): -1 for no limit, 0 once passed.
  int MillisecondsLeft() const {
    if (unlimited_) return -1;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(end_ - Clock::now()).count();
    if (left <= 0) return 0;
    return left > INT_MAX ? INT_MAX : static_cast<int>(left);
  }

 private:
  bool unlimited_;
  Clock::time_point end_;
};

}  // namespace umbra
