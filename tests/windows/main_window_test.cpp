// The real Tovik.exe: start-up from the settings store, shutdown writing it back,
// the window's controls and the gray view.
#include "support/Driver.h"

#include "resources/resource.h"

#include <gtest/gtest.h>

#include <commctrl.h>

namespace {

using namespace tovik_test;

int TwipsToPixelsX(int twips) {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return twips * dpi / 1440;
}

RECT OuterRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

HWND FindChild(HWND parent, const wchar_t* className, bool visible) {
    for (HWND child = FindWindowExW(parent, nullptr, className, nullptr); child;
         child = FindWindowExW(parent, child, className, nullptr))
        if ((IsWindowVisible(child) != FALSE) == visible) return child;
    return nullptr;
}

std::wstring Stored(const wchar_t* section, const wchar_t* key) {
    return ReadSetting(section, key).value_or(L"<absent>");
}

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override { ClearSettings(); }
    void TearDown() override { ClearSettings(); }
};

TEST_F(MainWindow, FirstRunOpensAtTheCornerWithDefaultSizeAndQuitWritesEveryKey) {
    TovikProcess tovik;
    ASSERT_TRUE(tovik.Start());
    HWND main = tovik.MainWindow();
    wchar_t caption[32] = {};
    GetWindowTextW(main, caption, 32);
    EXPECT_STREQ(caption, L"Tovik");
    const RECT r = OuterRect(main);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right - r.left, TwipsToPixelsX(4500));
    EXPECT_EQ(r.bottom - r.top, TwipsToPixelsX(3000));
    EXPECT_TRUE(GetMenu(main) != nullptr);

    HWND toolbar = FindChild(main, TOOLBARCLASSNAMEW, true);
    ASSERT_TRUE(toolbar);
    EXPECT_EQ(SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0), 13);

    ASSERT_TRUE(tovik.CloseAndWait());
    EXPECT_EQ(Stored(L"Startup", L"Top"), L"0");
    EXPECT_EQ(Stored(L"Startup", L"Left"), L"0");
    EXPECT_EQ(Stored(L"Startup", L"Width"), L"4500");
    EXPECT_EQ(Stored(L"Startup", L"Height"), L"3000");
    EXPECT_EQ(Stored(L"Capture", L"DelayTime"), L"2000");
    EXPECT_EQ(Stored(L"Capture", L"EditerName"), L"Pbrush.exe");
    EXPECT_EQ(Stored(L"Startup", L"InitDir"), DistFolder());
    EXPECT_EQ(Stored(L"Startup", L"TransClipboard"), L"1");
    EXPECT_EQ(Stored(L"Startup", L"MRU  1"), L"-");
}

TEST_F(MainWindow, QuitWhileMaximizedOrMinimizedStoresTheDefaultGeometry) {
    for (int show : {SW_MAXIMIZE, SW_MINIMIZE}) {
        WriteSetting(L"Startup", L"Top", L"600");
        WriteSetting(L"Startup", L"Left", L"750");
        WriteSetting(L"Startup", L"Width", L"6000");
        WriteSetting(L"Startup", L"Height", L"4500");
        TovikProcess tovik;
        ASSERT_TRUE(tovik.Start());
        ShowWindow(tovik.MainWindow(), show);
        ASSERT_TRUE(WaitUntil([&] {
            return show == SW_MAXIMIZE ? IsZoomed(tovik.MainWindow()) : IsIconic(tovik.MainWindow());
        }));
        ASSERT_TRUE(tovik.CloseAndWait());
        EXPECT_EQ(Stored(L"Startup", L"Top"), L"0");
        EXPECT_EQ(Stored(L"Startup", L"Left"), L"0");
        EXPECT_EQ(Stored(L"Startup", L"Width"), L"4500");
        EXPECT_EQ(Stored(L"Startup", L"Height"), L"3000");
    }
}

TEST_F(MainWindow, MovedAndResizedWindowComesBackWhereItWas) {
    RECT before{};
    {
        TovikProcess tovik;
        ASSERT_TRUE(tovik.Start());
        SetWindowPos(tovik.MainWindow(), nullptr, 50, 40, 420, 310, SWP_NOZORDER);
        ASSERT_TRUE(WaitUntil([&] { return OuterRect(tovik.MainWindow()).left == 50; }));
        before = OuterRect(tovik.MainWindow());
        ASSERT_TRUE(tovik.CloseAndWait());
    }
    EXPECT_EQ(Stored(L"Startup", L"Left"), std::to_wstring(before.left * 1440 / (TwipsToPixelsX(1440))));
    TovikProcess again;
    ASSERT_TRUE(again.Start());
    const RECT after = OuterRect(again.MainWindow());
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(after.right, before.right);
    EXPECT_EQ(after.bottom, before.bottom);
}

