// Program-wide state, alive for the whole run, zero until start-up sets it.
#pragma once
#include "platform/Win32.h"

#include <cstdint>

struct Module2 {
    RECT DesktopRect{};            // desktop window rectangle, read once at start-up
    std::int32_t DelayTime = 0;    // milliseconds, delay of the delayed captures
    std::int16_t MouseCapt = 0;    // -1: draw the pointer into delayed captures
    std::int16_t DelayPending = 0; // 1 from a delayed-capture command until its capture is done
    std::int16_t DelayKind = 0;    // 1 active window, 2 desktop
    std::int16_t MruFirst = 0;     // menu indices of the recent-files entries
    std::int16_t MruLast = 0;
};

Module2& Shared();
