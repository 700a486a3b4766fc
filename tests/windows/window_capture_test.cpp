// The window capture and the delayed capture inside the test process, and
// many selections in a row.
#include "overlay_fixture.h"
#include "support/MessageBoxes.h"

namespace {

using namespace tovik_test;
using namespace overlay_test;
using WindowCapture = SelectionOverlay;

TEST_F(WindowCapture, CaptureWindowOfAWindowThatIsGoneCapturesTheDesktop) {
    HWND gone = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    RECT screen{};
    GetWindowRect(GetDesktopWindow(), &screen);
    for (HWND window : {gone, HWND{}}) {
        PutMarkerOnClipboard();
        CaptureWindow(main_, window);   // no failure message: the test would hang on one
        const auto clip = ReadClipboardBitmap();
        ASSERT_TRUE(clip);
        EXPECT_EQ(clip->width, screen.right);
        EXPECT_EQ(clip->height, screen.bottom);
    }
}

// ------------------------------------------------------------ delayed capture

TEST_F(WindowCapture, DelayedCaptureFiresOnceEvenWithADelayTheTimerCannotRun) {
    for (std::int32_t delay : {0, -5}) {
        Shared().DelayTime = delay;
        PutMarkerOnClipboard();
        main_.mnuDelayDesktop_Click();
        EXPECT_FALSE(IsWindowVisible(main_.hwnd()));
        EXPECT_EQ(Shared().DelayPending, 1);
        EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main_.hwnd()) != FALSE; }, 3000))
            << "DelayTime " << delay << ": the main window stays hidden";
        EXPECT_EQ(Shared().DelayPending, 0);
        EXPECT_EQ(Shared().DelayKind, 2);
        EXPECT_FALSE(Desktop(main_)->Timer1_Enabled());
        const auto clip = ReadClipboardBitmap();
        ASSERT_TRUE(clip);
        EXPECT_NE(clip->width, 3);
    }
}

// An overlay that cannot be made (no memory for a snapshot of a screen
// claimed to be 50000 pixels square) starts nothing that could leave the main
// window hidden: the user gets one message and the main window.
TEST_F(WindowCapture, OverlayThatCannotBeMadeBringsTheMainWindowBackWithAMessage) {
    const RECT screen = Shared().DesktopRect;
    Shared().DesktopRect = {0, 0, 50000, 50000};
    Shared().DelayTime = 200;
    for (int command : {ID_mnuRectangle, ID_mnuDelayDesktop}) {
        const MessageBoxes boxes;
        SendMessageW(main_.hwnd(), WM_COMMAND, command, 0);
        EXPECT_TRUE(WaitUntil([&] { return !boxes.Seen().empty(); }, 3000)) << command;
        EXPECT_TRUE(IsWindowVisible(main_.hwnd())) << command;
        EXPECT_FALSE(DesktopLoaded()) << command;
        EXPECT_EQ(Shared().DelayPending, 0) << command;
        ASSERT_EQ(boxes.Seen().size(), 1u) << command;
        EXPECT_EQ(boxes.Seen()[0].title, L"Error");
    }
    Shared().DesktopRect = screen;
}

// The overlay unloaded while a delayed capture waits on its timer (a
// selection ending meanwhile) does not lose the capture.
TEST_F(WindowCapture, UnloadingTheOverlayDuringADelayKeepsTheDelayedCapture) {
    Shared().DelayTime = 1500;
    main_.mnuDelayDesktop_Click();
    ASSERT_TRUE(DesktopLoaded());
    UnloadDesktop();
    EXPECT_EQ(Shared().DelayPending, 1);
    EXPECT_FALSE(IsWindowVisible(main_.hwnd()));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main_.hwnd()) != FALSE; }, 5000));
    EXPECT_EQ(Shared().DelayPending, 0);
    const auto clip = ReadClipboardBitmap();
    ASSERT_TRUE(clip);
    EXPECT_EQ(clip->width, Shared().DesktopRect.right) << "no delayed capture was taken";
}

TEST_F(WindowCapture, RepeatedSelectionsLeaveNoGdiObjectsOrWindowsBehind) {
    auto select = [&](int i) {
        frmDesktop& overlay = *Desktop(main_);
        overlay.TakeSnapshot();
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
