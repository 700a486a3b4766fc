// The wait of a delayed capture: a hidden message-only window whose timer
// Timer1 takes the capture once the delay is over. It holds no picture, so a
// delay costs nothing on the largest screen; the screen is frozen (by the
// overlay) only when the capture draws the pointer in.
#pragma once
#include "capture/CaptureHost.h"
#include "platform/owners/Failure.h"
#include "platform/ui/Window.h"

namespace capture {

class DelayWindow : public platform::Window {
public:
    explicit DelayWindow(Host& host);
    ~DelayWindow() override;

    // Creates the window; S_OK, or the reason it could not be made.
    [[nodiscard]] HRESULT Form_Load();

    // Timer1: one interval at a time, stopped when the window is made.
    bool Timer1_Start(UINT interval);
    void Timer1_Stop() { timer1_.Stop(); }
    bool Timer1_Enabled() const { return timer1_.Running(); }
    // Takes the delayed capture of kind DelayKind and brings the main window back.
    void Timer1_Timer();

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    Host& host_;
    platform::WindowTimer timer1_;
};

// Starts a delayed capture's wait: Timer1 fires after interval milliseconds
// and takes the capture. When no timer can run, the main window returns at
// once and the failure says why.
[[nodiscard]] HRESULT WaitForDelayedCapture(Host& host, UINT interval);
// True while a delayed capture waits for its time.
bool DelayedCaptureWaiting();
// Ends the wait without a capture: the program is ending.
void DiscardDelayedCapture();

}  // namespace capture
