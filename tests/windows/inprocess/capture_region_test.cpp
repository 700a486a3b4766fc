// The capture routine inside a real main window: buffer, view and clipboard.
#include "capture/CaptureRegion.h"
#include "platform/owners/Gdi.h"
#include "platform/owners/Handle.h"
#include "resources/resource.h"
#include "support/LoadedMainForm.h"
#include "support/Programs.h"
#include "support/Resources.h"

namespace {

using namespace tovik_test;
using namespace capture;

constexpr std::uint32_t kGray = 0x808080;

class CaptureRegionTest : public LoadedMainForm {
protected:
    void SetUp() override {
        LoadedMainForm::SetUp();
        if (HasFatalFailure()) return;
        SetWindowPos(main_.hwnd(), nullptr, 400, 300, 500, 400, SWP_NOZORDER);
        pattern_ = std::make_unique<PatternWindow>(60, 50, 200, 150);
        ASSERT_TRUE(pattern_->WaitUntilOnScreen());
        PutMarkerOnClipboard();
    }
    void TearDown() override {
        pattern_.reset();
        LoadedMainForm::TearDown();
    }

    // Checks that the surface holds the pattern from (fromX, fromY) in its top-left w x h pixels.
    static void ExpectPattern(const Pixels& p, int fromX, int fromY, int w, int h, const char* what) {
        ASSERT_GE(p.width, w) << what;
        ASSERT_GE(p.height, h) << what;
        PatternMismatches(p, 0, 0, fromX, fromY, w, h, what);
    }

    // The clipboard holds a w x h bitmap of the pattern from (fromX, fromY).
    static void ExpectClipboardPattern(int fromX, int fromY, int w, int h) {
        const auto clip = ReadClipboardBitmap();
        ASSERT_TRUE(clip);
        EXPECT_EQ(clip->width, w);
        EXPECT_EQ(clip->height, h);
        ExpectPattern(*clip, fromX, fromY, w, h, "clipboard");
    }

    Pixels Buffer() {
        auto& b = main_.Picture2();
        return ReadDC(b.hDC(), 0, 0, b.ScaleWidth(), b.ScaleHeight());
    }
    Pixels View() {
        auto& v = main_.Picture1();
        return ReadDC(v.hDC(), 0, 0, v.ScaleWidth(), v.ScaleHeight());
    }

