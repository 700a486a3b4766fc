#include "support/Driver.h"

#include "platform/owners/Gdi.h"
#include "resources/resource.h"
#include "support/Programs.h"
#include "support/Windows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace tovik_test {
namespace {

constexpr wchar_t kSettingsRoot[] = L"Software\\Tovik";

std::wstring SectionPath(const std::wstring& section) {
    return std::wstring(kSettingsRoot) + L"\\Capture\\" + section;
}

Pixels ReadBitmap(HDC compatible, HBITMAP bitmap) {
    BITMAP info{};
    GetObjectW(bitmap, sizeof info, &info);
    Pixels p;
    p.width = info.bmWidth;
    p.height = info.bmHeight;
    p.data.assign(static_cast<size_t>(p.width) * p.height, 0);
    if (p.data.empty()) return p;
    BITMAPINFO bi = platform::TopDownRgb32(p.width, p.height);
    GetDIBits(compatible, bitmap, 0, p.height, p.data.data(), &bi, DIB_RGB_COLORS);
    for (auto& px : p.data) px &= 0xFFFFFF;
    return p;
}

}  // namespace

std::wstring WindowsPath(const std::string& unixPath) {
    std::wstring path = L"Z:";
    for (char c : unixPath) path += c == '/' ? L'\\' : static_cast<wchar_t>(c);
    return path;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<std::wstring> FilesMatching(const std::wstring& pattern, bool withFolders) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring name = found.cFileName;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? withFolders && name != L"." && name != L".." : true)
            names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

int ScreenDpiNow() { return GetDeviceCaps(platform::ClientDC(nullptr).get(), LOGPIXELSX); }
int TwipsToPixels(int twips, int dpi) { return static_cast<int>(std::lround(twips * dpi / 1440.0)); }
int PixelsToTwips(int pixels, int dpi) { return static_cast<int>(std::lround(pixels * 1440.0 / dpi)); }

std::wstring DistFolder() {
    // The build passes the folder as a Linux path.
    std::wstring path = WindowsPath(TOVIK_DIST_DIR_UNIX);
    if (path.back() != L'\\') path += L'\\';
    return path;
}

void ClearSettings() { RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsRoot); }

void WriteSetting(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
    RegSetKeyValueW(HKEY_CURRENT_USER, SectionPath(section).c_str(), key.c_str(), REG_SZ, value.c_str(),
                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

std::optional<std::wstring> ReadSetting(const std::wstring& section, const std::wstring& key) {
    wchar_t buffer[2048];
    DWORD bytes = sizeof buffer;
    DWORD type = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, SectionPath(section).c_str(), key.c_str(), RRF_RT_ANY, &type,
                     buffer, &bytes) != ERROR_SUCCESS || type != REG_SZ)
        return std::nullopt;
    return std::wstring(buffer);
}

std::wstring Stored(const std::wstring& section, const std::wstring& key) {
    return ReadSetting(section, key).value_or(L"<absent>");
}

void ExpectStored(const std::vector<StoredText>& expected) {
    for (const StoredText& e : expected) EXPECT_EQ(Stored(e.section, e.key), e.text) << e.section << L"\\" << e.key;
}

RECT OuterRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

RECT VisibleViewOf(HWND main) {
    HWND view = FindChild(main, L"TovikPictureBox", IsShown);
    RECT inside{}, client{};
    GetClientRect(view, &inside);
    MapWindowPoints(view, nullptr, reinterpret_cast<POINT*>(&inside), 2);
    GetClientRect(main, &client);
    MapWindowPoints(main, nullptr, reinterpret_cast<POINT*>(&client), 2);
    IntersectRect(&inside, &inside, &client);
    return inside;
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
    for (;;) {
        PumpMessages();
        if (condition()) return true;
        if (GetTickCount64() > end) return false;
        Sleep(20);
    }
}

bool BringToFront(HWND window) {
    SetForegroundWindow(window);
    return WaitUntil([&] { return GetForegroundWindow() == window; });
}

TovikProcess::~TovikProcess() {
    if (IsRunning()) {
        TerminateProcess(process_.get(), 1);
        WaitForSingleObject(process_.get(), 5000);
    }
}

