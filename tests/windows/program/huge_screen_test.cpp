// The 32-bit program on a screen of 7680 x 4320 (label "hugescreen": the
// bench is made that size): each full-screen picture takes 127 MB of its
// 4 GB of address space. The desktop capture, a delayed one, a full-screen
// rectangle and a PNG and a JPEG save of it must all work. Prints the most
// memory each step took.
#include "support/Dialogs.h"
#include "support/Driver.h"
#include "support/Mouse.h"
#include "support/Pictures.h"
#include "support/ProcessMemory.h"
#include "support/RealProgram.h"

#include "resources/resource.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {

using namespace tovik_test;

// Width and height from a PNG's header or a JPEG's frame header; 0 x 0 when neither is found.
SIZE PictureFileSize(const std::wstring& path) {
    const auto b = ReadFileBytes(path);
    auto word = [&](size_t at, int bytes) {
        unsigned v = 0;
        for (int i = 0; i < bytes; ++i) v = v << 8 | b[at + i];
        return static_cast<LONG>(v);
    };
    if (b.size() > 24 && b[0] == 0x89 && b[1] == 'P') return {word(16, 4), word(20, 4)};
    for (size_t at = 2; b.size() > 2 && b[0] == 0xFF && b[1] == 0xD8 && at + 9 < b.size();) {
        if (b[at] != 0xFF) break;
        if (b[at + 1] == 0xC0 || b[at + 1] == 0xC2) return {word(at + 7, 2), word(at + 5, 2)};
        at += 2 + word(at + 2, 2);
    }
    return {};
}

class HugeScreen : public RealProgram {
protected:
    // Prints the most memory the program took during the step that just ended.
    void Figures(const char* step) {
        const MemoryFigures peaks = watch_->TakePeaks();
        std::printf("[ figures  ] %-26s peak private %6.1f MB, working set %6.1f MB, address space %7.1f MB\n", step,
                    peaks.privateMb, peaks.workingSetMb, peaks.addressSpaceMb);
    }
    // The command has ended: no dialog or message box is up and the main window answers.
    bool Settled() {
        DWORD_PTR ignored = 0;
        return WaitUntil([&] {
                   return IsWindowVisible(Main()) && !tovik_.FindTopLevel(TOVIK_CLASS_DESKTOP) &&
                          SendMessageTimeoutW(Main(), WM_NULL, 0, 0, SMTO_NORMAL, 1000, &ignored);
               }, 60000) &&
               !FindAnyDialog(tovik_.ProcessId());
    }
    void SaveAs(const std::wstring& path) {
        HWND dialog = OpenDialog(ID_mnuSaveAs, L"名前を付けて保存");
        ASSERT_TRUE(dialog);
        ChooseFile(dialog, path);
        ASSERT_TRUE(WaitClosed(dialog));
        EXPECT_TRUE(Settled()) << "the save of " << testing::PrintToString(path) << " ended with a message";
    }

    std::unique_ptr<MemoryWatch> watch_;
};

TEST_F(HugeScreen, DesktopDelayedAndFullScreenRectangleCapturesAndBothSavesWork) {
    const int w = GetSystemMetrics(SM_CXVIRTUALSCREEN), h = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    ASSERT_GE(w * h, 7680 * 4320) << "this test needs the bench of 7680x4320 (TOVIK_SCREEN)";
    WriteSetting(L"Capture", L"DelayTime", L"200");
    ASSERT_TRUE(tovik_.Start());
    watch_ = std::make_unique<MemoryWatch>(tovik_.ProcessId());
    ASSERT_TRUE(watch_->ready());
    Figures("start-up");

    ASSERT_TRUE(tovik_.CommandAndWait(ID_mnuDesktop, 60000));
    ASSERT_TRUE(Settled());
    SIZE clip = ClipboardBitmapSize();
    EXPECT_TRUE(clip.cx == w && clip.cy == h) << clip.cx << " x " << clip.cy;
    Figures("desktop capture");

    PutMarkerOnClipboard();
    tovik_.Command(ID_mnuDelayDesktop);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(Main()); }, 10000));
    ASSERT_TRUE(Settled());
    clip = ClipboardBitmapSize();
    EXPECT_TRUE(clip.cx == w && clip.cy == h) << clip.cx << " x " << clip.cy;
    Figures("delayed desktop capture");

    // From the top-left pixel to the bottom-right one, which is outside the
    // rectangle: the whole screen but its last column and row.
    tovik_.Command(ID_mnuRectangle);
    ASSERT_TRUE(WaitUntil([&] {
        HWND overlay = tovik_.FindTopLevel(TOVIK_CLASS_DESKTOP);
        DWORD_PTR ignored = 0;
        return overlay && WindowFromPoint({w - 1, h - 1}) == overlay &&
               SendMessageTimeoutW(overlay, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &ignored);
    }, 60000));
    Figures("rectangle: frozen screen");
    ASSERT_TRUE(MoveMouseTo(0, 0));
    PressMouse(MouseButton::Left);
    // The press is read where the pointer is when the overlay takes it:
    // the pointer moves on only once the overlay holds the mouse.
    ASSERT_TRUE(WaitUntil([&] {
        const HWND capture = MouseCaptureIn(Main());
        return capture && capture == tovik_.FindTopLevel(TOVIK_CLASS_DESKTOP);
    }, 30000)) << "the overlay did not take the press";
    ASSERT_TRUE(MoveMouseTo(w - 1, h - 1));
    const std::wstring size = std::to_wstring(w - 1) + L" \u00D7 " + std::to_wstring(h - 1);
    EXPECT_TRUE(WaitUntil([&] {
        HWND box = tovik_.FindTopLevel(TOVIK_CLASS_SIZE);
        return box && TextOf(FindWindowExW(box, nullptr, L"Static", nullptr)) == size;
    }, 30000));
    ReleaseMouse(MouseButton::Left);
    ASSERT_TRUE(Settled());
    clip = ClipboardBitmapSize();
    EXPECT_TRUE(clip.cx == w - 1 && clip.cy == h - 1) << clip.cx << " x " << clip.cy;
    Figures("rectangle: capture");

    TempFolder temp(L"tovik huge");
    for (const wchar_t* name : {L"shot.png", L"shot.jpg"}) {
        SaveAs(temp.path() + name);
        SIZE saved{};
        EXPECT_TRUE(WaitUntil([&] {
            saved = PictureFileSize(temp.path() + name);
            return saved.cx != 0;
        }, 20000));
        EXPECT_TRUE(saved.cx == w - 1 && saved.cy == h - 1)
            << testing::PrintToString(std::wstring(name)) << " is " << saved.cx << " x " << saved.cy;
        Figures(name[5] == L'p' ? "PNG save" : "JPEG save");
    }
    std::printf("[ figures  ] the most RAM the program ever had: %.1f MB\n", watch_->PeakWorkingSetMb());
    ASSERT_TRUE(tovik_.CloseAndWait(30000));
}

}  // namespace
