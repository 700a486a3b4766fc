// The real Tovik.exe driven from outside: the rectangle selection with real
// mouse input, the desktop and active-window captures and the delayed
// captures, checked on the clipboard and on the screen.
#include "captures_fixture.h"

namespace {

using namespace tovik_test;
using namespace captures_test;

TEST_F(CaptureCommands, RectangleDraggedWithTheMouseIsCapturedExactlyToTheReleasePoint) {
    HWND overlay = StartRectangle();
    ASSERT_TRUE(overlay);
    EXPECT_FALSE(IsWindowVisible(Main()));
    const RECT screen = OuterRect(GetDesktopWindow());
    EXPECT_EQ(OuterRect(overlay).right, screen.right);
    EXPECT_EQ(OuterRect(overlay).bottom, screen.bottom);

    const POINT start{kPatternX + 20, kPatternY + 15};
    ASSERT_TRUE(MoveMouseTo(start.x, start.y));
    ASSERT_NO_FATAL_FAILURE(PressOnOverlay(MouseButton::Left));
    for (POINT p : {POINT{kPatternX + 60, kPatternY + 40}, POINT{kPatternX + 200, kPatternY + 150},
                    POINT{kPatternX + 140, kPatternY + 90}})
        DragTo(start, p);
    // The box sits 10 px right of and below the pointer, and the band is the
    // pattern inverted.
    HWND box = tovik_.FindTopLevel(TOVIK_CLASS_SIZE);
    ASSERT_TRUE(box);
    EXPECT_EQ(OuterRect(box).left, kPatternX + 150);
    EXPECT_EQ(OuterRect(box).top, kPatternY + 100);
    EXPECT_TRUE(WaitUntil([&] {
        const Pixels edge = ReadScreen({start.x, start.y, start.x + 121, start.y + 1});
        for (int x = 0; x <= 120; ++x)
            if (edge.At(x, 0) != (PatternWindow::PatternAt(20 + x, 15) ^ 0xFFFFFF)) return false;
        return true;
    })) << "the band's top edge is not the inverted pattern";

    // Released away from where the band was before.
    DragTo(start, {kPatternX + 170, kPatternY + 135});
    ReleaseMouse(MouseButton::Left);
    ASSERT_TRUE(WaitForMainWindow());
    // The main window returns first, then the overlay goes.
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(overlay); })) << "the overlay is unloaded, not hidden";
    EXPECT_FALSE(IsWindowVisible(tovik_.FindTopLevel(TOVIK_CLASS_SIZE)));
    ExpectPatternCaptured(20, 15, 150, 120);
}

// Drags in any direction and with any button select alike: the capture is
// the pattern between the press and the release, in the pattern's own
// coordinates.
struct DragCase {
    const char* name;
    MouseButton button;
    POINT from;
    std::vector<POINT> moves;
    POINT release;
};
void PrintTo(const DragCase& d, std::ostream* out) { *out << d.name; }
class Drags : public CaptureCommands, public ::testing::WithParamInterface<DragCase> {};

TEST_P(Drags, CaptureTheRectangleBetweenPressAndRelease) {
    const DragCase& d = GetParam();
    auto onScreen = [](POINT p) { return POINT{kPatternX + p.x, kPatternY + p.y}; };
    std::vector<POINT> moves;
    for (POINT p : d.moves) moves.push_back(onScreen(p));
    ASSERT_TRUE(StartRectangle());
    ASSERT_NO_FATAL_FAILURE(Drag(d.button, onScreen(d.from), moves, onScreen(d.release)));
    ASSERT_TRUE(WaitForMainWindow());
    ExpectPatternCaptured(std::min(d.from.x, d.release.x), std::min(d.from.y, d.release.y),
                          std::abs(d.release.x - d.from.x), std::abs(d.release.y - d.from.y));
}

