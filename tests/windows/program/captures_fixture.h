// The real Tovik.exe driven from outside with real mouse input, a pattern
// window of the test's own under the pointer, and the checks of what a
// capture put on the clipboard and in the view.
#pragma once
#include "support/Dialogs.h"
#include "support/Driver.h"
#include "support/Mouse.h"
#include "support/RealProgram.h"
#include "support/Resources.h"
#include "support/Windows.h"

#include "resources/resource.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <memory>
#include <optional>
#include <utility>
#include <string>
#include <vector>


namespace captures_test {

using namespace tovik_test;

constexpr int kPatternX = 360, kPatternY = 260, kPatternW = 240, kPatternH = 180;

class CaptureCommands : public RealProgram {
protected:
    void SetUp() override {
        RealProgram::SetUp();
        WriteSetting(L"Capture", L"DelayTime", L"1000");
        pattern_ = std::make_unique<PatternWindow>(kPatternX, kPatternY, kPatternW, kPatternH);
        ASSERT_TRUE(pattern_->WaitUntilOnScreen());
        ASSERT_TRUE(tovik_.Start());
        PutMarkerOnClipboard();
    }
    void TearDown() override {
        // A failed drag must not leave a button down for the next test.
        const std::pair<MouseButton, int> buttons[] = {
            {MouseButton::Left, VK_LBUTTON}, {MouseButton::Right, VK_RBUTTON}, {MouseButton::Middle, VK_MBUTTON}};
        for (auto [button, key] : buttons)
            if (GetAsyncKeyState(key) & 0x8000) ReleaseMouse(button);
        RealProgram::TearDown();
        pattern_.reset();
    }

    HWND Overlay() const { return tovik_.FindTopLevel(TOVIK_CLASS_DESKTOP); }

    // Runs the rectangle command and waits until the overlay covers the
    // screen and takes input: it is shown, it is the window under the
    // pointer's places, and its thread is back in its message loop.
    HWND StartRectangle() {
        tovik_.Command(ID_mnuRectangle);
        return WaitForOverlay();
    }
    HWND WaitForOverlay() {
        HWND overlay = nullptr;
        const POINT middle{kPatternX + kPatternW / 2, kPatternY + kPatternH / 2};
        WaitUntil([&] {
            DWORD_PTR ignored = 0;
            return (overlay = Overlay()) != nullptr && WindowFromPoint(middle) == overlay &&
                   SendMessageTimeoutW(overlay, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &ignored);
        });
        return overlay;
    }

