// The hotkeys of the five capture commands: registered on the main window,
// they reach it wherever the keyboard focus is, whichever program is in front.
#pragma once
#include "app/Settings.h"
#include "platform/ui/Window.h"

#include <array>
#include <optional>
#include <string>

namespace app {

class HotkeyRegistrations {
public:
    // Registers each key of the set on the window, in place of those
    // registered before. Returns the commands whose key Windows refused:
    // another program (or Windows itself) holds it. The others are in effect.
    settings::HotkeyFlags Register(HWND window, const settings::HotkeySet& hotkeys);
    // Lets go of every key: they reach the program in front again.
    void UnregisterAll();
    bool InEffect(int command) const { return keys_[command] && keys_[command]->Registered(); }
    // The command (settings::HotkeyCommand) a WM_HOTKEY id stands for, or -1.
    static int CommandOf(WPARAM id);

private:
    std::array<std::optional<platform::HotKey>, settings::kHotkeyCommands> keys_;
};

// The one message that names the keys of `held`, each with its command.
std::wstring HeldHotkeysMessage(const settings::HotkeySet& hotkeys, const settings::HotkeyFlags& held);

}  // namespace app
