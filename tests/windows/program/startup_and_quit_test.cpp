// The real Tovik.exe: start-up from the settings store, shutdown writing it back,
// the window's controls and the gray view.
#include "support/Dialogs.h"
#include "support/Driver.h"
#include "support/MessageBoxes.h"
#include "support/Mouse.h"
#include "support/RealProgram.h"
#include "support/Windows.h"

#include "resources/resource.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <climits>

namespace {

using namespace tovik_test;

using MainWindow = RealProgram;

// The window's place and size the store gets when the window has none to keep.
const std::vector<StoredText> kDefaultGeometry{{L"Startup", L"Top", L"0"}, {L"Startup", L"Left", L"0"},
                                               {L"Startup", L"Width", L"4500"}, {L"Startup", L"Height", L"3000"}};

TEST_F(MainWindow, FirstRunOpensAtTheCornerWithDefaultSizeAndQuitWritesEveryKey) {
    ASSERT_TRUE(tovik_.Start());
    HWND main = Main();
    wchar_t caption[32] = {};
    GetWindowTextW(main, caption, 32);
    EXPECT_STREQ(caption, L"Tovik");
    const RECT r = OuterRect(main);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right - r.left, TwipsToPixels(4500));
    EXPECT_EQ(r.bottom - r.top, TwipsToPixels(3000));
    EXPECT_TRUE(GetMenu(main) != nullptr);

    HWND toolbar = FindChild(main, TOOLBARCLASSNAMEW, IsShown);
    ASSERT_TRUE(toolbar);
    EXPECT_EQ(SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0), 13);

    ASSERT_TRUE(tovik_.CloseAndWait());
    ExpectStored(kDefaultGeometry);
    ExpectStored({{L"Capture", L"DelayTime", L"2000"}, {L"Capture", L"EditerName", L"Pbrush.exe"},
                  {L"Startup", L"InitDir", DistFolder()}, {L"Startup", L"TransClipboard", L"1"},
                  {L"Startup", L"TrayIcon", L"0"}, {L"Startup", L"MRU  1", L"-"},
                  {L"Hotkeys", L"Rectangle", L"Ctrl+PrintScreen"},
                  {L"Hotkeys", L"ActiveWindow", L"Ctrl+Alt+PrintScreen"},
                  {L"Hotkeys", L"Desktop", L"Ctrl+Shift+PrintScreen"}, {L"Hotkeys", L"DelayActiveWindow", L""},
                  {L"Hotkeys", L"DelayDesktop", L""}});
}

// A hotkey another program holds when Tovik starts: one message names it
// with its command, the other hotkeys work, and the next start with the
// same holder says nothing.
TEST_F(MainWindow, AHotkeyHeldByAnotherProgramIsNamedOnceAndTheOthersWork) {
    ASSERT_TRUE(RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_SHIFT, VK_SNAPSHOT)) << "the desktop's key is held";
    struct Holder {
        ~Holder() { UnregisterHotKey(nullptr, 1); }
    } holder;
    ASSERT_TRUE(tovik_.Start());
    {
        MessageBoxes boxes(tovik_.ProcessId());
        ASSERT_TRUE(boxes.WaitForCount(1));
        EXPECT_EQ(boxes.Seen()[0],
                  (SeenMessage{L"ﾎｯﾄｷｰ", L"次のホットキーはほかのプログラムか Windows が使っているため、使えません。\n\n"
                                         L"ﾃﾞｽｸﾄｯﾌﾟ: Ctrl+Shift+PrintScreen\n\n"
                                         L"そのほかのホットキーは使えます。別のキーは ｵﾌﾟｼｮﾝ → 設定 で指定できます。"}));
        ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(Main()) != FALSE; }));
        const DWORD sequence = GetClipboardSequenceNumber();
        TypeKey({VK_CONTROL, VK_MENU}, VK_SNAPSHOT);
        EXPECT_TRUE(WaitUntil([&] { return NewBitmapOnClipboard(sequence) && IsWindowVisible(Main()); }))
            << "Ctrl+Alt+PrintScreen took no capture";
        ASSERT_TRUE(tovik_.CloseAndWait());
        EXPECT_EQ(boxes.Seen().size(), 1u);
    }
    ASSERT_TRUE(tovik_.Start());
    MessageBoxes boxes(tovik_.ProcessId());
    // Had the program a message to show, it would be up already: the start
    // waits until the program first waits for input, and the message comes
    // before anything else it does.
    EXPECT_FALSE(boxes.WaitForCount(1, 1000)) << "the same holder was named again";
}

