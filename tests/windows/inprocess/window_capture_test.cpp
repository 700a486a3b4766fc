// The window capture and the delayed capture inside the test process, and
// many selections in a row.
#include "overlay_fixture.h"
#include "support/MessageBoxes.h"

#include "platform/owners/Gdi.h"
#include "platform/system/Compositor.h"
#include "platform/system/Screen.h"
#include "platform/system/SystemLookup.h"
#include "platform/ui/Messages.h"

namespace {

using namespace tovik_test;
using namespace overlay_test;
using WindowCapture = SelectionOverlay;

// The screen at another resolution while this lives (a dynamic change, as
// a docked monitor or a reconnected session makes); as it was afterwards.
class ScreenMode {
public:
    ScreenMode(int width, int height) {
        DEVMODEW mode{};
        mode.dmSize = sizeof mode;
        mode.dmPelsWidth = static_cast<DWORD>(width);
        mode.dmPelsHeight = static_cast<DWORD>(height);
        mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
        changed_ = ChangeDisplaySettingsExW(nullptr, &mode, nullptr, 0, nullptr) == DISP_CHANGE_SUCCESSFUL;
    }
    ~ScreenMode() {
        if (changed_) ChangeDisplaySettingsExW(nullptr, nullptr, nullptr, 0, nullptr);
    }
    ScreenMode(const ScreenMode&) = delete;
    ScreenMode& operator=(const ScreenMode&) = delete;
    bool Changed() const { return changed_; }
private:
    bool changed_ = false;
};

TEST_F(WindowCapture, CaptureWindowOfAWindowThatIsGoneCapturesTheDesktop) {
    HWND gone = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    RECT screen{};
    GetWindowRect(GetDesktopWindow(), &screen);
    for (HWND window : {gone, HWND{}}) {
        PutMarkerOnClipboard();
        EXPECT_EQ(CaptureWindow(main_, window), S_OK);
        const auto clip = ReadClipboardBitmap();
        ASSERT_TRUE(clip);
        EXPECT_EQ(clip->width, screen.right);
        EXPECT_EQ(clip->height, screen.bottom);
    }
}

// The window as the screen shows it, only the part on the screen, whether
// or not the system reports the visible frame; the clipboard is opened in
// the program's own name, never the captured window's.
TEST_F(WindowCapture, WindowIsReadFromTheScreenWithinTheScreenInTheProgramsName) {
    const PatternWindow partlyOff(-40, 60, 200, 120);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(partlyOff.hwnd()) != FALSE; }));
    for (bool lookups : {true, false}) {
        platform::FailSystemLookupsForTesting(!lookups);
        for (HWND window : {pattern_->hwnd(), partlyOff.hwnd()}) {
            PutMarkerOnClipboard();
            EXPECT_EQ(CaptureWindow(main_, window), S_OK);
            const auto clip = ReadClipboardBitmap();
            ASSERT_TRUE(clip);
            const bool off = window == partlyOff.hwnd();
            ASSERT_EQ(clip->width, off ? 160 : kPatternW) << "lookups " << lookups;
            ASSERT_EQ(clip->height, off ? 120 : kPatternH);
            EXPECT_EQ(PatternMismatches(*clip, 0, 0, off ? 40 : 0, 0, clip->width, clip->height), 0)
                << "lookups " << lookups << (off ? ", partly off the screen" : "");
            EXPECT_EQ(GetClipboardOwner(), main_.hwnd());
        }
    }
    platform::FailSystemLookupsForTesting(false);
}

// Without the system's per-window resolution the monitor's is used; without
// either, the screen's.
TEST_F(WindowCapture, WindowResolutionFallsBackToTheScreensWithoutTheSystemsLookups) {
    const int dpi = platform::WindowDpi(main_.hwnd());
    platform::FailSystemLookupsForTesting(true);
    EXPECT_EQ(platform::WindowDpi(main_.hwnd()), platform::ScreenDpiX());
    platform::FailSystemLookupsForTesting(false);
    EXPECT_EQ(dpi, platform::ScreenDpiX()) << "one monitor at the screen's resolution";
}

