#include "capture/DelayTimer.h"

#include <cstdint>
#include <limits>

#include <gtest/gtest.h>

using namespace capture;

namespace {

TEST(DelayTimer, IntervalsTheTimerRunsPassUnchanged) {
    EXPECT_EQ(delay::TimerInterval(2000), 2000u);
    EXPECT_EQ(delay::TimerInterval(delay::kTimerMinimum), delay::kTimerMinimum);
    EXPECT_EQ(delay::TimerInterval(delay::kTimerMaximum), delay::kTimerMaximum);
}

TEST(DelayTimer, ZeroAndNegativeDelaysFireAfterTheShortestInterval) {
    EXPECT_EQ(delay::TimerInterval(0), delay::kTimerMinimum);
    EXPECT_EQ(delay::TimerInterval(1), delay::kTimerMinimum);
    EXPECT_EQ(delay::TimerInterval(-1), delay::kTimerMinimum);
    EXPECT_EQ(delay::TimerInterval(std::numeric_limits<std::int32_t>::min()), delay::kTimerMinimum);
}

TEST(DelayTimer, DelaysBeyondTheTimersRangeAreCutToItsLongestInterval) {
    EXPECT_EQ(delay::TimerInterval(static_cast<long long>(delay::kTimerMaximum) + 1),
              delay::kTimerMaximum);
    EXPECT_EQ(delay::TimerInterval(std::numeric_limits<long long>::max()), delay::kTimerMaximum);
}

}  // namespace