INSTANTIATE_TEST_SUITE_P(CaptureCommands, Drags, ::testing::Values(
    DragCase{"UpAndLeft", MouseButton::Left, {170, 135}, {{100, 90}, {30, 20}}, {20, 15}},
    DragCase{"RightButton", MouseButton::Right, {5, 6}, {{50, 50}}, {5 + 77, 6 + 33}},
    DragCase{"MiddleButton", MouseButton::Middle, {5, 6}, {{50, 50}}, {5 + 77, 6 + 33}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CaptureCommands, PressAndReleaseWithoutMovingGivesAnEmptyCaptureAndTheMainWindowReturns) {
    ASSERT_TRUE(StartRectangle());
    ASSERT_TRUE(MoveMouseTo(kPatternX + 50, kPatternY + 50));
    PressMouse(MouseButton::Left);
    ReleaseMouse(MouseButton::Left);
    ASSERT_TRUE(WaitForMainWindow());
    EXPECT_FALSE(IsWindowVisible(tovik_.FindTopLevel(TOVIK_CLASS_SIZE)));
    const auto clip = ReadClipboardBitmap();
    ASSERT_TRUE(clip);
    EXPECT_FALSE(clip->width == 3 && clip->height == 2) << "the marker is still on the clipboard";
    EXPECT_LE(clip->width, 1);
    EXPECT_LE(clip->height, 1);
}

TEST_F(CaptureCommands, EachSelectionStartsWithAFreshOverlay) {
    HWND first = StartRectangle();
    ASSERT_TRUE(first);
    ASSERT_NO_FATAL_FAILURE(Drag(MouseButton::Left, {kPatternX + 10, kPatternY + 10},
                                 {{kPatternX + 40, kPatternY + 30}}, {kPatternX + 41, kPatternY + 31}));
    ASSERT_TRUE(WaitForMainWindow());
    HWND second = StartRectangle();
    ASSERT_TRUE(second);
    EXPECT_NE(second, first);
    EXPECT_FALSE(IsWindow(first));
    ASSERT_NO_FATAL_FAILURE(Drag(MouseButton::Left, {kPatternX + 100, kPatternY + 60},
                                 {{kPatternX + 110, kPatternY + 70}}, {kPatternX + 130, kPatternY + 90}));
    ASSERT_TRUE(WaitForMainWindow());
    ExpectPatternCaptured(100, 60, 30, 30);
}

// Chosen from the menu while Windows still fades out the clicked item (a
// window of its own above everything): the capture waits until it is gone,
// so the picture holds what lies under it.
TEST_F(CaptureCommands, DesktopCaptureHoldsTheWholeScreenWithoutTheFadingMenuItem) {
    const RECT item{kPatternX + 20, kPatternY + 30, kPatternX + 180, kPatternY + 52};
    auto fading = std::make_unique<LayeredWindow>(item, 0xFF00FF00, kMenuFadeClass);
    const auto shows = [&](std::uint32_t colour) {
        return WaitUntil([&] { return ReadScreen(item).At(0, 0) == colour; });
    };
    ASSERT_TRUE(shows(Rgb(0, 0xFF, 0)));
    const DWORD sequence = GetClipboardSequenceNumber();
    tovik_.Command(ID_mnuDesktop);   // as the menu sends it
    WaitUntil([] { return false; }, 200);
    // The fade's end: transparent, then gone once the screen shows what lies under it.
    fading->SetColour(0);
    ASSERT_TRUE(shows(PatternWindow::PatternAt(20, 30)));
    fading.reset();
    ASSERT_TRUE(WaitUntil([&] { return NewBitmapOnClipboard(sequence); })) << "no capture";
    ASSERT_TRUE(WaitForMainWindow());
    ExpectDesktop(ReadClipboardBitmap(), "desktop");
}

TEST_F(CaptureCommands, ActiveWindowCaptureTakesTheForegroundWindowsRectangle) {
    ASSERT_TRUE(PatternInFront());
    tovik_.Command(ID_mnuWindow);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(Main()); }));
    ASSERT_TRUE(WaitForMainWindow());
    ExpectPattern(ReadClipboardBitmap(), 0, 0, kPatternW, kPatternH, "window");
}