    // Runs a capture command and waits for its end without touching the
    // clipboard meanwhile: a capture leaves the clipboard alone while
    // another program holds it open, and this test reads it.
    void RunCommandToTheEnd(int command) {
        if (command == ID_mnuDesktop || command == ID_mnuWindow) {
            EXPECT_TRUE(tovik_.CommandAndWait(command));   // these return only when their capture is done
        } else {
            tovik_.Command(command);
            EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(Main()); }, 5000));
        }
        EXPECT_TRUE(WaitForMainWindow());
    }

    // Waits until the command is over: the overlay off the screen, the main
    // window back. (A selection's overlay is destroyed just after the main
    // window returns.)
    bool WaitForMainWindow(int timeoutMs = 10000) {
        return WaitUntil([&] { return IsWindowVisible(Main()) && !Overlay(); }, timeoutMs);
    }

    // Brings the pattern window, a window of another program than Tovik, to the front.
    bool PatternInFront() const { return BringToFront(pattern_->hwnd()); }

    // Presses a default hotkey (its modifiers with PrintScreen) and waits
    // until its capture has put a new picture on the clipboard and the main
    // window is back, or was never away.
    std::optional<Pixels> CaptureByHotkey(std::initializer_list<WORD> modifiers) {
        const DWORD sequence = GetClipboardSequenceNumber();
        TypeKey(modifiers, VK_SNAPSHOT);
        if (!WaitUntil([&] { return NewBitmapOnClipboard(sequence) && IsWindowVisible(Main()); })) return {};
        return ReadClipboardBitmap();
    }

    std::wstring SizeCaption() const {
        HWND box = tovik_.FindTopLevel(TOVIK_CLASS_SIZE);
        return box ? TextOf(FindChild(box, L"Static")) : L"";
    }

    // Moves the pointer during a drag from `start` and waits until the size
    // box shows the new size: the overlay has taken the move.
    void DragTo(POINT start, POINT to) {
        ASSERT_TRUE(MoveMouseTo(to.x, to.y));
        const std::wstring expected =
            std::to_wstring(std::abs(to.x - start.x)) + L" \u00D7 " + std::to_wstring(std::abs(to.y - start.y));
        std::wstring shown;
        EXPECT_TRUE(WaitUntil([&] { return (shown = SizeCaption()) == expected; }))
            << "size box shows " << testing::PrintToString(shown) << ", not " << testing::PrintToString(expected);
    }

    // Presses the button and waits until the overlay has taken the press
    // (it holds the mouse capture), so the press is read where it happened.
    // Nothing after a lost press can pass: it fails at once.
    void PressOnOverlay(MouseButton button) {
        PressMouse(button);
        ASSERT_TRUE(WaitUntil([&] {
            const HWND capture = MouseCaptureIn(Main());
            return capture && capture == Overlay();
        }, 5000)) << "the overlay did not take the press";
    }

    // Presses the button at `from`, moves over `moves` and releases at `release`.
    void Drag(MouseButton button, POINT from, const std::vector<POINT>& moves, POINT release) {
        ASSERT_TRUE(MoveMouseTo(from.x, from.y));
        PressOnOverlay(button);
        if (HasFatalFailure()) return;
        for (const POINT& p : moves) DragTo(from, p);
        DragTo(from, release);
        ReleaseMouse(button);
    }

    RECT VisibleView() const { return VisibleViewOf(Main()); }

    // The top-left w x h pixels of the view once it shows the picture that
    // is on the clipboard (the main window repaints a moment after it returns).
    Pixels ViewShowingTheClipboard(int w, int h) {
        const RECT view = VisibleView();
        const RECT part{view.left, view.top, view.left + w, view.top + h};
        const auto clip = ReadClipboardBitmap();
        Pixels shown;
        EXPECT_TRUE(clip && WaitUntil([&] {
            shown = ReadScreen(part);
            return Mismatches(shown, 0, 0, w, h, [&](int x, int y) { return clip->At(x, y); }) == 0;
        })) << "the view does not show the picture on the clipboard";
        return shown;
    }

    // Checks a picture that must be exactly w x h pixels of the pattern from
    // (fromX, fromY) of the window: a rectangle's or the window's capture.
    static void ExpectPattern(const std::optional<Pixels>& got, int fromX, int fromY, int w, int h, const char* what) {
        ASSERT_TRUE(got) << what;
        EXPECT_EQ(got->width, w) << what;
        EXPECT_EQ(got->height, h) << what;
        if (got->width != w || got->height != h) return;
        EXPECT_EQ(PatternMismatches(*got, 0, 0, fromX, fromY, w, h, what), 0);
    }
    // Checks a picture of the whole screen, the pattern window at its place in it.
    static void ExpectDesktop(const std::optional<Pixels>& got, const char* what) {
        const RECT screen = OuterRect(GetDesktopWindow());
        ASSERT_TRUE(got) << what;
        EXPECT_EQ(got->width, screen.right - screen.left) << what;
        EXPECT_EQ(got->height, screen.bottom - screen.top) << what;
        if (got->width != screen.right || got->height != screen.bottom) return;
        EXPECT_EQ(PatternMismatches(*got, kPatternX, kPatternY, 0, 0, kPatternW, kPatternH, what), 0);
    }

    // Checks a rectangle capture of the pattern from (fromX, fromY) of the window, w x h:
    // the clipboard holds exactly it and the view shows it.
    void ExpectPatternCaptured(int fromX, int fromY, int w, int h) {
        const auto clip = ReadClipboardBitmap();
        ASSERT_NO_FATAL_FAILURE(ExpectPattern(clip, fromX, fromY, w, h, "clipboard"));
        if (clip->width != w || clip->height != h) return;
        const RECT view = VisibleView();
        const int vw = std::min<int>(w, view.right - view.left), vh = std::min<int>(h, view.bottom - view.top);
        ASSERT_GT(vw, 0);
        ASSERT_GT(vh, 0);
        EXPECT_TRUE(WaitUntil([&] {
            const Pixels shown = ReadScreen({view.left, view.top, view.left + vw, view.top + vh});
            return PatternMismatches(shown, 0, 0, fromX, fromY, vw, vh) == 0;
        })) << "the view does not show the captured pixels";
    }

    std::unique_ptr<PatternWindow> pattern_;
};


