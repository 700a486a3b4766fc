// The delayed captures, from the command to the picture. The command hides
// the main window and starts the wait: a hidden message-only window whose
// timer Timer1 fires once when the delay is over. The wait holds no picture,
// so a delay costs nothing on the largest screen. Timer1_Timer then takes the
// window in front, or the desktop, and brings the main window back; with the
// mouse-pointer option on it freezes the screen under the overlay, puts the
// arrow picture where the pointer is and reads the capture from there.
#pragma once
#include "capture/CaptureHost.h"

#include <cstdint>

namespace capture {

// kind: kDelayActive or kDelayDesktop. The capture is taken delayTime
// milliseconds after the command (see delay::TimerInterval for the values a
// timer cannot run). When no timer can run, the main window returns at once
// and the user is told why.
void StartDelayedCapture(Host& host, std::int16_t kind, std::int32_t delayTime, ChosenFrom from);
// Ends the wait without a capture: the program is ending.
void DiscardDelayedCapture();

}  // namespace capture