TEST_F(CaptureCommands, DelayedActiveCaptureTakesTheWindowBroughtForwardDuringTheDelay) {
    // A delay long enough that bringing the window forward, however slow
    // the machine, is done well before it ends.
    ASSERT_TRUE(tovik_.CloseAndWait());
    WriteSetting(L"Capture", L"DelayTime", L"4000");
    ASSERT_TRUE(tovik_.Start());
    const ULONGLONG start = GetTickCount64();
    tovik_.Command(ID_mnuDelayActive);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(Main()); }));
    PatternWindow later(80, 420, 170, 130);
    ASSERT_TRUE(later.WaitUntilOnScreen());
    // The main window's hiding hands the activation on a moment later; the
    // new window must be the foreground one once that is done.
    ASSERT_TRUE(WaitUntil([&] {
        if (GetForegroundWindow() != later.hwnd()) SetForegroundWindow(later.hwnd());
        return !WaitUntil([&] { return GetForegroundWindow() != later.hwnd(); }, 200);
    }, 3000));
    ASSERT_LT(GetTickCount64() - start, 4000u) << "the window came forward only after the delay";
    ASSERT_TRUE(WaitForMainWindow());
    const ULONGLONG took = GetTickCount64() - start;
    std::printf("[ figures  ] delayed active capture: main window back after %llu ms (DelayTime 4000)\n", took);
    EXPECT_GE(took, 4000u);
    const auto clip = ReadClipboardBitmap();
    ASSERT_TRUE(clip);
    EXPECT_EQ(clip->width, 170);
    EXPECT_EQ(clip->height, 130);
}

// Shortcuts belong to the main window alone: typed while the overlay is up
// they neither capture nor arm a delayed capture that would fire later.
TEST_F(CaptureCommands, ShortcutsTypedOnTheOverlayDoNothing) {
    HWND overlay = StartRectangle();
    ASSERT_TRUE(overlay);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == overlay; }));
    TypeKey(VK_CONTROL, 'T');
    TypeKey(VK_CONTROL, 'D');
    TypeKey(VK_CONTROL, 'R');
    TypeKey(0, VK_RETURN);   // only Esc acts on the overlay
    TypeKey(0, VK_SPACE);
    EXPECT_FALSE(WaitUntil([&] { return IsWindowVisible(Main()) || !IsWindow(overlay); }, 1500))
        << "a shortcut ran a command behind the overlay";
    EXPECT_TRUE(MarkerOnClipboard()) << "a shortcut replaced the clipboard";

    ASSERT_NO_FATAL_FAILURE(Drag(MouseButton::Left, {kPatternX + 10, kPatternY + 10},
                                 {{kPatternX + 40, kPatternY + 30}}, {kPatternX + 50, kPatternY + 40}));
    ASSERT_TRUE(WaitForMainWindow());
    // A delayed capture armed by Ctrl+D would hide the main window within
    // its delay (1000 ms) and replace the clipboard with the desktop.
    EXPECT_FALSE(WaitUntil([&] { return !IsWindowVisible(Main()); }, 2500));
    ExpectPatternCaptured(10, 10, 40, 30);
}

