#include "capture/DelayTimer.h"

#include <algorithm>

namespace capture::delay {

std::uint32_t TimerInterval(long long delayTime) {
    // A DelayTime of 0 or below, read from the store or typed in setup, would
    // otherwise reach the timer as a huge unsigned interval and leave the main
    // window hidden for weeks.
    return static_cast<std::uint32_t>(
        std::clamp<long long>(delayTime, kTimerMinimum, kTimerMaximum));
}

}  // namespace capture::delay
