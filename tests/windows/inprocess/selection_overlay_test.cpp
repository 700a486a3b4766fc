// The selection overlay and the size box: the band, the release, the
// overlay's lifetime and the failure paths a drag can meet.
#include "overlay_fixture.h"
#include "support/Mouse.h"
#include "support/Windows.h"

#include <string>

namespace {

using namespace tovik_test;
using namespace overlay_test;

TEST_F(SelectionOverlay, BandFollowsTheDragAndLeavesNoTraceInTheCapture) {
    frmDesktop& overlay = ShowOverlay();
    HWND window = overlay.hwnd();
    const POINT start{kPatternX + 10, kPatternY + 12};
    Press(overlay, start);
    EXPECT_EQ(Differences(ReadDC(overlay.hDC(), 0, 0, snapshot_.width, snapshot_.height), snapshot_), 0)
        << "nothing is drawn at the press";
    // Many moves, crossing back over the start and ending inside the final
    // rectangle, so every pixel the band ever touched is captured below.
    POINT last = start;
    for (int i = 0; i < 60; ++i) {
        last = {start.x + (i * 37) % 230, start.y + (i * 53) % 170};
        Move(overlay, last);
    }
    EXPECT_EQ(Differences(ReadDC(overlay.hDC(), 0, 0, snapshot_.width, snapshot_.height),
                          SnapshotWithBand(start, last)),
              0)
        << "mid-drag the surface is the snapshot with exactly the current band inverted";
    EXPECT_TRUE(IsWindowVisible(SizeForm().hwnd()));

    const POINT release{kPatternX + 250, kPatternY + 190};
    Release(overlay, release);
    EXPECT_FALSE(OverlayLoaded());
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(IsWindowVisible(SizeForm().hwnd()));
    EXPECT_TRUE(IsWindowVisible(main_.hwnd()));
    EXPECT_EQ(ClipboardDiffersFromSnapshot({start.x, start.y, release.x, release.y}), 0);
}

TEST_F(SelectionOverlay, ReleaseAwayFromTheLastMoveEndsTheRectangleAtTheRelease) {
    frmDesktop& overlay = ShowOverlay();
    Press(overlay, {kPatternX + 200, kPatternY + 150});
    Move(overlay, {kPatternX + 120, kPatternY + 100});
    Move(overlay, {kPatternX + 60, kPatternY + 40});
    EXPECT_EQ(platform::WindowText(FindChild(SizeForm().hwnd(), L"Static")), L"140 \u00D7 110");
    EXPECT_EQ(SizeForm().OuterRect().left, kPatternX + 70);
    EXPECT_EQ(SizeForm().OuterRect().top, kPatternY + 50);
    Release(overlay, {kPatternX + 30, kPatternY + 25});   // up and left of the last move
    EXPECT_EQ(ClipboardDiffersFromSnapshot({kPatternX + 30, kPatternY + 25, kPatternX + 200, kPatternY + 150}), 0);
    EXPECT_EQ(main_.Picture2().OuterWidth(), 174);
    EXPECT_EQ(main_.Picture2().OuterHeight(), 129);
}

TEST_F(SelectionOverlay, ASecondPressDuringADragStartsOverWithoutAStrayBand) {
    frmDesktop& overlay = ShowOverlay();
    Press(overlay, {kPatternX + 40, kPatternY + 40});
    Move(overlay, {kPatternX + 90, kPatternY + 80});   // this band lies inside the final rectangle
    Press(overlay, {kPatternX + 20, kPatternY + 20});   // another button goes down
    Move(overlay, {kPatternX + 150, kPatternY + 130});
    Release(overlay, {kPatternX + 160, kPatternY + 140});
    EXPECT_EQ(ClipboardDiffersFromSnapshot({kPatternX + 20, kPatternY + 20, kPatternX + 160, kPatternY + 140}), 0);
}

TEST_F(SelectionOverlay, InputArrivingWhileTheReleaseLetsEventsRunDoesNotMoveTheSelection) {
    frmDesktop& overlay = ShowOverlay();
    Press(overlay, {kPatternX + 10, kPatternY + 10});
    Move(overlay, {kPatternX + 100, kPatternY + 60});
    PlacePointer({kPatternX + 120, kPatternY + 70});
    // A press and a move queued behind the release: they run during its
    // pending-event pass, after the selection has ended.
    PostMessageW(overlay.hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(kPatternX + 5, kPatternY + 5));
    PostMessageW(overlay.hwnd(), WM_MOUSEMOVE, MK_RBUTTON, MAKELPARAM(kPatternX + 6, kPatternY + 6));
    overlay.Form_MouseUp();
    EXPECT_EQ(ClipboardDiffersFromSnapshot({kPatternX + 10, kPatternY + 10, kPatternX + 120, kPatternY + 70}), 0);
    EXPECT_TRUE(WaitUntil([] { return !OverlayLoaded(); }, 3000));
    EXPECT_TRUE(IsWindowVisible(main_.hwnd()));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(SelectionOverlay, LosingTheMouseCaptureMidDragDoesNotEndTheSelection) {
    frmDesktop& overlay = ShowOverlay();
    Press(overlay, {kPatternX + 30, kPatternY + 30});
    EXPECT_EQ(GetCapture(), overlay.hwnd());
    SendMessageW(overlay.hwnd(), WM_CANCELMODE, 0, 0);
    ReleaseCapture();
    EXPECT_TRUE(overlay.Dragging);
    Move(overlay, {kPatternX + 80, kPatternY + 70});
    Release(overlay, {kPatternX + 80, kPatternY + 70});
    EXPECT_EQ(ClipboardDiffersFromSnapshot({kPatternX + 30, kPatternY + 30, kPatternX + 80, kPatternY + 70}), 0);
    EXPECT_FALSE(OverlayLoaded());
}

// The pixels selected are the frozen snapshot's, even where the screen
// shows something else at the release (a frame not yet replaced, a window
// above the overlay).
TEST_F(SelectionOverlay, SelectionIsTakenFromTheSnapshotNotFromTheScreenAtTheRelease) {
    frmDesktop& overlay = ShowOverlay();
    const RECT region{kPatternX + 10, kPatternY + 10, kPatternX + 90, kPatternY + 70};
    Press(overlay, {region.left, region.top});
    Move(overlay, {region.right, region.bottom});
    const LayeredWindow above(region, 0xFF00FF00);   // opaque green, over the overlay
    ASSERT_TRUE(WaitUntil([&] { return ReadScreen(region).At(5, 5) == Rgb(0, 0xFF, 0); }));
    Release(overlay, {region.right, region.bottom});
    EXPECT_EQ(ClipboardDiffersFromSnapshot(region), 0);
}

TEST_F(SelectionOverlay, OverlayCoversTheScreenAndSurvivesRepaintsAndIgnoresClose) {
    frmDesktop& overlay = ShowOverlay();
    RECT screen{};
    GetWindowRect(GetDesktopWindow(), &screen);
    RECT outer{}, client{};
    GetWindowRect(overlay.hwnd(), &outer);
    GetClientRect(overlay.hwnd(), &client);
    EXPECT_TRUE(EqualRect(&outer, &screen));
    EXPECT_EQ(client.right, screen.right - screen.left);   // no frame: client origin is the screen origin
    EXPECT_EQ(SurfaceSize(overlay).cx, ProgramState().DesktopRect.right);
    EXPECT_EQ(SurfaceSize(overlay).cy, ProgramState().DesktopRect.bottom);
    EXPECT_FALSE(overlay.Dragging);
    EXPECT_FALSE(overlay.imgArrow.Visible());

    // The pattern goes away behind the overlay; a full repaint shows the snapshot still.
    pattern_.reset();
    RedrawWindow(overlay.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_TRUE(overlay.WaitUntilOnScreen({kPatternX, kPatternY, kPatternX + kPatternW, kPatternY + kPatternH}, 5000));
    const Pixels shown = ReadScreen({kPatternX, kPatternY, kPatternX + kPatternW, kPatternY + kPatternH});
    EXPECT_EQ(shown.At(17, 23), PatternWindow::PatternAt(17, 23));

    SendMessageW(overlay.hwnd(), WM_CLOSE, 0, 0);   // Alt+F4 ends up here
    EXPECT_TRUE(OverlayLoaded());
    EXPECT_TRUE(overlay.IsVisible());
}

// Esc belongs to the selection, wherever the keyboard is, only while the
// frozen screen is up for one: every way the overlay ends gives it back to
// the other programs, and the overlay shown for a delayed capture's pointer
// never takes it.
TEST_F(SelectionOverlay, EscIsTakenOnlyWhileASelectionIsOnTheScreen) {
    const auto escIsFree = [] {
        constexpr int kProbe = 0xB00;
        if (!RegisterHotKey(nullptr, kProbe, 0, VK_ESCAPE)) return false;
        UnregisterHotKey(nullptr, kProbe);
        return true;
    };
    ASSERT_TRUE(escIsFree());
    for (const char* ending : {"release", "Esc", "unload"}) {
        frmDesktop& overlay = ShowOverlay();
        EXPECT_FALSE(escIsFree()) << ending;
        if (ending == std::string("release")) {
            Press(overlay, {kPatternX + 10, kPatternY + 10});
            Release(overlay, {kPatternX + 30, kPatternY + 20});
        } else if (ending == std::string("Esc")) {
            TypeKey(0, VK_ESCAPE);
            EXPECT_TRUE(WaitUntil([] { return !OverlayLoaded(); }, 3000)) << "Esc did not end the selection";
        } else {
            UnloadDesktop();
        }
        EXPECT_FALSE(OverlayLoaded()) << ending;
        EXPECT_TRUE(escIsFree()) << "after the " << ending;
    }
    Desktop(main_)->ShowFullScreen(false);
    EXPECT_TRUE(escIsFree()) << "shown for the pointer";
}

TEST_F(SelectionOverlay, SizeBoxIsASmallToolWindowThatNeverTakesTheActivation) {
    frmSize& box = SizeForm();
    ASSERT_TRUE(box.exists());
    const SIZE client = box.ClientSize();
    EXPECT_EQ(client.cx, TwipsToPixels(1275));
    EXPECT_EQ(client.cy, TwipsToPixels(315));
    EXPECT_TRUE(GetWindowLongW(box.hwnd(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_NE(GetWindowLongW(box.hwnd(), GWL_STYLE) & WS_CAPTION, WS_CAPTION) << "no title bar";

    // The main window in front first (the system hands the activation on
    // in its own time); showing the box must not take it away.
    SetForegroundWindow(main_.hwnd());
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == main_.hwnd(); }));
    box.ShowAt(300, 200);
    EXPECT_TRUE(box.IsVisible());
    EXPECT_FALSE(WaitUntil([&] { return GetForegroundWindow() != main_.hwnd(); }, 300)) << "the box took the activation";
    EXPECT_EQ(box.OuterRect().left, 300);
    EXPECT_EQ(box.OuterRect().top, 200);
    box.Hide();
}

TEST_F(SelectionOverlay, EachReferenceAfterAnUnloadLoadsAFreshOverlay) {
    frmDesktop& first = ShowOverlay();
    HWND firstWindow = first.hwnd();
    Press(first, {kPatternX + 5, kPatternY + 5});
    Release(first, {kPatternX + 5, kPatternY + 5});   // an empty selection still unloads
    EXPECT_FALSE(OverlayLoaded());
    const auto clip = ReadClipboardBitmap();
    ASSERT_TRUE(clip);
    EXPECT_FALSE(clip->width == 3 && clip->height == 2) << "the empty capture still replaces the clipboard";
    EXPECT_EQ(main_.Picture2().OuterWidth(), 4);
    EXPECT_EQ(main_.Picture2().OuterHeight(), 4);

    frmDesktop& second = *Desktop(main_);
    EXPECT_TRUE(OverlayLoaded());
    EXPECT_NE(second.hwnd(), firstWindow);
    EXPECT_FALSE(second.Dragging);
    EXPECT_FALSE(second.IsVisible());
}

}  // namespace