bool TovikProcess::Start() { return Start(DistFolder() + L"Tovik.exe", std::nullopt); }
bool TovikProcess::Start(const std::wstring& exe) { return Start(exe, std::nullopt); }
bool TovikProcess::StartShown(WORD showCommand) { return Start(DistFolder() + L"Tovik.exe", showCommand); }
bool TovikProcess::StartAtDpi(int dpi) {
    // Programs started while the setting is there see the screen at that resolution.
    const DWORD value = static_cast<DWORD>(dpi);
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &value, sizeof value);
    const bool started = Start();
    RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels");
    return started;
}

bool TovikProcess::Start(const std::wstring& exe, std::optional<WORD> showCommand) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    if (showCommand) {
        si.dwFlags = STARTF_USESHOWWINDOW;
        si.wShowWindow = *showCommand;
    }
    StartedProcess started = StartProcess(L"\"" + exe + L"\"", exe, &si);   // an earlier run's handle goes
    process_ = std::move(started.process);
    processId_ = started.id;
    if (!process_) return false;
    WaitForInputIdle(process_.get(), 10000);
    return WaitUntil([this] { return (main_ = FindTopLevel(TOVIK_CLASS_MAIN)) != nullptr; }, 20000);
}

HWND TovikProcess::FindTopLevel(const wchar_t* className) const {
    return FindShownWindowOf(processId_, className);
}

void TovikProcess::Command(int id) const { PostMessageW(main_, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

bool TovikProcess::CommandAndWait(int id, int timeoutMs) const {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(main_, WM_COMMAND, MAKEWPARAM(id, 0), 0, SMTO_NORMAL, static_cast<UINT>(timeoutMs),
                               &result) != 0;
}

bool TovikProcess::CloseAndWait(int timeoutMs) {
    PostMessageW(main_, WM_CLOSE, 0, 0);
    return WaitForExit(timeoutMs);
}

bool TovikProcess::WaitForExit(int timeoutMs) {
    return WaitUntil([this] { return !IsRunning(); }, timeoutMs);
}

bool TovikProcess::IsRunning() const {
    return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

std::uint32_t Rgb(int r, int g, int b) {
    return (static_cast<std::uint32_t>(r) << 16) | (static_cast<std::uint32_t>(g) << 8) |
           static_cast<std::uint32_t>(b);
}

std::optional<Pixels> ReadClipboardBitmap() {
    bool open = false;
    WaitUntil([&] { return open = OpenClipboard(nullptr) != FALSE; }, 3000);
    if (!open) return std::nullopt;
    std::optional<Pixels> result;
    if (auto bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP)))
        result = ReadBitmap(platform::ClientDC(nullptr).get(), bitmap);
    CloseClipboard();
    return result;
}

bool NewBitmapOnClipboard(DWORD before) {
    return GetClipboardSequenceNumber() != before && IsClipboardFormatAvailable(CF_BITMAP);
}

SIZE ClipboardBitmapSize() {
    SIZE size{};
    if (!WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }, 3000)) return size;
    BITMAP info{};
    if (auto bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP)); bitmap && GetObjectW(bitmap, sizeof info, &info))
        size = {info.bmWidth, info.bmHeight};
    CloseClipboard();
    return size;
}

Pixels ReadDC(HDC dc, int x, int y, int width, int height) {
    const platform::MemoryDC memory = platform::CompatibleDC(dc);
    const platform::Bitmap bitmap(CreateCompatibleBitmap(dc, std::max(width, 1), std::max(height, 1)));
    {
        const platform::SelectedObject select(memory.get(), bitmap.get());
        BitBlt(memory.get(), 0, 0, width, height, dc, x, y, SRCCOPY);
    }
    Pixels p = ReadBitmap(memory.get(), bitmap.get());
    p.width = width;
    p.height = height;
    p.data.resize(static_cast<size_t>(std::max(width, 0)) * std::max(height, 0));
    return p;
}

Pixels ReadScreen(const RECT& area) {
    const platform::WindowDC screen(GetDesktopWindow());
    return ReadDC(screen.get(), area.left, area.top, area.right - area.left, area.bottom - area.top);
}

void PutMarkerOnClipboard() {
    platform::Bitmap marker(CreateCompatibleBitmap(platform::ClientDC(nullptr).get(), 3, 2));
    WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }, 3000);
    EmptyClipboard();
    if (SetClipboardData(CF_BITMAP, marker.get())) (void)marker.release();   // the clipboard's now
    CloseClipboard();
}

