// Drives the real Tovik.exe from a test process: a clean settings store,
// the program's windows, the clipboard and the screen.
#pragma once
#include "platform/owners/Handle.h"
#include "platform/owners/Win32.h"
#include "support/Windows.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tovik_test {

// The folder the build leaves Tovik.exe in, as a Windows path with a trailing backslash.
std::wstring DistFolder();
// The folder of the running test, where its helper programs are built beside it.
std::wstring TestFolder();
// A Linux path as Wine shows it on drive Z:.
std::wstring WindowsPath(const std::string& unixPath);
// A file or folder is there.
bool Exists(const std::wstring& path);
// The names of what matches a pattern such as "C:\\folder\\*.pdf" (no folders, nor "." and ".."
// unless `withFolders`).
std::vector<std::wstring> FilesMatching(const std::wstring& pattern, bool withFolders = false);

// The screen's resolution (96 = 100 %) and twips (1/1440 inch) at a
// resolution, to the nearest pixel and back: the tests' own ruler.
int ScreenDpiNow();
int TwipsToPixels(int twips, int dpi = ScreenDpiNow());
int PixelsToTwips(int pixels, int dpi = ScreenDpiNow());

// The settings store of the program (HKCU\Software\Tovik\Capture\<section>).
void ClearSettings();
void WriteSetting(const std::wstring& section, const std::wstring& key, const std::wstring& value);
std::optional<std::wstring> ReadSetting(const std::wstring& section, const std::wstring& key);
// The stored text, or "<absent>": reads well in a failed comparison.
std::wstring Stored(const std::wstring& section, const std::wstring& key);
// Checks the stored texts of several keys, naming each key that differs.
struct StoredText {
    std::wstring section, key, text;
};
void ExpectStored(const std::vector<StoredText>& expected);

// A window's outer rectangle, screen pixels.
RECT OuterRect(HWND window);
// The screen rectangle of the main window's view (its drawing area inside
// the border) that the main window shows.
RECT VisibleViewOf(HWND main);

// Handles the messages waiting in this thread's queue.
void PumpMessages();
// Pumps this thread's messages until the condition holds or the time is up.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 10000);
// Brings the window to the front and waits until it is the foreground window.
bool BringToFront(HWND window);

// A running Tovik.exe; killed at the end of the test if it is still running.
class TovikProcess {
public:
    TovikProcess() = default;
    ~TovikProcess();   // ends it, if it still runs
    TovikProcess(const TovikProcess&) = delete;
    TovikProcess& operator=(const TovikProcess&) = delete;

    // Starts the program (dist's, or the one at exe) and waits for its main window to be shown.
    bool Start();
    bool Start(const std::wstring& exe);
    // Started as a shortcut starts it, with its show command (SW_SHOWMINNOACTIVE).
    bool StartShown(WORD showCommand);
    // Started on a screen of `dpi` (96 = 100 %), which it keeps.
    bool StartAtDpi(int dpi);
    HWND MainWindow() const { return main_; }
    DWORD ProcessId() const { return processId_; }
    // A shown top-level window of this process with the given class.
    HWND FindTopLevel(const wchar_t* className) const;
    // Runs a menu command the way the menu or an accelerator would.
    void Command(int id) const;
    // The same, waiting until the program has handled it.
    bool CommandAndWait(int id, int timeoutMs = 20000) const;
    // Closes the main window by its close box and waits for the program to end.
    bool CloseAndWait(int timeoutMs = 10000);
    bool WaitForExit(int timeoutMs);
    bool IsRunning() const;

private:
    bool Start(const std::wstring& exe, std::optional<WORD> showCommand);
    platform::KernelHandle process_;
    DWORD processId_ = 0;
    HWND main_ = nullptr;
};

// 32-bit 0x00RRGGBB pixels, top row first.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> data;
    std::uint32_t At(int x, int y) const { return data[static_cast<size_t>(y) * width + x]; }
};
std::uint32_t Rgb(int r, int g, int b);

// The CF_BITMAP on the clipboard, or nothing.
std::optional<Pixels> ReadClipboardBitmap();
// Its size only (0 x 0 when there is none): cheap for a picture of a huge screen.
SIZE ClipboardBitmapSize();
// Pixels of any DC, e.g. a picture box's persistent surface.
Pixels ReadDC(HDC dc, int x, int y, int width, int height);
// What the screen shows in the rectangle (screen pixels).
Pixels ReadScreen(const RECT& area);
// Puts a small marker bitmap on the clipboard, so a test sees whether a
// capture replaced it, and whether it is still there.
void PutMarkerOnClipboard();
bool MarkerOnClipboard();
// A bitmap put on the clipboard since its sequence number was `before`. (The
// number is read first: emptying the clipboard changes it too, and from then
// on a bitmap on the clipboard can only be the new one.)
bool NewBitmapOnClipboard(DWORD before);

// A window of the test's own that shows a known pattern: every pixel's
// colour depends on its position, so any offset or scaling shows.
class PatternWindow {
public:
    PatternWindow(int x, int y, int width, int height);
    HWND hwnd() const { return window_.get(); }
    // The colour at (x, y) of the window's whole area (frame-less popup).
    static std::uint32_t PatternAt(int x, int y);
    // Waits until the screen shows the pattern.
    bool WaitUntilOnScreen(int timeoutMs = 10000) const;
private:
    OwnWindow window_;
    int x_, y_, width_, height_;
};

// The colour a picture should have at (x, y).
using PixelRule = std::function<std::uint32_t(int x, int y)>;
inline PixelRule Solid(std::uint32_t colour) { return [colour](int, int) { return colour; }; }
// Counts the w x h pixels of `got` from its (gotX, gotY) that differ from
// expected(x, y), x and y counted from there, by more than `tolerance` in any
// channel; reports the first three as failures of `what`, unless that is nullptr.
int Mismatches(const Pixels& got, int gotX, int gotY, int w, int h, const PixelRule& expected, int tolerance = 0,
               const char* what = nullptr);
// The same over the whole of `got`.
inline int Mismatches(const Pixels& got, const PixelRule& expected, int tolerance = 0) {
    return Mismatches(got, 0, 0, got.width, got.height, expected, tolerance);
}
// The same against the pattern window's pixels from (fromX, fromY) of the window.
inline int PatternMismatches(const Pixels& p, int px, int py, int fromX, int fromY, int w, int h,
                             const char* what = nullptr) {
    return Mismatches(p, px, py, w, h, [=](int x, int y) { return PatternWindow::PatternAt(fromX + x, fromY + y); },
                      0, what);
}

// The class of the window in which Windows fades out a menu item after
// it was clicked.
inline constexpr wchar_t kMenuFadeClass[] = L"SysFader";

// A topmost layered window of one colour, 0xAARRGGBB (alpha below 0xFF:
// translucent, as tooltips and shadows are); shown until it ends. Of the
// given window class (kMenuFadeClass: it stands for a fading menu item).
class LayeredWindow {
public:
    LayeredWindow(const RECT& area, std::uint32_t argb, const wchar_t* className = L"STATIC");
    // Another colour; 0: fully transparent, as a fade ends, the window still there.
    void SetColour(std::uint32_t argb);
private:
    RECT area_;
    OwnWindow window_;
};

}  // namespace tovik_test