TEST_F(MainWindow, QuitWhileMaximizedOrMinimizedStoresTheDefaultGeometry) {
    for (int show : {SW_MAXIMIZE, SW_MINIMIZE}) {
        WriteSetting(L"Startup", L"Top", L"600");
        WriteSetting(L"Startup", L"Left", L"750");
        WriteSetting(L"Startup", L"Width", L"6000");
        WriteSetting(L"Startup", L"Height", L"4500");
        ASSERT_TRUE(tovik_.Start());
        ShowWindow(Main(), show);
        ASSERT_TRUE(WaitUntil([&] {
            return show == SW_MAXIMIZE ? IsZoomed(Main()) : IsIconic(Main());
        }));
        // Without the notification-area option the window keeps its taskbar button.
        EXPECT_FALSE(WaitUntil([&] { return !IsWindowVisible(Main()); }, 500));
        ASSERT_TRUE(tovik_.CloseAndWait());
        ExpectStored(kDefaultGeometry);
    }
}

TEST_F(MainWindow, MovedAndResizedWindowComesBackWhereItWas) {
    ASSERT_TRUE(tovik_.Start());
    SetWindowPos(Main(), nullptr, 50, 40, 420, 310, SWP_NOZORDER);
    ASSERT_TRUE(WaitUntil([&] { return OuterRect(Main()).left == 50; }));
    const RECT before = OuterRect(Main());
    ASSERT_TRUE(tovik_.CloseAndWait());
    EXPECT_EQ(Stored(L"Startup", L"Left"), std::to_wstring(PixelsToTwips(before.left)));
    ASSERT_TRUE(tovik_.Start());
    const RECT after = OuterRect(Main());
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(after.right, before.right);
    EXPECT_EQ(after.bottom, before.bottom);
}

TEST_F(MainWindow, GarbageInTheStoreStartsWithDefaultsAndIsWrittenBackClean) {
    for (const wchar_t* key : {L"Top", L"Left", L"Width", L"Height", L"TransClipboard", L"TrayIcon"})
        WriteSetting(L"Startup", key, L"abc");
    WriteSetting(L"Capture", L"DelayTime", L"12x");
    WriteSetting(L"Hotkeys", L"Desktop", L"Ctrl+Shift+Pause");
    ASSERT_TRUE(tovik_.Start());
    const RECT r = OuterRect(Main());
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right - r.left, TwipsToPixels(4500));
    ASSERT_TRUE(tovik_.CloseAndWait());
    ExpectStored({{L"Startup", L"Width", L"4500"}, {L"Startup", L"TransClipboard", L"1"},
                  {L"Startup", L"TrayIcon", L"0"}, {L"Capture", L"DelayTime", L"2000"},
                  {L"Hotkeys", L"Desktop", L"Ctrl+Shift+PrintScreen"}});
}

// As the shortcut in the Startup folder starts it: minimised, and the
// window the user works in keeps the focus. Restored, the window is where
// it was stored.
TEST_F(MainWindow, StartedMinimisedWithoutTheFocusItStaysSoAndRestoresToItsPlace) {
    WriteSetting(L"Startup", L"Left", L"1500");
    WriteSetting(L"Startup", L"Top", L"750");
    const PatternWindow front(300, 300, 120, 90);
    ASSERT_TRUE(BringToFront(front.hwnd()));
    ASSERT_TRUE(tovik_.StartShown(SW_SHOWMINNOACTIVE));
    ASSERT_TRUE(SendMessageTimeoutW(Main(), WM_NULL, 0, 0, SMTO_NORMAL, 5000, nullptr));   // the start is over
    EXPECT_TRUE(IsIconic(Main()));
    EXPECT_EQ(GetForegroundWindow(), front.hwnd());
    ShowWindow(Main(), SW_RESTORE);
    ASSERT_TRUE(WaitUntil([&] { return !IsIconic(Main()); }));
    EXPECT_EQ(OuterRect(Main()).left, TwipsToPixels(1500));
}

