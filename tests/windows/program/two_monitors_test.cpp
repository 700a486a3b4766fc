// The real Tovik.exe on two monitors: the primary 1280x800 at (0, 0) and a
// second one 1024x768 right of it, so the virtual screen is 2304x800 with a
// strip below the second monitor that no monitor covers.
#include "captures_fixture.h"

namespace {

using namespace tovik_test;
using namespace captures_test;

constexpr RECT kVirtual{0, 0, 2304, 800};
constexpr RECT kSecond{1280, 0, 2304, 768};
// A pattern across the edge between the monitors, and one at the second
// monitor's bottom-right corner.
constexpr RECT kAcross{1100, 120, 1500, 420};
constexpr RECT kCorner{1880, 440, 2304, 760};

class TwoMonitors : public PointerInCaptures {
protected:
    void SetUp() override {
        ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), 2) << "not the two-monitor bench";
        ASSERT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), kVirtual.right);
        ASSERT_EQ(GetSystemMetrics(SM_CYVIRTUALSCREEN), kVirtual.bottom);
        across_ = Show(kAcross);
        corner_ = Show(kCorner);
        ASSERT_TRUE(across_->WaitUntilOnScreen());
        ASSERT_TRUE(corner_->WaitUntilOnScreen());
        PointerInCaptures::SetUp();
    }
    void TearDown() override {
        PointerInCaptures::TearDown();
        across_.reset();
        corner_.reset();
    }
    static std::unique_ptr<PatternWindow> Show(const RECT& r) {
        return std::make_unique<PatternWindow>(r.left, r.top, r.right - r.left, r.bottom - r.top);
    }
    // The size box, checked to lie whole on the monitor `on`.
    RECT SizeBoxOn(const RECT& on, const char* where) const {
        const RECT box = OuterRect(tovik_.FindTopLevel(TOVIK_CLASS_SIZE));
        RECT inside{};
        IntersectRect(&inside, &box, &on);
        EXPECT_TRUE(EqualRect(&inside, &box)) << where << ": the size box leaves its monitor";
        return box;
    }

    std::unique_ptr<PatternWindow> across_, corner_;
};

TEST_F(TwoMonitors, DesktopCaptureHoldsBothMonitorsAndBlackWhereNoneIs) {
    RunCommandToTheEnd(ID_mnuDesktop);
    const auto clip = ReadClipboardBitmap();
    ASSERT_TRUE(clip);
    ASSERT_EQ(clip->width, kVirtual.right);
    ASSERT_EQ(clip->height, kVirtual.bottom);
    EXPECT_EQ(PatternMismatches(*clip, kPatternX, kPatternY, 0, 0, kPatternW, kPatternH, "primary"), 0);
    for (const RECT& r : {kAcross, kCorner})
        EXPECT_EQ(PatternMismatches(*clip, r.left, r.top, 0, 0, r.right - r.left, r.bottom - r.top, "second"), 0);
    EXPECT_EQ(Mismatches(*clip, kSecond.left, kSecond.bottom, kSecond.right - kSecond.left,
                         kVirtual.bottom - kSecond.bottom, Solid(0)), 0)
        << "pixels below the second monitor are not black";
}

// The window behind the overlay closes during the drag: the capture is the
// frozen picture, on both monitors.
TEST_F(TwoMonitors, RectangleDraggedAcrossToTheSecondMonitorIsTheFrozenPicture) {
    ASSERT_TRUE(StartRectangle());
    const POINT start{kAcross.left + 20, kAcross.top + 20};
    ASSERT_TRUE(MoveMouseTo(start.x, start.y));
    ASSERT_NO_FATAL_FAILURE(PressOnOverlay(MouseButton::Left));
    // Near the primary's right edge the box turns to the pointer's left
    // rather than reach over onto the second monitor.
    DragTo(start, {1250, 300});
    const RECT nearEdge = SizeBoxOn({0, 0, 1280, 800}, "primary");
    EXPECT_EQ(nearEdge.right, 1240);
    EXPECT_EQ(nearEdge.top, 310);
    across_.reset();
    DragTo(start, {1480, 400});
    const RECT beyond = SizeBoxOn(kSecond, "second");
    EXPECT_EQ(beyond.left, 1490);
    EXPECT_EQ(beyond.top, 410);
    DragTo(start, {1450, 380});
    ReleaseMouse(MouseButton::Left);
    ASSERT_TRUE(WaitForMainWindow());
    ExpectPatternCaptured(20, 20, 330, 240);
}

TEST_F(TwoMonitors, RectangleOnTheSecondMonitorKeepsTheSizeBoxOnIt) {
    ASSERT_TRUE(StartRectangle());
    const POINT start{kCorner.left + 10, kCorner.top + 10};
    ASSERT_TRUE(MoveMouseTo(start.x, start.y));
    ASSERT_NO_FATAL_FAILURE(PressOnOverlay(MouseButton::Left));
    DragTo(start, {2000, 550});
    DragTo(start, {2290, 750});
    // At the second monitor's corner: left of and above the pointer, on that monitor.
    const RECT box = SizeBoxOn(kSecond, "corner");
    EXPECT_EQ(box.right, 2280);
    EXPECT_EQ(box.bottom, 740);
    ReleaseMouse(MouseButton::Left);
    ASSERT_TRUE(WaitForMainWindow());
    ExpectPatternCaptured(10, 10, 400, 300);
}

TEST_F(TwoMonitors, DelayedCaptureWithThePointerDrawsTheArrowOnTheSecondMonitor) {
    pointer_ = {2000, 550};
    patternOrigin_ = {kCorner.left, kCorner.top};
    TurnPointerOptionOn();
    const Pixels got = CaptureAroundPointer(ID_mnuDelayDesktop);
    ASSERT_EQ(got.data.size(), static_cast<size_t>(kBox * kBox)) << "no capture of the whole virtual screen";
    ExpectArrow(got);
}

TEST_F(TwoMonitors, ActiveWindowOnTheSecondMonitorIsCapturedWhole) {
    ASSERT_TRUE(BringToFront(corner_->hwnd()));
    RunCommandToTheEnd(ID_mnuWindow);
    ExpectPattern(ReadClipboardBitmap(), 0, 0, kCorner.right - kCorner.left, kCorner.bottom - kCorner.top, "window");
}

}  // namespace
