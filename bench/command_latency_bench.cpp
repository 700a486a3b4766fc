// Times the desktop and rectangle commands of the real Tovik.exe as a user
// meets them: the program is started, its commands are posted to its main
// window the way the menu (or the toolbar) sends them, and the selection is
// dragged with real mouse input. The desktop command from the menu is timed
// twice: as it comes with the menu's item fade off, and with a window of the
// fade's class shown at the click and gone kMenuFade ms later, as Windows
// fades out a clicked item. Then the same two commands by their hotkeys,
// typed while a window of this program is in front: the desktop with
// Tovik's main window behind it, the rectangle with Tovik minimised.
// Usage: command_latency_bench RUNS X Y W H (the rectangle to drag).
// Prints one line per figure, "<name> <median> <min> <max>" in ms, or the
// reason it stopped, with exit status 1.
#include "support/Driver.h"
#include "support/Mouse.h"

#include "resources/resource.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace tovik_test;

constexpr double kSettlePause = 500;   // the rectangle command's fixed wait before its snapshot
constexpr double kMenuFade = 250;      // how long the clicked item still fades after the command is sent
constexpr int kDesktopButton = 8;      // the toolbar's desktop button
constexpr int kProbe = 48;             // the pattern's top-left square that tells the frozen screen

double NowMs() {
    static const double ticksPerMs = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / ticksPerMs;
}

// Pumps this thread's messages for the given time.
void Rest(int ms) { WaitUntil([] { return false; }, ms); }

// Checks the condition every millisecond; the ms from `start` until it held, or -1 after 10 s.
double MsUntil(double start, const std::function<bool()>& condition) {
    for (;;) {
        if (condition()) return NowMs() - start;
        if (NowMs() - start > 10000) return -1;
        Sleep(1);
    }
}

std::wstring SizeCaption(const TovikProcess& tovik) {
    wchar_t text[64] = {};
    if (HWND box = tovik.FindTopLevel(TOVIK_CLASS_SIZE))
        GetWindowTextW(FindWindowExW(box, nullptr, L"Static", nullptr), text, 64);
    return text;
}

bool OverlayHasTheMouse(const TovikProcess& tovik) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(tovik.MainWindow(), nullptr), &info) &&
           info.hwndCapture && info.hwndCapture == tovik.FindTopLevel(TOVIK_CLASS_DESKTOP);
}

// Whether the screen shows the pattern window's picture in its top-left w x h.
bool ScreenShowsPattern(const PatternWindow& pattern, int w, int h) {
    RECT r;
    GetWindowRect(pattern.hwnd(), &r);
    const Pixels p = ReadScreen({r.left, r.top, r.left + w, r.top + h});
    for (int y = 0; y < h; y += 3)
        for (int x = 0; x < w; x += 3)
            if (p.At(x, y) != PatternWindow::PatternAt(x, y)) return false;
    return true;
}

// Paints the pattern window over in one colour, so that the screen no longer
// shows its picture unless something in front of it still does.
void PaintOver(const PatternWindow& pattern) {
    HDC dc = GetDC(pattern.hwnd());
    RECT r;
    GetClientRect(pattern.hwnd(), &r);
    HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255));
    FillRect(dc, &r, magenta);
    DeleteObject(magenta);
    ReleaseDC(pattern.hwnd(), dc);
    // Wine pushes a window's drawing to the display when its thread waits
    // for messages; a wait that returns at once is enough, and the next
    // screen read sees the new colour wherever the window is uncovered.
    MsgWaitForMultipleObjectsEx(0, nullptr, 0, QS_ALLINPUT, 0);
}

// Starts the rectangle command and returns the ms until the screen shows its
// frozen overlay, or -1. The pattern window is painted over as soon as the
// overlay is visible (its snapshot is taken before it is shown): from then
// on, the pattern on the screen is the frozen picture in front of it.
double MsToFrozenOverlay(const TovikProcess& tovik, const PatternWindow& pattern, const std::function<void()>& command,
                         HWND& overlay) {
    const double start = NowMs();
    command();
    return MsUntil(start, [&] {
        if (!overlay) {
            overlay = tovik.FindTopLevel(TOVIK_CLASS_DESKTOP);
            if (!overlay) return false;
            PaintOver(pattern);
        }
        return ScreenShowsPattern(pattern, kProbe, kProbe);
    });
}