// The pointer option draws the arrow picture over the pattern, its top-left
// corner 3 and 5 pixels left of and above the pointer, only into delayed captures.
class PointerInCaptures : public CaptureCommands {
protected:
    static constexpr int kBox = 32;

    // Where the pointer rests, and the screen position of the pattern window under it.
    POINT pointer_{kPatternX + 100, kPatternY + 70};
    POINT patternOrigin_{kPatternX, kPatternY};
    int BoxX() const { return pointer_.x - 3; }
    int BoxY() const { return pointer_.y - 5; }

    // The pattern in the 32 x 32 pixels where the arrow picture goes.
    Pixels PatternAroundPointer() const {
        Pixels p;
        p.width = p.height = kBox;
        for (int y = 0; y < kBox; ++y)
            for (int x = 0; x < kBox; ++x)
                p.data.push_back(PatternWindow::PatternAt(BoxX() - patternOrigin_.x + x, BoxY() - patternOrigin_.y + y));
        return p;
    }

    // Checks the arrow against its own description, in the picture's
    // coordinates: a white arrow with a black one-pixel outline, tip at
    // (2, 4), within columns 2 to 16 and rows 4 to 28, and the pattern
    // showing through everywhere else.
    void ExpectArrow(const Pixels& got) const {
        const Pixels plain = PatternAroundPointer();
        constexpr std::uint32_t kBlack = 0x000000, kWhite = 0xFFFFFF;
        const struct { int x, y; std::uint32_t colour; } samples[] = {
            {2, 4, kBlack},  {2, 9, kBlack},  {7, 9, kBlack},   {2, 14, kBlack}, {12, 14, kBlack},   // outline
            {3, 6, kWhite},  {4, 9, kWhite},  {7, 14, kWhite},  {5, 18, kWhite},                     // body
        };
        for (const auto& s : samples)
            EXPECT_EQ(got.At(s.x, s.y), s.colour) << "arrow pixel " << s.x << "," << s.y;
        // Beside the outline the pattern shows: left of the tip, right of the slanted edge.
        for (const POINT p : {POINT{1, 4}, POINT{3, 4}, POINT{8, 7}, POINT{1, 12}, POINT{15, 10}})
            EXPECT_EQ(got.At(p.x, p.y), plain.At(p.x, p.y)) << "beside the arrow " << p.x << "," << p.y;
        int outside = 0;
        for (int y = 0; y < kBox; ++y)
            for (int x = 0; x < kBox; ++x)
                if ((x < 2 || x > 16 || y < 4 || y > 28) && got.At(x, y) != plain.At(x, y)) ++outside;
        EXPECT_EQ(outside, 0) << "pixels changed outside the arrow's box";
    }

    // Runs the command with the pointer resting over the pattern and
    // returns the 32 x 32 pixels of the capture where the arrow would be.
    Pixels CaptureAroundPointer(int command) {
        if (!MoveMouseTo(pointer_.x, pointer_.y)) {
            ADD_FAILURE() << "the pointer did not reach the pattern";
            return {};
        }
        PutMarkerOnClipboard();
        RunCommandToTheEnd(command);
        const auto clip = ReadClipboardBitmap();
        if (!clip) return {};
        if (clip->width < BoxX() + kBox || clip->height < BoxY() + kBox) return {};
        Pixels box;
        box.width = box.height = kBox;
        for (int y = 0; y < kBox; ++y)
            for (int x = 0; x < kBox; ++x) box.data.push_back(clip->At(BoxX() + x, BoxY() + y));
        return box;
    }

    void TurnPointerOptionOn() { tovik_.Command(ID_mnuOptionMouseCapt); }
};

}  // namespace captures_test