    std::unique_ptr<PatternWindow> pattern_;
};

TEST_F(CaptureRegionTest, CopiesExactlyTheRegionIntoBufferViewAndClipboard) {
    const RECT region{10, 20, 110, 80};   // in the pattern window's own coordinates
    EXPECT_EQ(CaptureRegion(main_, pattern_->hwnd(), region), S_OK);

    EXPECT_EQ(main_.Picture2().OuterWidth(), 104);
    EXPECT_EQ(main_.Picture2().OuterHeight(), 64);
    EXPECT_EQ(main_.Picture2().ScaleWidth(), 100);
    EXPECT_EQ(main_.Picture2().ScaleHeight(), 60);
    ExpectPattern(Buffer(), 10, 20, 100, 60, "buffer");
    ExpectPattern(View(), 10, 20, 100, 60, "view");
    EXPECT_EQ(View().At(100, 0), kGray);    // beyond the picture the view is gray
    EXPECT_EQ(View().At(0, 60), kGray);
    ExpectClipboardPattern(10, 20, 100, 60);
}

TEST_F(CaptureRegionTest, ScreenCoordinatesThroughTheDesktopWindow) {
    const RECT region{60 + 5, 50 + 7, 60 + 5 + 33, 50 + 7 + 21};
    EXPECT_EQ(CaptureRegion(main_, GetDesktopWindow(), region), S_OK);
    ExpectPattern(Buffer(), 5, 7, 33, 21, "buffer");
    ExpectClipboardPattern(5, 7, 33, 21);
}

TEST_F(CaptureRegionTest, ASecondCaptureReplacesTheFirstCompletely) {
    EXPECT_EQ(CaptureRegion(main_, pattern_->hwnd(), {0, 0, 150, 100}), S_OK);
    EXPECT_EQ(CaptureRegion(main_, pattern_->hwnd(), {40, 30, 70, 50}), S_OK);
    EXPECT_EQ(main_.Picture2().OuterWidth(), 34);
    EXPECT_EQ(main_.Picture2().OuterHeight(), 24);
    ExpectPattern(Buffer(), 40, 30, 30, 20, "buffer");
    const Pixels view = View();
    EXPECT_EQ(view.At(30, 0), kGray);
    EXPECT_EQ(view.At(149, 99), kGray);
    const auto clip = ReadClipboardBitmap();
    ASSERT_TRUE(clip);
    EXPECT_EQ(clip->width, 30);
    EXPECT_EQ(clip->height, 20);
}

TEST_F(CaptureRegionTest, ZeroSizeRegionClearsBothSurfacesAndStillReplacesTheClipboard) {
    EXPECT_EQ(CaptureRegion(main_, pattern_->hwnd(), {0, 0, 150, 100}), S_OK);
    EXPECT_EQ(CaptureRegion(main_, pattern_->hwnd(), {30, 30, 30, 90}), S_OK);   // zero width
    EXPECT_EQ(main_.Picture2().OuterWidth(), 4);
    EXPECT_EQ(main_.Picture2().OuterHeight(), 64);
    for (auto px : View().data) ASSERT_EQ(px, kGray);
    const auto clip = ReadClipboardBitmap();
    ASSERT_TRUE(clip);
    EXPECT_FALSE(clip->width == 3 && clip->height == 2) << "the marker is still on the clipboard";
    // Another program taking the clipboard deletes the empty capture's
    // bitmap; that must not be the one every new memory DC starts with.
    PutMarkerOnClipboard();
    const platform::MemoryDC fresh = platform::CompatibleDC(nullptr);
    BITMAP initial{};
    EXPECT_NE(GetObjectW(GetCurrentObject(fresh.get(), OBJ_BITMAP), sizeof initial, &initial), 0)
        << "a new memory DC has lost its bitmap";
}

// A capture the system has no memory for (50000 x 50000 pixels, 10 GB) fails
// with the clipboard's message and changes nothing: the old picture stays whole, not a gray or
// resized one that a save would then write.
TEST_F(CaptureRegionTest, CaptureWithoutMemoryForItLeavesTheOldPictureAndClipboard) {
    EXPECT_EQ(CaptureRegion(main_, pattern_->hwnd(), {0, 0, 150, 100}), S_OK);
    PutMarkerOnClipboard();
    EXPECT_EQ(CaptureRegion(main_, GetDesktopWindow(), {0, 0, 50000, 50000}),
              platform::OwnFailure(IDS_CLIPBOARD_FAILED));
    EXPECT_EQ(main_.Picture2().ScaleWidth(), 150);
    EXPECT_EQ(main_.Picture2().ScaleHeight(), 100);
    ExpectPattern(Buffer(), 0, 0, 150, 100, "buffer");
    const auto clip = ReadClipboardBitmap();
    ASSERT_TRUE(clip);
    EXPECT_TRUE(clip->width == 3 && clip->height == 2) << "the clipboard was replaced";
}

TEST_F(CaptureRegionTest, ClipboardHeldOpenByAnotherProgramStillShowsTheImage) {
    const platform::KernelHandle release(CreateEventW(nullptr, TRUE, FALSE, L"TovikTestClipboardRelease"));
    const HelperProgram holder(L"clipboard_holder.exe", L"", L"TovikTestClipboardHeld");
    ASSERT_TRUE(holder.ready());

    EXPECT_EQ(CaptureRegion(main_, pattern_->hwnd(), {0, 0, 50, 40}), S_OK);   // no failure: the picture is taken
    ExpectPattern(Buffer(), 0, 0, 50, 40, "buffer");
    ExpectPattern(View(), 0, 0, 50, 40, "view");

    SetEvent(release.get());
    holder.WaitForExit();
    const auto clip = ReadClipboardBitmap();
    ASSERT_TRUE(clip);
    EXPECT_EQ(clip->width, 3);   // still the marker
    EXPECT_EQ(clip->height, 2);
}

TEST_F(CaptureRegionTest, RepeatedCapturesLeaveNoGdiObjectsBehind) {
    {   // the count itself must see objects come and go
        const unsigned start = GdiObjectCount();
        platform::Bitmap probe(CreateCompatibleBitmap(platform::ClientDC(nullptr).get(), 4, 4));
        EXPECT_EQ(GdiObjectCount(), start + 1);
        probe.reset();
        EXPECT_EQ(GdiObjectCount(), start);
    }
    EXPECT_EQ(CaptureRegion(main_, pattern_->hwnd(), {0, 0, 120, 90}), S_OK);   // settle one-time allocations
    const unsigned gdiBefore = GdiObjectCount();
    const unsigned userBefore = WindowCount();
    for (int i = 0; i < 200; ++i)
        ASSERT_EQ(CaptureRegion(main_, pattern_->hwnd(), {i % 7, i % 5, 120 + i % 11, 90 + i % 3}), S_OK);
    EXPECT_EQ(GdiObjectCount(), gdiBefore);
    EXPECT_EQ(WindowCount(), userBefore);
    EXPECT_GT(gdiBefore, 0u) << "no GDI object count to compare";
}

TEST_F(CaptureRegionTest, LayoutShowsThePictureTopLeftAndRedrawsItAfterMinimizeAndRestore) {
    EXPECT_EQ(CaptureRegion(main_, pattern_->hwnd(), {0, 0, 200, 150}), S_OK);
    SetWindowPos(main_.hwnd(), nullptr, 0, 0, 120, 150, SWP_NOZORDER | SWP_NOMOVE);   // smaller than the picture
    RECT client{};
    GetClientRect(main_.hwnd(), &client);
    EXPECT_EQ(main_.Picture1().OuterWidth(), client.right);
    EXPECT_EQ(main_.Picture1().OuterHeight(), client.bottom);
    ExpectPattern(View(), 0, 0, main_.Picture1().ScaleWidth(), main_.Picture1().ScaleHeight(), "small view");

    ShowWindow(main_.hwnd(), SW_MINIMIZE);
    ShowWindow(main_.hwnd(), SW_RESTORE);
    SetWindowPos(main_.hwnd(), nullptr, 0, 0, 600, 450, SWP_NOZORDER | SWP_NOMOVE);   // larger than the picture
    const Pixels view = View();
    ExpectPattern(view, 0, 0, 200, 150, "large view");
    EXPECT_EQ(view.At(200, 10), kGray);
    EXPECT_EQ(view.At(10, 150), kGray);
}

}  // namespace
