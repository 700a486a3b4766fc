// Program-wide state, alive for the whole run, zero until start-up sets it:
// the state the captures share, and the bounds of the recent-files entries.
#pragma once
#include "capture/CaptureHost.h"

#include <cstdint>

struct Module2 : capture::SharedState {
    std::int16_t MruFirst = 0;     // menu indices of the recent-files entries
    std::int16_t MruLast = 0;
};

Module2& Shared();
