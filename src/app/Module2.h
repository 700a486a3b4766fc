// Program-wide state, alive for the whole run, zero until start-up sets it:
// the state the captures share, and the bounds of the recent-files entries.
#pragma once
#include "app/RecentFiles.h"
#include "capture/CaptureHost.h"

namespace app {

struct Module2 : capture::SharedState, recent::Bounds {};

// The one instance, made at first use.
Module2& ProgramState();

}  // namespace app
