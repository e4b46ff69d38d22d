#include "watch/refresh_period.h"

#include <gtest/gtest.h>

namespace umbra {
namespace {

struct PeriodCase {
  std::int32_t seconds;
  std::uint32_t milliseconds;
};
void PrintTo(const PeriodCase& c, std::ostream* os) { *os << c.seconds << " s"; }

class RefreshPeriodTest : public ::testing::TestWithParam<PeriodCase> {};

TEST_P(RefreshPeriodTest, IsExactOrHeldToTheLongest) {
  EXPECT_EQ(RefreshPeriod(GetParam().seconds), GetParam().milliseconds);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefreshPeriodTest,
    ::testing::Values(
        // The box's choices and the default.
        PeriodCase{15, 15000}, PeriodCase{30, 30000}, PeriodCase{60, 60000},
        PeriodCase{120, 120000}, PeriodCase{180, 180000}, PeriodCase{240, 240000},
        PeriodCase{1, 1000}, PeriodCase{2147483, 2147483000u},
        // 0 means a single scan and no tick.
        PeriodCase{0, 0},
        // Periods the timer cannot serve are held to the longest it can,
        // never wrapped round: 4294968 s would otherwise wrap to 704 ms, and
        // 2^29 s to 0.
        PeriodCase{2147484, kLongestRefreshPeriodMs}, PeriodCase{4294968, kLongestRefreshPeriodMs},
        PeriodCase{536870912, kLongestRefreshPeriodMs},
        PeriodCase{2147483647, kLongestRefreshPeriodMs}, PeriodCase{-1, kLongestRefreshPeriodMs},
        PeriodCase{-30, kLongestRefreshPeriodMs},
        PeriodCase{-2147483647 - 1, kLongestRefreshPeriodMs}));

}  // namespace
}  // namespace umbra