// A translucent layered window in front (a tooltip, a menu's shadow) is in
// the desktop capture and in the frozen screen as the screen shows it.
TEST_F(WindowCapture, LayeredWindowsInFrontAreCapturedAsTheScreenShowsThem) {
    const RECT area{kPatternX + 20, kPatternY + 20, kPatternX + 120, kPatternY + 80};
    const LayeredWindow veil(area, 0x80FF0000);   // half-transparent red
    const RECT probe{area.left - 10, area.top - 10, area.right + 10, area.bottom + 10};
    Pixels shown;
    ASSERT_TRUE(WaitUntil([&] {
        shown = ReadScreen(probe);
        return shown.At(30, 30) != PatternWindow::PatternAt(30 + 10, 30 + 10);
    })) << "the layered window never reached the screen";
    EXPECT_EQ(CaptureWindow(main_, GetDesktopWindow()), S_OK);
    const auto desktop = ReadClipboardBitmap();
    ASSERT_TRUE(desktop);
    frmDesktop& overlay = ShowOverlay();
    Press(overlay, {probe.left, probe.top});
    Move(overlay, {probe.right, probe.bottom});
    Release(overlay, {probe.right, probe.bottom});
    const auto selected = ReadClipboardBitmap();
    ASSERT_TRUE(selected);
    int desktopWrong = 0, selectedWrong = 0;
    for (int y = 0; y < shown.height; ++y)
        for (int x = 0; x < shown.width; ++x) {
            desktopWrong += desktop->At(probe.left + x, probe.top + y) != shown.At(x, y);
            selectedWrong += selected->At(x, y) != shown.At(x, y);
        }
    EXPECT_EQ(desktopWrong, 0) << "desktop capture";
    EXPECT_EQ(selectedWrong, 0) << "rectangle capture";
}

// A screen that cannot be read when the capture is taken (the session
// locked, or the secure desktop up, during the delay): one "Error" box with
// the system's description, the old picture and the clipboard as they were,
// and the main window back. So too with the pointer drawn in, and when the
// rectangle's frozen screen cannot be taken.
TEST_F(WindowCapture, AScreenThatCannotBeReadLeavesThePictureAndTheClipboardAndSaysWhy) {
    EXPECT_EQ(CaptureWindow(main_, pattern_->hwnd()), S_OK);
    auto& buffer = main_.Picture2();
    const Pixels picture = ReadDC(buffer.hDC(), 0, 0, buffer.OuterWidth(), buffer.OuterHeight());
    PutMarkerOnClipboard();
    main_.Options.DelayTime = 100;
    platform::FailScreenReadsForTesting(ERROR_ACCESS_DENIED);
    const struct { const char* what; int command; std::int16_t pointer; } runs[] = {
        {"delayed", ID_mnuDelayDesktop, 0}, {"delayed, pointer", ID_mnuDelayDesktop, -1}, {"rectangle", ID_mnuRectangle, 0}};
    for (const auto& run : runs) {
        ProgramState().MouseCapt = run.pointer;
        const MessageBoxes boxes;
        SendMessageW(main_.hwnd(), WM_COMMAND, run.command, 0);
        EXPECT_TRUE(WaitUntil([&] {
            return !boxes.Seen().empty() && IsWindowVisible(main_.hwnd()) && ProgramState().DelayPending == 0;
        }, 5000)) << run.what << ": no message, or the main window stays hidden";
        ASSERT_EQ(boxes.Seen().size(), 1u) << run.what;
        EXPECT_EQ(boxes.Seen()[0].title, L"Error");
        EXPECT_EQ(boxes.Seen()[0].text, platform::SystemErrorText(ERROR_ACCESS_DENIED)) << run.what;
        EXPECT_FALSE(Desktop(main_)->IsVisible()) << run.what;
        EXPECT_EQ(buffer.OuterWidth(), picture.width) << run.what;
        EXPECT_EQ(ReadDC(buffer.hDC(), 0, 0, picture.width, picture.height).data, picture.data) << run.what;
        const auto clip = ReadClipboardBitmap();
        ASSERT_TRUE(clip);
        EXPECT_TRUE(clip->width == 3 && clip->height == 2) << run.what << ": the clipboard was replaced";
    }
    platform::FailScreenReadsForTesting(0);
}

