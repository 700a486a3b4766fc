#include "app/Hotkeys.h"

#include "platform/ui/Messages.h"
#include "resources/resource.h"

namespace app {
namespace {

// The id of command i's hotkey is kFirstId + i. (The overlay's Esc belongs to another window.)
constexpr int kFirstId = 1;

static_assert(settings::kModAlt == MOD_ALT && settings::kModControl == MOD_CONTROL &&
              settings::kModShift == MOD_SHIFT && settings::kModWin == MOD_WIN);
static_assert(settings::kKeyPrintScreen == VK_SNAPSHOT && settings::kKeyF1 == VK_F1 && settings::kKeyF24 == VK_F24);

}  // namespace

settings::HotkeyFlags HotkeyRegistrations::Register(HWND window, const settings::HotkeySet& hotkeys) {
    UnregisterAll();
    settings::HotkeyFlags held{};
    for (int i = 0; i < settings::kHotkeyCommands; ++i) {
        if (hotkeys[i].None()) continue;
        // Held down, a key runs its command once.
        keys_[i].emplace(window, kFirstId + i, hotkeys[i].modifiers | MOD_NOREPEAT, hotkeys[i].key);
        held[i] = !keys_[i]->Registered();
    }
    return held;
}

void HotkeyRegistrations::UnregisterAll() {
    for (auto& key : keys_) key.reset();
}

int HotkeyRegistrations::CommandOf(WPARAM id) {
    const auto command = static_cast<long long>(id) - kFirstId;
    return command >= 0 && command < settings::kHotkeyCommands ? static_cast<int>(command) : -1;
}

std::wstring HeldHotkeysMessage(const settings::HotkeySet& hotkeys, const settings::HotkeyFlags& held) {
    std::wstring text = platform::LoadText(IDS_HOTKEYS_HELD) + L"\n";
    for (int i = 0; i < settings::kHotkeyCommands; ++i)
        if (held[i]) text += L"\n" + platform::LoadText(IDS_HOTKEY_NAME + i) + L": " + settings::FormatHotkey(hotkeys[i]);
    return text + L"\n\n" + platform::LoadText(IDS_HOTKEYS_HELD_AFTER);
}

}  // namespace app