// Esc before the press and during a drag: the overlay goes, the main window
// returns with its picture, and the clipboard keeps what it had.
TEST_F(CaptureCommands, EscTakesBackASelectionBeforeAndDuringTheDrag) {
    HWND first = StartRectangle();
    ASSERT_TRUE(first);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == first; }));
    ASSERT_NO_FATAL_FAILURE(Drag(MouseButton::Left, {kPatternX + 10, kPatternY + 10},
                                 {{kPatternX + 40, kPatternY + 30}}, {kPatternX + 50, kPatternY + 40}));
    ASSERT_TRUE(WaitForMainWindow());
    const RECT view = VisibleView();
    const RECT shownPart{view.left, view.top, view.left + 40, view.top + 30};
    const Pixels before = ViewShowingTheClipboard(40, 30);
    PutMarkerOnClipboard();

    for (const bool dragging : {false, true}) {
        HWND overlay = StartRectangle();
        ASSERT_TRUE(overlay);
        ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == overlay; }));
        const POINT start{kPatternX + 100, kPatternY + 60};
        if (dragging) {
            ASSERT_TRUE(MoveMouseTo(start.x, start.y));
            ASSERT_NO_FATAL_FAILURE(PressOnOverlay(MouseButton::Left));
            DragTo(start, {kPatternX + 150, kPatternY + 90});
        }
        TypeKey(0, VK_ESCAPE);
        ASSERT_TRUE(WaitForMainWindow()) << (dragging ? "during" : "before") << " the drag";
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(overlay); }));
        EXPECT_FALSE(IsWindowVisible(tovik_.FindTopLevel(TOVIK_CLASS_SIZE)));
        EXPECT_FALSE(MouseCaptureIn(Main())) << "the mouse is still captured";
        ASSERT_TRUE(MoveMouseTo(start.x + 1, start.y + 1));
        EXPECT_TRUE(WaitUntil([&] {
            CURSORINFO cursor{};
            cursor.cbSize = sizeof cursor;
            return GetCursorInfo(&cursor) && cursor.hCursor != LoadCursorW(nullptr, IDC_CROSS);
        })) << "still the crosshair";
        if (dragging) ReleaseMouse(MouseButton::Left);   // ends no selection now
        EXPECT_FALSE(WaitUntil([&] { return Overlay() != nullptr || !IsWindowVisible(Main()); }, 500));
        EXPECT_TRUE(MarkerOnClipboard()) << "the clipboard was replaced";
        EXPECT_TRUE(WaitUntil([&] { return ReadScreen(shownPart).data == before.data; }))
            << "the view no longer shows the picture";
    }
}

// A window of another program that notes every key that reaches it.
class KeyNotingWindow {
public:
    KeyNotingWindow(int x, int y)
        : window_(MakeWindow(L"TovikTestKeys", 0, WS_OVERLAPPEDWINDOW | WS_VISIBLE, {x, y, x + 160, y + 100},
                             &Procedure, 0, L"keys")) {
        SetWindowLongPtrW(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    HWND hwnd() const { return window_.get(); }
    // "down 0x1B", "up 0x52", "char 0x1B"..., in order.
    std::vector<std::string> Keys() const { return keys_; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<KeyNotingWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        const char* kind = message == WM_KEYDOWN || message == WM_SYSKEYDOWN ? "down"
                           : message == WM_KEYUP || message == WM_SYSKEYUP ? "up"
                           : message == WM_CHAR                            ? "char"
                                                                           : nullptr;
        if (self && kind) {
            char text[32];
            std::snprintf(text, sizeof text, "%s 0x%02X", kind, static_cast<unsigned>(wParam));
            self->keys_.push_back(text);
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
    OwnWindow window_;
    std::vector<std::string> keys_;
};

// Windows may hand the keyboard to another program once the main window
// hides (its foreground lock refuses the overlay the activation): the keys
// let go after Ctrl+R stay with Tovik, Esc takes the selection back even
// with another program's window in front and never reaches it, and the main
// window comes back to the front.
TEST_F(CaptureCommands, EscTakesBackTheSelectionWhicheverProgramHasTheKeyboard) {
    ASSERT_TRUE(tovik_.CommandAndWait(ID_mnuDesktop));
    ASSERT_TRUE(WaitForMainWindow());
    const RECT view = VisibleView();
    const RECT shownPart{view.left, view.top, view.left + 40, view.top + 30};
    const Pixels before = ViewShowingTheClipboard(40, 30);
    PutMarkerOnClipboard();
    // Right behind the main window: the window Windows activates when the
    // main window hides while it is the active one.
    KeyNotingWindow other(40, 560);
    SetForegroundWindow(Main());
    // In front, and the keyboard focus taken inside the program (its thread
    // does that a moment later): only then do typed keys reach it.
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == Main() && FocusIn(Main()) == Main(); }));

    PressKey(VK_CONTROL);
    PressKey('R');
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(Main()); }));
    ReleaseKey('R');
    ReleaseKey(VK_CONTROL);
    HWND overlay = WaitForOverlay();
    ASSERT_TRUE(overlay);
    EXPECT_TRUE(other.Keys().empty()) << "the keys let go after Ctrl+R reached another program: "
                                      << testing::PrintToString(other.Keys());

    ASSERT_TRUE(BringToFront(other.hwnd()));
    const size_t noted = other.Keys().size();
    TypeKey(0, VK_ESCAPE);
    ASSERT_TRUE(WaitForMainWindow()) << "Esc did not take the selection back";
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(overlay); }));
    const std::vector<std::string> keys = other.Keys();
    for (size_t i = noted; i < keys.size(); ++i)   // letting go of a key acts nowhere
        EXPECT_EQ(keys[i], "up 0x1B") << "Esc reached the other program";
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == Main(); })) << "the main window is not in front";
    EXPECT_TRUE(MarkerOnClipboard()) << "the clipboard was replaced";
    EXPECT_TRUE(WaitUntil([&] { return ReadScreen(shownPart).data == before.data; }))
        << "the view no longer shows the picture";
}