// ------------------------------------------------------------ delayed capture

TEST_F(WindowCapture, DelayedCaptureFiresOnceEvenWithADelayTheTimerCannotRun) {
    for (std::int32_t delay : {0, -5}) {
        main_.Options.DelayTime = delay;
        PutMarkerOnClipboard();
        main_.mnuDelayDesktop_Click();
        EXPECT_FALSE(IsWindowVisible(main_.hwnd()));
        EXPECT_EQ(ProgramState().DelayPending, 1);
        EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main_.hwnd()) != FALSE; }, 3000))
            << "DelayTime " << delay << ": the main window stays hidden";
        EXPECT_EQ(ProgramState().DelayPending, 0);
        EXPECT_EQ(ProgramState().DelayKind, 2);
        const auto clip = ReadClipboardBitmap();
        ASSERT_TRUE(clip);
        EXPECT_NE(clip->width, 3);
        PutMarkerOnClipboard();   // a timer still running would replace it
        EXPECT_FALSE(WaitUntil([] {
            const auto now = ReadClipboardBitmap();
            return !now || now->width != 3;
        }, 200)) << "fired again";
    }
}

// An overlay that cannot be made (no memory for a snapshot of a screen
// claimed to be 50000 pixels square) starts nothing that could leave the main
// window hidden: the user gets one message and the main window. (The delayed
// capture needs the overlay for the pointer.)
TEST_F(WindowCapture, OverlayThatCannotBeMadeBringsTheMainWindowBackWithAMessage) {
    const RECT huge{0, 0, 50000, 50000};
    platform::PretendVirtualScreenForTesting(&huge);
    main_.Options.DelayTime = 200;
    ProgramState().MouseCapt = -1;
    for (int command : {ID_mnuRectangle, ID_mnuDelayDesktop}) {
        const MessageBoxes boxes;
        SendMessageW(main_.hwnd(), WM_COMMAND, command, 0);
        EXPECT_TRUE(WaitUntil([&] { return !boxes.Seen().empty(); }, 3000)) << command;
        EXPECT_TRUE(IsWindowVisible(main_.hwnd())) << command;
        EXPECT_FALSE(OverlayLoaded()) << command;
        EXPECT_EQ(ProgramState().DelayPending, 0) << command;
        ASSERT_EQ(boxes.Seen().size(), 1u) << command;
        EXPECT_EQ(boxes.Seen()[0].title, L"Error");
    }
    platform::PretendVirtualScreenForTesting(nullptr);
}

// A delayed capture waits without a picture of the screen: no overlay is
// loaded for the wait, none for a capture without the pointer, and the one
// the pointer needs is gone afterwards. (On a huge screen each would hold a
// picture of the whole screen.)
TEST_F(WindowCapture, DelayedCapturesWaitWithoutAnOverlayAndLeaveNoneBehind) {
    main_.Options.DelayTime = 300;
    for (std::int16_t pointer : {0, -1}) {
        ProgramState().MouseCapt = pointer;
        PutMarkerOnClipboard();
        main_.mnuDelayDesktop_Click();
        EXPECT_EQ(ProgramState().DelayPending, 1);
        EXPECT_FALSE(OverlayLoaded()) << "an overlay for the wait";
        EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main_.hwnd()) != FALSE; }, 5000));
        EXPECT_FALSE(OverlayLoaded()) << "an overlay left loaded, pointer option " << pointer;
        EXPECT_EQ(ProgramState().DelayPending, 0);
        const auto clip = ReadClipboardBitmap();
        ASSERT_TRUE(clip);
        EXPECT_EQ(clip->width, ProgramState().DesktopRect.right) << "no delayed capture was taken";
    }
}

