#include "tools/watch_console/console_timer.h"

#include <gtest/gtest.h>

namespace umbra::console {
namespace {

using namespace std::chrono_literals;

TEST(ConsoleTimer, TicksOnlyWhenEnabledWithAPeriod) {
  ConsoleTimer timer;
  EXPECT_FALSE(timer.NextTick());
  timer.SetInterval(0);
  timer.SetEnabled(true);
  EXPECT_FALSE(timer.NextTick()) << "an interval of 0 never ticks";
  const auto before = ConsoleTimer::Clock::now();
  timer.SetInterval(30000);
  ASSERT_TRUE(timer.NextTick());
  EXPECT_GE(*timer.NextTick(), before + 30s);
  timer.SetEnabled(false);
  EXPECT_FALSE(timer.NextTick());
}

TEST(ConsoleTimer, SettingTheSameValueKeepsTheRhythm) {
  ConsoleTimer timer;
  timer.SetInterval(30000);
  timer.SetEnabled(true);
  const auto due = *timer.NextTick();
  timer.SetInterval(30000);
  timer.SetEnabled(true);
  EXPECT_EQ(*timer.NextTick(), due);
  timer.SetInterval(60000);
  EXPECT_GT(*timer.NextTick(), due) << "a new period starts from the moment it is set";
}

TEST(ConsoleTimer, ALateTickDoesNotPileUp) {
  ConsoleTimer timer;
  timer.SetInterval(1000);
  timer.SetEnabled(true);
  const auto due = *timer.NextTick();
  timer.Ticked(due);
  EXPECT_EQ(*timer.NextTick(), due + 1s);
  // Served ten periods late: the next tick is one period away, not ten overdue.
  const auto late = due + 10s;
  timer.Ticked(late);
  EXPECT_EQ(*timer.NextTick(), late + 1s);
}

}  // namespace
}  // namespace umbra::console
