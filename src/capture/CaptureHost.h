// What the capture commands need of the program: its image, the state the
// captures share with the rest of the program, and the main window, which
// is hidden while a capture is taken and shown again afterwards.
#pragma once
#include "model/ImageModel.h"
#include "platform/owners/Win32.h"

#include <cstdint>

namespace capture {

// Program-wide state read and written by the captures, zero until start-up sets it.
struct SharedState {
    RECT DesktopRect{};            // the virtual screen (every monitor): what every snapshot covers
    std::int16_t MouseCapt = 0;    // -1: draw the pointer into delayed captures
    std::int16_t DelayPending = 0; // 1 from a delayed-capture command until its capture is done
    std::int16_t DelayKind = 0;    // 1 active window, 2 desktop
};

inline constexpr std::int16_t kDelayActive = 1;
inline constexpr std::int16_t kDelayDesktop = 2;

// Where a capture command was chosen. A menu item, once clicked, can stay on
// the screen for a moment as it fades out; a toolbar button or a shortcut
// leaves nothing there. A hotkey is pressed while the user works in another
// program: its window stays in front and keeps the keyboard.
enum class ChosenFrom { Menu, ToolbarOrShortcut, Hotkey };

class Host {
public:
    virtual model::ImageModel& Image() = 0;
    virtual SharedState& Shared() = 0;
    // Hides the main window for a capture. False when it was not on the
    // screen (minimised, or kept in the notification area): it then covers
    // nothing the capture must wait to see repainted, and stays as it is.
    virtual bool HideMain() = 0;
    // Brings the main window back as the capture found it; after a hotkey,
    // the program the user works in keeps or gets back the keyboard.
    virtual void ShowMain() = 0;
    // The window the user worked in when the capture now running was chosen
    // from outside Tovik (a hotkey, the notification area's menu): the one
    // an active-window capture takes; nullptr when it was chosen in Tovik.
    virtual HWND UserWindow() const = 0;

protected:
    ~Host() = default;
};

}  // namespace capture
