// The interval the delayed capture's timer runs with, kept apart from the
// windows so it is tested natively.
#pragma once
#include <cstdint>

namespace capture::delay {

// The system timer's limits in milliseconds: a shorter interval is raised
// to the minimum, a longer one is not run as asked.
inline constexpr std::uint32_t kTimerMinimum = 0x0000000A;
inline constexpr std::uint32_t kTimerMaximum = 0x7FFFFFFF;

// DelayTime as the timer can run it: values below the minimum (0 and
// negative ones included) fire after the minimum, values above the maximum
// after the maximum.
std::uint32_t TimerInterval(long long delayTime);

}  // namespace capture::delay
