#include "watch/timer_rules.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace umbra {
namespace {

// Records when the rules end a period and what they start instead.
class RecordingTimer final : public RuleKeepingTimer {
 public:
  std::vector<std::optional<std::uint32_t>> rearms;

 private:
  void Rearm(std::optional<std::uint32_t> period) override { rearms.push_back(period); }
};

TEST(TimerRules, StartsDisabledWithTheDesignInterval) {
  RecordingTimer timer;
  EXPECT_FALSE(timer.Enabled());
  EXPECT_EQ(timer.Interval(), 100u);
  EXPECT_TRUE(timer.rearms.empty());
}

TEST(TimerRules, AValueTheTimerHoldsChangesNothing) {
  RecordingTimer timer;
  timer.SetEnabled(false);
  timer.SetInterval(100);
  EXPECT_TRUE(timer.rearms.empty());
  timer.SetInterval(30000);
  timer.SetEnabled(true);
  timer.SetEnabled(true);
  timer.SetInterval(30000);
  EXPECT_EQ(timer.rearms, (std::vector<std::optional<std::uint32_t>>{std::nullopt, 30000u}));
}

TEST(TimerRules, ANewValueRestartsThePeriodOnlyWhileEnabledWithAnInterval) {
  RecordingTimer timer;
  timer.SetInterval(0);
  timer.SetEnabled(true);    // enabled with interval 0: never ticks
  timer.SetInterval(60000);  // now it runs, from this moment
  timer.SetEnabled(false);
  EXPECT_EQ(timer.rearms,
            (std::vector<std::optional<std::uint32_t>>{std::nullopt, std::nullopt, 60000u, std::nullopt}));
}

}  // namespace
}  // namespace umbra