// The default hotkeys pressed in another program, Tovik's main window
// behind it: each runs its capture, and that program keeps the keyboard, or
// gets it back from the rectangle's overlay; the main window shows the new
// picture without coming to the front.
TEST_F(CaptureCommands, HotkeysPressedInAnotherProgramCaptureAndLeaveItTheKeyboard) {
    ASSERT_TRUE(PatternInFront());
    ASSERT_NO_FATAL_FAILURE(ExpectDesktop(CaptureByHotkey({VK_CONTROL, VK_SHIFT}), "Ctrl+Shift+PrintScreen"));
    EXPECT_EQ(GetForegroundWindow(), pattern_->hwnd());
    ASSERT_NO_FATAL_FAILURE(
        ExpectPattern(CaptureByHotkey({VK_CONTROL, VK_MENU}), 0, 0, kPatternW, kPatternH, "Ctrl+Alt+PrintScreen"));
    EXPECT_EQ(GetForegroundWindow(), pattern_->hwnd());

    TypeKey({VK_CONTROL}, VK_SNAPSHOT);
    HWND overlay = WaitForOverlay();
    ASSERT_TRUE(overlay) << "Ctrl+PrintScreen: no overlay";
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == overlay; })) << "the overlay has not the keyboard";
    ASSERT_NO_FATAL_FAILURE(Drag(MouseButton::Left, {kPatternX + 30, kPatternY + 20},
                                 {{kPatternX + 90, kPatternY + 60}}, {kPatternX + 130, kPatternY + 95}));
    ASSERT_TRUE(WaitForMainWindow());
    ExpectPatternCaptured(30, 20, 100, 75);
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == pattern_->hwnd(); }))
        << "the keyboard did not go back to the program the hotkey was pressed in";
}

