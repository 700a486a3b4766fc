// The window capture and the delayed capture inside the test process, and
// many selections in a row.
#include "overlay_fixture.h"

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
        CaptureWindow(window);   // no failure message: the test would hang on one
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
        EXPECT_FALSE(Desktop().Timer1_Enabled());
        const auto clip = ReadClipboardBitmap();
        ASSERT_TRUE(clip);
        EXPECT_NE(clip->width, 3);
    }
}

TEST_F(WindowCapture, RepeatedSelectionsLeaveNoGdiObjectsOrWindowsBehind) {
    auto select = [&](int i) {
        frmDesktop& overlay = Desktop();
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