bool MarkerOnClipboard() {
    const SIZE size = ClipboardBitmapSize();
    return size.cx == 3 && size.cy == 2;
}

namespace {
LRESULT CALLBACK PatternProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        const platform::PaintDC dc(window);
        RECT client;
        GetClientRect(window, &client);
        const int w = client.right, h = client.bottom;
        std::vector<std::uint32_t> bits(static_cast<size_t>(w) * h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) bits[static_cast<size_t>(y) * w + x] = PatternWindow::PatternAt(x, y);
        const BITMAPINFO bi = platform::TopDownRgb32(w, h);
        SetDIBitsToDevice(dc.get(), 0, 0, w, h, 0, 0, 0, h, bits.data(), &bi, DIB_RGB_COLORS);
        return 0;
    }
    if (message == WM_ERASEBKGND) return 1;
    return DefWindowProcW(window, message, wParam, lParam);
}
}  // namespace

PatternWindow::PatternWindow(int x, int y, int width, int height)
    : window_(MakeWindow(L"TovikTestPattern", WS_EX_TOPMOST, WS_POPUP | WS_VISIBLE, {x, y, x + width, y + height},
                         &PatternProcedure, 0, L"pattern")),
      x_(x), y_(y), width_(width), height_(height) {
    UpdateWindow(window_.get());
}

std::uint32_t PatternWindow::PatternAt(int x, int y) {
    return Rgb((x * 7 + y) & 0xFF, (y * 5 + 3 * x) & 0xFF, ((x ^ y) * 3) & 0xFF);
}

bool PatternWindow::WaitUntilOnScreen(int timeoutMs) const {
    return WaitUntil(
        [this] {
            const Pixels p = ReadScreen({x_, y_, x_ + width_, y_ + height_});
            for (int y = 0; y < height_; y += 7)
                for (int x = 0; x < width_; x += 5)
                    if (p.At(x, y) != PatternAt(x, y)) return false;
            return p.At(width_ - 1, height_ - 1) == PatternAt(width_ - 1, height_ - 1);
        },
        timeoutMs);
}

int Mismatches(const Pixels& got, int gotX, int gotY, int w, int h, const PixelRule& expected, int tolerance,
               const char* what) {
    auto differs = [tolerance](std::uint32_t a, std::uint32_t b) {
        for (int shift : {0, 8, 16})
            if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > tolerance)
                return true;
        return false;
    };
    int wrong = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (const std::uint32_t is = got.At(gotX + x, gotY + y), should = expected(x, y);
                differs(is, should) && wrong++ < 3 && what)
                ADD_FAILURE() << what << ": pixel " << x << "," << y << " is " << std::hex << is << " not " << should;
    return wrong;
}

LayeredWindow::LayeredWindow(const RECT& area, std::uint32_t argb, const wchar_t* className)
    : area_(area), window_(MakeWindow(className, WS_EX_LAYERED | WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE,
                                      WS_POPUP, area)) {
    SetColour(argb);
    ShowWindow(window_.get(), SW_SHOWNOACTIVATE);
}

void LayeredWindow::SetColour(std::uint32_t argb) {
    const int w = area_.right - area_.left, h = area_.bottom - area_.top;
    platform::ClientDC screen(nullptr);
    platform::MemoryDC memory = platform::CompatibleDC(screen.get());
    void* bits = nullptr;
    platform::Bitmap bitmap = platform::CreateTopDownBitmap(memory.get(), w, h, bits);
    platform::SelectedObject select(memory.get(), bitmap.get());
    // Premultiplied, as the system composes layered windows.
    const std::uint32_t a = argb >> 24;
    const std::uint32_t pixel = (a << 24) | ((((argb >> 16) & 0xFF) * a / 255) << 16) |
                                ((((argb >> 8) & 0xFF) * a / 255) << 8) | ((argb & 0xFF) * a / 255);
    std::fill_n(static_cast<std::uint32_t*>(bits), static_cast<size_t>(w) * h, pixel);
    POINT from{0, 0}, to{area_.left, area_.top};
    SIZE size{w, h};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    UpdateLayeredWindow(window_.get(), screen.get(), &to, &size, memory.get(), &from, 0, &blend, ULW_ALPHA);
}

}  // namespace tovik_test
