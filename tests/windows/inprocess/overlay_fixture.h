// The real capture windows inside the test process: a main window for the
// whole suite, a pattern window of the test's own under the pointer, and
// the overlay driven through its handlers with the pointer placed where each
// handler reads it.
#pragma once
#include "app/Module2.h"
#include "app/frmMain.h"
#include "capture/CaptureWindow.h"
#include "capture/DelayedCapture.h"
#include "capture/frmDesktop.h"
#include "capture/frmSize.h"
#include "resources/resource.h"
#include "support/Driver.h"
#include "support/Resources.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace overlay_test {

using namespace tovik_test;
using namespace app;
using namespace capture;

constexpr int kPatternX = 200, kPatternY = 150, kPatternW = 300, kPatternH = 220;

class SelectionOverlay : public ::testing::Test {
protected:
    // One main window for the whole suite, as in the program.
    static void SetUpTestSuite() {
        const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
        InitCommonControlsEx(&controls);
        ClearSettings();
        mainForm_ = new frmMain;
        ASSERT_EQ(mainForm_->Form_Load(), S_OK);
    }
    static void TearDownTestSuite() {
        delete mainForm_;
        mainForm_ = nullptr;
        ClearSettings();
    }
    void SetUp() override {
        ASSERT_TRUE(main_.exists());
        main_.Show(SW_SHOWNORMAL);
        SetWindowPos(main_.hwnd(), nullptr, 560, 420, 400, 300, SWP_NOZORDER);
        pattern_ = std::make_unique<PatternWindow>(kPatternX, kPatternY, kPatternW, kPatternH);
        ASSERT_TRUE(pattern_->WaitUntilOnScreen());
        PutMarkerOnClipboard();
    }
    void TearDown() override {
        UnloadDesktop();
        SizeForm().Hide();
        pattern_.reset();
        ProgramState().MouseCapt = 0;
        ProgramState().DelayPending = 0;
    }

    // The overlay as the rectangle command leaves it: the snapshot taken,
    // shown over the screen and on it.
    frmDesktop& ShowOverlay() {
        frmDesktop& overlay = *Desktop(main_);
        EXPECT_EQ(overlay.TakeSnapshot(), S_OK);
        overlay.ShowFullScreen(true);
        const RECT probe{kPatternX, kPatternY, kPatternX + kPatternW, kPatternY + kPatternH};
        EXPECT_TRUE(overlay.WaitUntilOnScreen(probe, 5000));
        const SIZE surface = SurfaceSize(overlay);
        snapshot_ = ReadDC(overlay.hDC(), 0, 0, surface.cx, surface.cy);
        return overlay;
    }

    // True while an overlay window is there, shown or not.
    static bool OverlayLoaded() { return FindWindowW(TOVIK_CLASS_DESKTOP, nullptr) != nullptr; }
    // The size of the bitmap behind the overlay's surface.
    static SIZE SurfaceSize(const frmDesktop& overlay) {
        BITMAP bitmap{};
        GetObjectW(GetCurrentObject(overlay.hDC(), OBJ_BITMAP), sizeof bitmap, &bitmap);
        return {bitmap.bmWidth, bitmap.bmHeight};
    }

    // Puts the pointer at `at` for the handler that reads it next. Under
    // Wine the new position shows only once the move message it queues has
    // been taken from the queue; that message is dropped here, since the
    // tests call the handlers themselves. On a loaded machine the display
    // can still report an earlier move just after that and put the pointer
    // back, so the position is read once more a moment later, and set again
    // whenever it has gone.
    static void PlacePointer(POINT at) {
        SetCursorPos(at.x, at.y);
        const bool placed = WaitUntil([&] {
            for (int reads = 0;; ++reads) {
                MSG msg;
                while (PeekMessageW(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
                }
                POINT now{};
                GetCursorPos(&now);
                if (now.x != at.x || now.y != at.y) {
                    SetCursorPos(at.x, at.y);
                    return false;
                }
                if (reads == 1) return true;
                Sleep(2);
            }
        }, 2000);
        EXPECT_TRUE(placed) << "pointer not at " << at.x << "," << at.y;
    }
    static void Press(frmDesktop& overlay, POINT at) {
        PlacePointer(at);
        overlay.Form_MouseDown();
    }
    static void Move(frmDesktop& overlay, POINT to) {
        PlacePointer(to);
        overlay.Form_MouseMove(to.x, to.y);
    }
    // Releases at `at` with no move there first, and lets the main window
    // end the selection: the overlay is unloaded.
    static void Release(frmDesktop& overlay, POINT at) {
        PlacePointer(at);
        overlay.Form_MouseUp();
        EXPECT_TRUE(OverlayLoaded()) << "the overlay went inside its own handler";
        EXPECT_TRUE(WaitUntil([] { return !OverlayLoaded(); }, 3000)) << "the selection did not end";
    }

    // The snapshot with the band's outline inverted, as the surface should be mid-drag.
    Pixels SnapshotWithBand(POINT a, POINT b) const {
        Pixels p = snapshot_;
        const int left = std::min(a.x, b.x), right = std::max(a.x, b.x);
        const int top = std::min(a.y, b.y), bottom = std::max(a.y, b.y);
        for (int y = top; y <= bottom; ++y)
            for (int x = left; x <= right; ++x)
                if (y == top || y == bottom || x == left || x == right)
                    p.data[static_cast<size_t>(y) * p.width + x] ^= 0xFFFFFF;
        return p;
    }

    // Counts the pixels of the clipboard bitmap that differ from the
    // snapshot at `region`; the bitmap must have the region's size.
    int ClipboardDiffersFromSnapshot(const RECT& region) const {
        const auto clip = ReadClipboardBitmap();
        if (!clip) return -1;
        EXPECT_EQ(clip->width, region.right - region.left);
        EXPECT_EQ(clip->height, region.bottom - region.top);
        if (clip->width != region.right - region.left || clip->height != region.bottom - region.top) return -1;
        return Mismatches(*clip, 0, 0, clip->width, clip->height,
                          [&](int x, int y) { return snapshot_.At(region.left + x, region.top + y); }, 0, "clipboard");
    }

    static int Differences(const Pixels& a, const Pixels& b) {
        if (a.width != b.width || a.height != b.height) return -1;
        return Mismatches(a, [&](int x, int y) { return b.At(x, y); });
    }

    static frmMain* mainForm_;
    frmMain& main_ = *mainForm_;
    std::unique_ptr<PatternWindow> pattern_;
    Pixels snapshot_;
};

inline frmMain* SelectionOverlay::mainForm_ = nullptr;

}  // namespace overlay_test