// Minimised with the option on, the window leaves the taskbar (hidden) for
// its icon in the notification area (Wine's shows only while it holds an
// icon, at its right end). The icon's menu closes on a click elsewhere; a
// capture chosen there leaves the window in the notification area, and the
// active window it takes is the one the user worked in; the icon comes back
// when Explorer restarts; Exit ends the program and takes the icon away. A
// click on the icon brings the window back.
TEST_F(MainWindow, WithTheTrayOptionMinimisingGoesToTheIconWhoseMenuCapturesOrExitsAndWhoseClickRestores) {
    WriteSetting(L"Startup", L"TrayIcon", L"1");
    ASSERT_TRUE(tovik_.Start());
    auto iconShown = [] { return IsWindowVisible(FindWindowW(L"Shell_TrayWnd", nullptr)) != FALSE; };
    auto minimise = [&] {
        ShowWindow(Main(), SW_MINIMIZE);
        return WaitUntil([&] { return !IsWindowVisible(Main()) && IsIconic(Main()) && iconShown(); });
    };
    auto clickIcon = [](MouseButton button) {
        const RECT tray = OuterRect(FindWindowW(L"Shell_TrayWnd", nullptr));
        MoveMouseTo(tray.right - 8, (tray.top + tray.bottom) / 2);
        PressMouse(button);
        ReleaseMouse(button);
    };
    auto menuUp = [&] { return FindShownWindowOf(tovik_.ProcessId(), L"#32768") != nullptr; };
    ASSERT_TRUE(minimise());

    clickIcon(MouseButton::Right);
    ASSERT_TRUE(WaitUntil(menuUp));
    MoveMouseTo(500, 300);
    PressMouse(MouseButton::Left);
    ReleaseMouse(MouseButton::Left);
    EXPECT_TRUE(WaitUntil([&] { return !menuUp(); })) << "a click elsewhere left the menu open";

    auto captureFromTheMenu = [&](WORD accessKey, SIZE expected) {
        PutMarkerOnClipboard();
        clickIcon(MouseButton::Right);
        ASSERT_TRUE(WaitUntil(menuUp));
        TypeKey(0, accessKey);
        EXPECT_TRUE(WaitUntil([&] {
            const SIZE size = ClipboardBitmapSize();
            return size.cx == expected.cx && size.cy == expected.cy;
        })) << ClipboardBitmapSize().cx << " x " << ClipboardBitmapSize().cy;
        EXPECT_TRUE(SendMessageTimeoutW(Main(), WM_NULL, 0, 0, SMTO_NORMAL, 5000, nullptr));
        EXPECT_FALSE(IsWindowVisible(Main())) << "the capture brought the window back";
        EXPECT_TRUE(iconShown());
    };
    const RECT screen = OuterRect(GetDesktopWindow());
    captureFromTheMenu('D', {screen.right - screen.left, screen.bottom - screen.top});   // ﾃﾞｽｸﾄｯﾌﾟ(&D)
    {
        const PatternWindow front(200, 150, 170, 130);
        SetForegroundWindow(front.hwnd());
        ASSERT_TRUE(front.WaitUntilOnScreen());
        captureFromTheMenu('W', {170, 130});   // ｱｸﾃｨﾌﾞｳｨﾝﾄﾞｳ(&W)
    }
    // Explorer restarted and forgot the icon (Tovik's is number 1): it comes back.
    NOTIFYICONDATAW forgotten{};
    forgotten.cbSize = sizeof forgotten;
    forgotten.hWnd = Main();
    forgotten.uID = 1;
    Shell_NotifyIconW(NIM_DELETE, &forgotten);
    ASSERT_TRUE(WaitUntil([&] { return !iconShown(); }));
    PostMessageW(Main(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(WaitUntil(iconShown));
    EXPECT_FALSE(IsWindowVisible(Main()));

    clickIcon(MouseButton::Left);
    EXPECT_TRUE(WaitUntil([&] {
        return IsWindowVisible(Main()) && !IsIconic(Main()) && !iconShown() && GetForegroundWindow() == Main();
    })) << "the window is not back in front";

    ASSERT_TRUE(minimise());
    clickIcon(MouseButton::Right);
    ASSERT_TRUE(WaitUntil(menuUp));
    TypeKey(0, 'X');   // 終了(&X)
    EXPECT_TRUE(tovik_.WaitForExit(10000));
    EXPECT_TRUE(WaitUntil([&] { return !iconShown(); }));
    EXPECT_EQ(Stored(L"Startup", L"TrayIcon"), L"1");
}

// A window stored where it could not be taken by its title bar comes back
// whole: off every monitor (a monitor removed, a value edited by hand) at
// the primary monitor's top-left corner; with only a sliver on a monitor,
// or its title bar above the monitor, on that monitor as near as it was.
TEST_F(MainWindow, PositionOutOfReachComesBackWholeOnAMonitor) {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int width = TwipsToPixels(6000);
    struct Case { int left, top, expectedLeft, expectedTop; };
    const Case cases[] = {
        {-66666, 66666, work.left, work.top},                          // off every monitor
        {work.right - 10, work.top + 100, work.right - width, work.top + 100},   // a sliver at the right edge
        {work.left + 50, work.top - 150, work.left + 50, work.top},    // the title bar above the screen
    };
    for (const Case& c : cases) {
        WriteSetting(L"Startup", L"Left", std::to_wstring(PixelsToTwips(c.left)));
        WriteSetting(L"Startup", L"Top", std::to_wstring(PixelsToTwips(c.top)));
        WriteSetting(L"Startup", L"Width", L"6000");
        ASSERT_TRUE(tovik_.Start());
        const RECT r = OuterRect(Main());
        EXPECT_EQ(r.left, c.expectedLeft) << "stored at " << c.left << "," << c.top;
        EXPECT_EQ(r.top, c.expectedTop) << "stored at " << c.left << "," << c.top;
        EXPECT_EQ(r.right - r.left, width);   // the size is kept
        ASSERT_TRUE(tovik_.CloseAndWait());
    }
}

TEST_F(MainWindow, ViewShowsGrayUntilACaptureAndFollowsTheWindowSize) {
    ASSERT_TRUE(tovik_.Start());
    HWND main = Main();
    HWND toolbar = FindChild(main, TOOLBARCLASSNAMEW, IsShown);
    const RECT toolbarBefore = OuterRect(toolbar);
    SetWindowPos(main, nullptr, 0, 0, 500, 380, SWP_NOZORDER | SWP_NOMOVE);

    HWND view = FindChild(main, L"TovikPictureBox", IsShown);
    ASSERT_TRUE(view);
    RECT client{};
    GetClientRect(main, &client);
    ASSERT_TRUE(WaitUntil([&] {
        const RECT v = OuterRect(view);
        return v.right - v.left == client.right && v.bottom - v.top == client.bottom;
    }));
    EXPECT_TRUE(WaitUntil([&] {
        const Pixels p = ReadScreen(VisibleViewOf(main));
        return !p.data.empty() && Mismatches(p, Solid(Rgb(128, 128, 128))) == 0;
    })) << "the view is not plain gray";

    const RECT toolbarAfter = OuterRect(toolbar);
    EXPECT_EQ(toolbarAfter.right - toolbarAfter.left, toolbarBefore.right - toolbarBefore.left);
    EXPECT_EQ(toolbarAfter.top, toolbarBefore.top);
}

// The session ends (log-off, shutdown) without the window being closed
// first: the settings are written as at a normal exit.
TEST_F(MainWindow, EndOfTheSessionWritesTheSettings) {
    ASSERT_TRUE(tovik_.Start());
    SetWindowPos(Main(), nullptr, 30, 20, 400, 300, SWP_NOZORDER);
    ASSERT_TRUE(WaitUntil([&] { return OuterRect(Main()).left == 30; }));
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutW(Main(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL,
                                    5000, &answer));
    EXPECT_TRUE(answer) << "the program refused the end of the session";
    ASSERT_TRUE(SendMessageTimeoutW(Main(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL,
                                    5000, nullptr));
    ExpectStored({{L"Startup", L"Left", std::to_wstring(PixelsToTwips(30))},
                  {L"Startup", L"Width", std::to_wstring(PixelsToTwips(400))},
                  {L"Capture", L"DelayTime", L"2000"}, {L"Startup", L"MRU  1", L"-"}});
}

// The controls are designed in twips and laid out at the monitor's
// resolution: toolbar, its buttons and images, and the view's origin grow
// with it; top-level geometry is stored in twips; captures keep the
// screen's true pixels.
class Resolution : public MainWindow, public ::testing::WithParamInterface<int> {};

TEST_P(Resolution, ControlsFollowTheResolutionAndCapturesKeepFullPixels) {
    const int dpi = GetParam();
    auto px = [dpi](int twips) { return TwipsToPixels(twips, dpi); };
    ASSERT_TRUE(tovik_.StartAtDpi(dpi));
    HWND main = Main();
    const RECT r = OuterRect(main);
    EXPECT_EQ(r.right - r.left, px(4500));
    EXPECT_EQ(r.bottom - r.top, px(3000));

    HWND toolbar = FindChild(main, TOOLBARCLASSNAMEW, IsShown);
    ASSERT_TRUE(toolbar);
    RECT bar = OuterRect(toolbar);
    MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&bar), 2);
    EXPECT_EQ(bar.left, px(-15));
    EXPECT_EQ(bar.top, px(60));
    EXPECT_EQ(bar.right - bar.left, px(4635));
    EXPECT_EQ(bar.bottom - bar.top, px(390));
    const LRESULT buttonSize = SendMessageW(toolbar, TB_GETBUTTONSIZE, 0, 0);
    EXPECT_EQ(LOWORD(buttonSize), px(360));
    EXPECT_EQ(HIWORD(buttonSize), px(330));
    // The images' black outlines span at most 16 rows at 16 pixels, more
    // with the art drawn at 24. (The image list itself cannot be read from
    // another process.)
    auto artRows = [&] {
        int top = INT_MAX, bottom = -1;
        const Pixels p = ReadScreen(OuterRect(toolbar));
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x)
                if (p.At(x, y) == 0) top = std::min(top, y), bottom = std::max(bottom, y);
        return bottom < 0 ? 0 : bottom - top + 1;
    };
    ASSERT_TRUE(WaitUntil([&] { return artRows() > 0; })) << "the toolbar shows no images";
    if (dpi >= 144) EXPECT_TRUE(WaitUntil([&] { return artRows() > 16; })) << artRows();
    else EXPECT_LE(artRows(), 16);
    HWND view = FindChild(main, L"TovikPictureBox", IsShown);
    ASSERT_TRUE(view);
    RECT v = OuterRect(view);
    MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&v), 2);
    EXPECT_EQ(v.left, 0);
    EXPECT_EQ(v.top, px(480));

    PutMarkerOnClipboard();
    ASSERT_TRUE(tovik_.CommandAndWait(ID_mnuDesktop));
    const RECT screen = OuterRect(GetDesktopWindow());
    const auto clip = ReadClipboardBitmap();
    ASSERT_TRUE(clip);
    EXPECT_EQ(clip->width, screen.right - screen.left);
    EXPECT_EQ(clip->height, screen.bottom - screen.top);

    SetWindowPos(main, nullptr, 20, 10, 500, 400, SWP_NOZORDER);
    ASSERT_TRUE(WaitUntil([&] { return OuterRect(main).left == 20; }));
    ASSERT_TRUE(tovik_.CloseAndWait());
    EXPECT_EQ(Stored(L"Startup", L"Left"), std::to_wstring(PixelsToTwips(20, dpi)));
    EXPECT_EQ(Stored(L"Startup", L"Width"), std::to_wstring(PixelsToTwips(500, dpi)));
}

INSTANTIATE_TEST_SUITE_P(MainWindow, Resolution, ::testing::Values(96, 120, 144));

}  // namespace