// Minimised, Tovik is not on the screen: a hotkey's capture leaves it
// minimised, and its picture and the clipboard hold the capture.
TEST_F(CaptureCommands, AMinimisedTovikStaysMinimisedThroughHotkeyCaptures) {
    ShowWindow(Main(), SW_MINIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(Main()) != FALSE; }));
    ASSERT_TRUE(PatternInFront());

    const DWORD sequence = GetClipboardSequenceNumber();
    TypeKey({VK_CONTROL}, VK_SNAPSHOT);
    HWND overlay = WaitForOverlay();
    ASSERT_TRUE(overlay) << "Ctrl+PrintScreen: no overlay";
    ASSERT_NO_FATAL_FAILURE(Drag(MouseButton::Left, {kPatternX + 10, kPatternY + 12},
                                 {{kPatternX + 40, kPatternY + 40}}, {kPatternX + 70, kPatternY + 52}));
    ASSERT_TRUE(WaitUntil([&] { return NewBitmapOnClipboard(sequence) && !IsWindow(overlay); }));
    ExpectPattern(ReadClipboardBitmap(), 10, 12, 60, 40, "rectangle");
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == pattern_->hwnd(); }));
    EXPECT_TRUE(IsIconic(Main()));

    ASSERT_TRUE(CaptureByHotkey({VK_CONTROL, VK_SHIFT})) << "Ctrl+Shift+PrintScreen: no capture";
    EXPECT_TRUE(IsIconic(Main()));
    EXPECT_EQ(GetForegroundWindow(), pattern_->hwnd());
    // Its picture is the capture: restored, the main window shows it.
    ShowWindow(Main(), SW_RESTORE);
    ViewShowingTheClipboard(40, 30);
}

TEST_F(PointerInCaptures, DelayedCaptureWithTheOptionOnShowsTheArrowAtThePointer) {
    TurnPointerOptionOn();
    const ULONGLONG start = GetTickCount64();
    const Pixels got = CaptureAroundPointer(ID_mnuDelayDesktop);
    std::printf("[ figures  ] delayed desktop capture with the pointer: back after %llu ms (DelayTime 1000)\n",
                GetTickCount64() - start);
    ASSERT_EQ(got.data.size(), static_cast<size_t>(kBox * kBox))
        << "no capture; Tovik " << (tovik_.IsRunning() ? "still runs" : "has ended");
    ExpectArrow(got);
}

TEST_F(PointerInCaptures, WithTheOptionOffOrForAnImmediateCaptureNoArrowIsDrawn) {
    const Pixels plain = PatternAroundPointer();
    const Pixels delayedOff = CaptureAroundPointer(ID_mnuDelayDesktop);
    ASSERT_EQ(delayedOff.data.size(), static_cast<size_t>(kBox * kBox));
    EXPECT_EQ(delayedOff.data, plain.data) << "delayed capture, option off";

    TurnPointerOptionOn();
    const Pixels immediateOn = CaptureAroundPointer(ID_mnuDesktop);
    ASSERT_EQ(immediateOn.data.size(), static_cast<size_t>(kBox * kBox));
    EXPECT_EQ(immediateOn.data, plain.data) << "immediate capture, option on";
}

}  // namespace

namespace {

// 500 desktop captures in a row: the real program's GDI objects (read from
// its GDI handle table, since Wine's GetGuiResources answers 0) and windows
// stay where they were.
TEST_F(CaptureCommands, FiveHundredDesktopCapturesLeaveTheProgramsResourcesAsTheyWere) {
    const DWORD pid = tovik_.ProcessId();
    for (int i = 0; i < 10; ++i) RunCommandToTheEnd(ID_mnuDesktop);   // caches settle
    const unsigned gdiBefore = GdiObjectCountOf(pid);
    const unsigned windowsBefore = WindowCountOf(pid);
    ASSERT_GT(gdiBefore, 0u) << "the program's GDI handle table cannot be read";
    const ULONGLONG start = GetTickCount64();
    for (int i = 0; i < 500; ++i) ASSERT_TRUE(tovik_.CommandAndWait(ID_mnuDesktop));
    const unsigned gdiAfter = GdiObjectCountOf(pid);
    const unsigned windowsAfter = WindowCountOf(pid);
    std::printf("[ figures  ] 500 desktop captures in %llu ms; GDI objects %u -> %u, windows %u -> %u\n",
                GetTickCount64() - start, gdiBefore, gdiAfter, windowsBefore, windowsAfter);
    // Between two reads the program may still hold a paint's or the
    // clipboard's passing objects, a few either way; a leak of even one
    // object a capture would show as hundreds.
    EXPECT_LE(gdiAfter, gdiBefore + 4);
    EXPECT_EQ(windowsAfter, windowsBefore);
}

}  // namespace