// The screen grew between a delayed capture with the pointer and a
// rectangle capture (a resolution changed; a monitor docked or a session
// reconnected alike): the overlay covers the screen as it is now and
// freezes all of it, so a rectangle beyond where the old screen ended is
// what the screen showed there.
TEST_F(WindowCapture, AfterADisplayChangeTheOverlayFreezesTheWholeNewScreen) {
    const RECT full = platform::DesktopRectangle();
    ASSERT_GT(full.right - full.left, 800);
    {
        const ScreenMode smaller(800, 600);
        ASSERT_TRUE(smaller.Changed());
        ASSERT_TRUE(WaitUntil([] { return platform::DesktopRectangle().right == 800; }));
        ProgramState().MouseCapt = -1;
        main_.Options.DelayTime = 100;
        main_.mnuDelayDesktop_Click();
        ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main_.hwnd()) != FALSE; }, 5000));
    }
    ASSERT_TRUE(WaitUntil([&] {
        const RECT now = platform::DesktopRectangle();
        return EqualRect(&now, &full) != FALSE;
    }));
    const POINT at{full.right - 170, full.bottom - 140};   // off the smaller screen
    const PatternWindow beyond(at.x, at.y, 150, 120);
    ASSERT_TRUE(beyond.WaitUntilOnScreen());
    frmDesktop& overlay = ShowOverlay();
    RECT outer{};
    GetWindowRect(overlay.hwnd(), &outer);
    EXPECT_TRUE(EqualRect(&outer, &full));
    EXPECT_TRUE(EqualRect(&ProgramState().DesktopRect, &full));
    EXPECT_EQ(SurfaceSize(overlay).cx, full.right - full.left);
    EXPECT_EQ(SurfaceSize(overlay).cy, full.bottom - full.top);
    Press(overlay, {at.x + 10, at.y + 10});
    Move(overlay, {at.x + 130, at.y + 100});
    Release(overlay, {at.x + 130, at.y + 100});
    const auto clip = ReadClipboardBitmap();
    ASSERT_TRUE(clip);
    ASSERT_EQ(clip->width, 120);
    EXPECT_EQ(PatternMismatches(*clip, 0, 0, 10, 10, 120, 90, "the rectangle"), 0);
}

TEST_F(WindowCapture, RepeatedSelectionsLeaveNoGdiObjectsOrWindowsBehind) {
    auto select = [&](int i) {
        frmDesktop& overlay = *Desktop(main_);
        EXPECT_EQ(overlay.TakeSnapshot(), S_OK);
        overlay.ShowFullScreen(true);
        Press(overlay, {kPatternX + i % 13, kPatternY + i % 7});
        Move(overlay, {kPatternX + 40 + i % 5, kPatternY + 30});
        Release(overlay, {kPatternX + 60 + i % 11, kPatternY + 50 + i % 3});
    };
    // The system's caches (device contexts among them) grow over the first
    // few selections; a leak would instead grow with every one of the 500.
    for (int i = 0; i < 10; ++i) select(i);
    const unsigned gdiBefore = GdiObjectCount();
    const unsigned windowsBefore = WindowCount();
    const ULONGLONG start = GetTickCount64();
    for (int i = 1; i <= 500; ++i) select(i);
    std::printf("[ figures  ] 500 selections in %llu ms; GDI objects %u -> %u, windows %u -> %u\n",
                GetTickCount64() - start, gdiBefore, GdiObjectCount(), windowsBefore, WindowCount());
    EXPECT_EQ(GdiObjectCount(), gdiBefore);
    EXPECT_EQ(WindowCount(), windowsBefore);
    EXPECT_GT(gdiBefore, 0u) << "no GDI object count to compare";
}

}  // namespace
