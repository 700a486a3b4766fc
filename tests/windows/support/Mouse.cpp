#include "support/Mouse.h"

#include "support/Driver.h"   // PumpMessages

#include <iterator>
#include <vector>

namespace tovik_test {
namespace {

DWORD DownFlag(MouseButton button) {
    switch (button) {
    case MouseButton::Right: return MOUSEEVENTF_RIGHTDOWN;
    case MouseButton::Middle: return MOUSEEVENTF_MIDDLEDOWN;
    default: return MOUSEEVENTF_LEFTDOWN;
    }
}

// Each button's release is the flag after its press.
static_assert(MOUSEEVENTF_LEFTUP == MOUSEEVENTF_LEFTDOWN << 1 && MOUSEEVENTF_RIGHTUP == MOUSEEVENTF_RIGHTDOWN << 1 &&
              MOUSEEVENTF_MIDDLEUP == MOUSEEVENTF_MIDDLEDOWN << 1);
DWORD UpFlag(MouseButton button) { return DownFlag(button) << 1; }

void Send(DWORD flags, int x, int y) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    if (flags & MOUSEEVENTF_ABSOLUTE) {
        // Absolute positions run 0..65535 across the virtual screen (every
        // monitor); rounding up lands on the pixel asked for.
        input.mi.dwFlags |= MOUSEEVENTF_VIRTUALDESK;
        const long long left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
        const long long w = GetSystemMetrics(SM_CXVIRTUALSCREEN), h = GetSystemMetrics(SM_CYVIRTUALSCREEN);
        input.mi.dx = static_cast<LONG>(((x - left) * 65536LL + w - 1) / w);
        input.mi.dy = static_cast<LONG>(((y - top) * 65536LL + h - 1) / h);
    }
    SendInput(1, &input, sizeof input);
}

void PumpFor(DWORD milliseconds) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    do {
        PumpMessages();
        Sleep(5);
    } while (GetTickCount64() < end);
}

}  // namespace

bool MoveMouseTo(int x, int y) {
    // Under Wine an injected move also warps the display's pointer, and the
    // display reports pointer positions of its own a moment later, at times
    // from before the warp, which put the pointer back. Injecting again warps
    // from where the pointer is then; the move is done when it stays put.
    for (int attempt = 0; attempt < 8; ++attempt) {
        Send(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, x, y);
        bool stayed = true;
        const ULONGLONG end = GetTickCount64() + 250;
        while (GetTickCount64() < end) {
            PumpFor(10);
            POINT now{};
            GetCursorPos(&now);
            if (now.x != x || now.y != y) stayed = false;
        }
        if (stayed) return true;
    }
    return false;
}

void PressMouse(MouseButton button) { Send(DownFlag(button), 0, 0); }

void ReleaseMouse(MouseButton button) { Send(UpFlag(button), 0, 0); }

namespace {
INPUT KeyInput(WORD vk, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = flags;
    if (vk == VK_SNAPSHOT) {   // as a keyboard sends it: an extended key
        input.ki.wScan = 0x37;
        input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
    }
    return input;
}
}  // namespace

void PressKey(WORD key) {
    INPUT input = KeyInput(key, 0);
    SendInput(1, &input, sizeof input);
}

void ReleaseKey(WORD key) {
    INPUT input = KeyInput(key, KEYEVENTF_KEYUP);
    SendInput(1, &input, sizeof input);
}

void TypeKey(WORD modifier, WORD key) {
    if (modifier) TypeKey({modifier}, key);
    else TypeKey({}, key);
}

void TypeKey(std::initializer_list<WORD> modifiers, WORD key) {
    std::vector<INPUT> inputs;
    auto add = [&](WORD vk, DWORD flags) { inputs.push_back(KeyInput(vk, flags)); };
    for (WORD modifier : modifiers) add(modifier, 0);
    add(key, 0);
    add(key, KEYEVENTF_KEYUP);
    for (auto m = std::rbegin(modifiers); m != std::rend(modifiers); ++m) add(*m, KEYEVENTF_KEYUP);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

}  // namespace tovik_test