void Print(const char* name, std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    std::printf("%s %.1f %.1f %.1f\n", name, ms[(ms.size() - 1) / 2], ms.front(), ms.back());
}

int Stop(const char* why) {
    if (GetAsyncKeyState(VK_LBUTTON) & 0x8000) ReleaseMouse(MouseButton::Left);
    std::printf("stopped: %s\n", why);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6) return Stop("usage: command_latency_bench RUNS X Y W H");
    const int runs = std::max(1, std::atoi(argv[1]));
    const int x = std::atoi(argv[2]), y = std::atoi(argv[3]), w = std::atoi(argv[4]), h = std::atoi(argv[5]);
    // The virtual screen: every monitor, which the desktop capture holds.
    const int screenW = GetSystemMetrics(SM_CXVIRTUALSCREEN), screenH = GetSystemMetrics(SM_CYVIRTUALSCREEN);

    // A window of known pixels at the top right (on the rightmost monitor), clear of the rectangle.
    PatternWindow pattern(screenW - 200, 40, 160, 120);
    if (!pattern.WaitUntilOnScreen()) return Stop("the pattern window did not appear");
    ClearSettings();
    TovikProcess tovik;
    if (!tovik.Start()) return Stop("Tovik.exe did not start");
    auto idle = [&] {   // the command is over; then the screen settles
        const bool over = WaitUntil([&] {
            return IsWindowVisible(tovik.MainWindow()) && !tovik.FindTopLevel(TOVIK_CLASS_DESKTOP);
        });
        Rest(300);
        return over;
    };

    // 1. Desktop command, posted as the menu sends it (with and without a
    // fading item on the screen) and as the toolbar does, until the new
    // bitmap is on the clipboard.
    HWND toolbar = FindWindowExW(tovik.MainWindow(), nullptr, TOOLBARCLASSNAMEW, nullptr);
    if (!toolbar) return Stop("no toolbar");
    enum class From { Menu, MenuWithFade, Toolbar };
    auto desktopCommand = [&](From from, std::vector<double>& figures) {
        for (int i = 0; i <= runs; ++i) {   // run 0 warms up
            if (!idle()) return Stop("the main window did not come back");
            const DWORD sequence = GetClipboardSequenceNumber();
            std::unique_ptr<LayeredWindow> fade;
            if (from == From::MenuWithFade) fade = std::make_unique<LayeredWindow>(RECT{40, 40, 240, 62}, 0xC0E0E0E0, kMenuFadeClass);
            const double start = NowMs();
            if (from == From::Toolbar)
                PostMessageW(tovik.MainWindow(), WM_COMMAND, MAKEWPARAM(ID_Toolbar1 + kDesktopButton, BN_CLICKED),
                             reinterpret_cast<LPARAM>(toolbar));
            else
                tovik.Command(ID_mnuDesktop);
            const double ms = MsUntil(start, [&] {
                if (fade && NowMs() - start >= kMenuFade) fade.reset();
                return NewBitmapOnClipboard(sequence);
            });
            if (ms < 0) return Stop("no bitmap on the clipboard after the desktop command");
            if (i > 0) figures.push_back(ms);
        }
        if (!idle()) return Stop("the main window did not come back");
        if (const SIZE s = ClipboardBitmapSize(); s.cx != screenW || s.cy != screenH)
            return Stop("the desktop capture is not the size of the screen");
        return 0;
    };
    std::vector<double> desktopMenu, desktopFade, desktopToolbar;
    if (desktopCommand(From::Menu, desktopMenu) || desktopCommand(From::MenuWithFade, desktopFade) ||
        desktopCommand(From::Toolbar, desktopToolbar))
        return 1;

    // 2. Rectangle command: posted, until the overlay is shown and the screen
    // shows its frozen picture.
    // 3. Then a drag over the rectangle: from the button's release until the
    // new bitmap is on the clipboard.
    std::vector<double> shown, release;
    for (int i = 0; i <= runs; ++i) {
        if (!idle()) return Stop("the main window did not come back");
        InvalidateRect(pattern.hwnd(), nullptr, FALSE);
        if (!pattern.WaitUntilOnScreen()) return Stop("the pattern window was not repainted");
        if (!MoveMouseTo(x, y)) return Stop("the pointer did not reach the rectangle's corner");

        HWND overlay = nullptr;
        const double ms = MsToFrozenOverlay(tovik, pattern, [&] { tovik.Command(ID_mnuRectangle); }, overlay);
        if (ms < 0) return Stop("the overlay did not show its snapshot");

        PressMouse(MouseButton::Left);
        if (!WaitUntil([&] { return OverlayHasTheMouse(tovik); })) return Stop("the overlay did not take the press");
        if (!MoveMouseTo(x + w, y + h)) return Stop("the pointer did not reach the rectangle's far corner");
        const std::wstring size = std::to_wstring(w) + L" \u00D7 " + std::to_wstring(h);
        if (!WaitUntil([&] { return SizeCaption(tovik) == size; })) return Stop("the size box did not show the size");
        Rest(100);   // the last move's band is drawn
        const DWORD sequence = GetClipboardSequenceNumber();
        const double up = NowMs();
        ReleaseMouse(MouseButton::Left);
        const double upMs = MsUntil(up, [&] { return NewBitmapOnClipboard(sequence); });
        if (upMs < 0) return Stop("no bitmap on the clipboard after the release");
        if (i > 0) {
            shown.push_back(ms);
            release.push_back(upMs);
        }
    }
    if (!idle()) return Stop("the main window did not come back");
    if (const SIZE s = ClipboardBitmapSize(); s.cx != w || s.cy != h)
        return Stop("the rectangle capture is not the size dragged");

    // 4. The hotkeys, typed while the pattern window (another program's, for
    // Tovik) is in front: Ctrl+Shift+PrintScreen until the new bitmap is on
    // the clipboard; then, Tovik minimised, Ctrl+PrintScreen until the
    // screen shows the frozen overlay, which Esc takes back.
    auto patternInFront = [&] {
        SetForegroundWindow(pattern.hwnd());
        return WaitUntil([&] { return GetForegroundWindow() == pattern.hwnd(); });
    };
    std::vector<double> desktopHotkey, rectangleHotkey;
    for (int i = 0; i <= runs; ++i) {
        if (!idle() || !patternInFront()) return Stop("the pattern window did not come to the front");
        const DWORD sequence = GetClipboardSequenceNumber();
        const double start = NowMs();
        TypeKey({VK_CONTROL, VK_SHIFT}, VK_SNAPSHOT);
        const double ms = MsUntil(start, [&] { return NewBitmapOnClipboard(sequence); });
        if (ms < 0) return Stop("no bitmap on the clipboard after the desktop's hotkey");
        if (i > 0) desktopHotkey.push_back(ms);
    }
    ShowWindow(tovik.MainWindow(), SW_MINIMIZE);
    for (int i = 0; i <= runs; ++i) {
        if (!idle() || !patternInFront()) return Stop("the pattern window did not come to the front");
        InvalidateRect(pattern.hwnd(), nullptr, FALSE);
        if (!pattern.WaitUntilOnScreen()) return Stop("the pattern window was not repainted");
        HWND overlay = nullptr;
        const double ms = MsToFrozenOverlay(tovik, pattern, [] { TypeKey({VK_CONTROL}, VK_SNAPSHOT); }, overlay);
        if (ms < 0) return Stop("the overlay did not show its snapshot after the rectangle's hotkey");
        if (!WaitUntil([&] { return GetForegroundWindow() == overlay; }))
            return Stop("the overlay has not the keyboard");
        TypeKey(0, VK_ESCAPE);
        if (!WaitUntil([&] { return !IsWindow(overlay); })) return Stop("Esc did not take the overlay back");
        if (!IsIconic(tovik.MainWindow())) return Stop("the main window is no longer minimised");
        if (i > 0) rectangleHotkey.push_back(ms);
    }
    tovik.CloseAndWait();

    Print("desktop_menu_to_clipboard", desktopMenu);
    Print("desktop_menu_fade_to_clipboard", desktopFade);
    Print("desktop_toolbar_to_clipboard", desktopToolbar);
    Print("rectangle_to_overlay", shown);
    for (double& ms : shown) ms -= kSettlePause;
    Print("rectangle_to_overlay_minus_pause", shown);
    Print("release_to_clipboard", release);
    Print("desktop_hotkey_to_clipboard", desktopHotkey);
    Print("rectangle_hotkey_minimised_to_overlay", rectangleHotkey);
    return 0;
}
