// What the capture commands need of the program: its image, the state the
// captures share with the rest of the program, and the main window, which
// is hidden while a capture is taken and shown again afterwards.
#pragma once
#include "model/ImageModel.h"
#include "platform/Win32.h"

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
// leaves nothing there.
enum class ChosenFrom { Menu, ToolbarOrShortcut };

class Host {
public:
    virtual model::ImageModel& Image() = 0;
    virtual SharedState& Shared() = 0;
    virtual void HideMain() = 0;
    virtual void ShowMain() = 0;

protected:
    ~Host() = default;
};

}  // namespace capture