TEST_F(MainWindow, GarbageInTheStoreStartsWithDefaultsAndIsWrittenBackClean) {
    for (const wchar_t* key : {L"Top", L"Left", L"Width", L"Height", L"TransClipboard"})
        WriteSetting(L"Startup", key, L"abc");
    WriteSetting(L"Capture", L"DelayTime", L"12x");
    TovikProcess tovik;
    ASSERT_TRUE(tovik.Start());
    const RECT r = OuterRect(tovik.MainWindow());
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right - r.left, TwipsToPixelsX(4500));
    ASSERT_TRUE(tovik.CloseAndWait());
    EXPECT_EQ(Stored(L"Startup", L"Width"), L"4500");
    EXPECT_EQ(Stored(L"Startup", L"TransClipboard"), L"1");
    EXPECT_EQ(Stored(L"Capture", L"DelayTime"), L"2000");
}

TEST_F(MainWindow, PositionOffEveryMonitorIsPulledBackOntoThePrimaryOne) {
    WriteSetting(L"Startup", L"Left", L"-999990");
    WriteSetting(L"Startup", L"Top", L"999990");
    WriteSetting(L"Startup", L"Width", L"6000");
    TovikProcess tovik;
    ASSERT_TRUE(tovik.Start());
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const RECT r = OuterRect(tovik.MainWindow());
    EXPECT_EQ(r.left, work.left);
    EXPECT_EQ(r.top, work.top);
    EXPECT_EQ(r.right - r.left, TwipsToPixelsX(6000));   // the size is kept
}

TEST_F(MainWindow, ViewShowsGrayUntilACaptureAndFollowsTheWindowSize) {
    TovikProcess tovik;
    ASSERT_TRUE(tovik.Start());
    HWND main = tovik.MainWindow();
    HWND toolbar = FindChild(main, TOOLBARCLASSNAMEW, true);
    const RECT toolbarBefore = OuterRect(toolbar);
    SetWindowPos(main, nullptr, 0, 0, 500, 380, SWP_NOZORDER | SWP_NOMOVE);

    HWND view = FindChild(main, L"TovikPictureBox", true);
    ASSERT_TRUE(view);
    RECT client{};
    GetClientRect(main, &client);
    ASSERT_TRUE(WaitUntil([&] {
        const RECT v = OuterRect(view);
        return v.right - v.left == client.right && v.bottom - v.top == client.bottom;
    }));
    // The visible part of the view, inside its border.
    RECT inside{};
    GetClientRect(view, &inside);
    MapWindowPoints(view, nullptr, reinterpret_cast<POINT*>(&inside), 2);
    RECT mainClient = client;
    MapWindowPoints(main, nullptr, reinterpret_cast<POINT*>(&mainClient), 2);
    inside.bottom = std::min(inside.bottom, mainClient.bottom);
    inside.right = std::min(inside.right, mainClient.right);
    EXPECT_TRUE(WaitUntil([&] {
        const Pixels p = ReadScreen(inside);
        for (auto px : p.data)
            if (px != Rgb(128, 128, 128)) return false;
        return !p.data.empty();
    })) << "the view is not plain gray";

    const RECT toolbarAfter = OuterRect(toolbar);
    EXPECT_EQ(toolbarAfter.right - toolbarAfter.left, toolbarBefore.right - toolbarBefore.left);
    EXPECT_EQ(toolbarAfter.top, toolbarBefore.top);
}

// At 144 dpi a twip is a tenth of a pixel: the default window is 450 x 300
// pixels, and the program, aware of the resolution, sees the screen's true size.
TEST_F(MainWindow, TwipsFollowTheScreenResolution) {
    HKEY desktop = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0,
                              KEY_SET_VALUE | KEY_QUERY_VALUE, nullptr, &desktop, nullptr),
              ERROR_SUCCESS);
    const DWORD dpi = 144;
    RegSetValueExW(desktop, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
    TovikProcess tovik;
    const bool started = tovik.Start();
    RegDeleteValueW(desktop, L"LogPixels");
    RegCloseKey(desktop);
    ASSERT_TRUE(started);
    const RECT r = OuterRect(tovik.MainWindow());
    EXPECT_EQ(r.right - r.left, 450);
    EXPECT_EQ(r.bottom - r.top, 300);
    SetWindowPos(tovik.MainWindow(), nullptr, 20, 10, 500, 400, SWP_NOZORDER);
    ASSERT_TRUE(WaitUntil([&] { return OuterRect(tovik.MainWindow()).left == 20; }));
    ASSERT_TRUE(tovik.CloseAndWait());
    EXPECT_EQ(Stored(L"Startup", L"Left"), L"200");
    EXPECT_EQ(Stored(L"Startup", L"Top"), L"100");
    EXPECT_EQ(Stored(L"Startup", L"Width"), L"5000");
    EXPECT_EQ(Stored(L"Startup", L"Height"), L"4000");
}

}  // namespace
