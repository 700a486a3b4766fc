// The main window's menu tree, shortcuts, toolbar and version, checked inside a real frmMain.
#include "app/frmMain.h"
#include "app/Module2.h"
#include "platform/system/Screen.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/Messages.h"
#include "platform/ui/Window.h"
#include "resources/resource.h"
#include "support/LoadedMainForm.h"
#include "support/MessageBoxes.h"
#include "support/Windows.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <new>
#include <string>
#include <vector>

namespace {

using namespace app;
using namespace tovik_test;

std::wstring Caption(HMENU menu, UINT position) {
    wchar_t text[128] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING | MIIM_FTYPE;
    info.dwTypeData = text;
    info.cch = 128;
    GetMenuItemInfoW(menu, position, TRUE, &info);
    return (info.fType & MFT_SEPARATOR) ? L"-" : text;
}

// "caption=id" for every item, submenus as "caption>" followed by their items and "<".
void Describe(HMENU menu, std::vector<std::wstring>& out) {
    for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
        if (HMENU sub = GetSubMenu(menu, i)) {
            out.push_back(Caption(menu, i) + L">");
            Describe(sub, out);
            out.push_back(L"<");
        } else {
            const std::wstring caption = Caption(menu, i);
            out.push_back(caption == L"-" ? caption : caption + L"=" + std::to_wstring(GetMenuItemID(menu, i)));
        }
    }
}

using MainForm = LoadedMainForm;

TEST_F(MainForm, MenuTreeHasEveryCaptionAndShortcut) {
    std::vector<std::wstring> tree;
    Describe(GetMenu(main_.hwnd()), tree);
    auto id = [](int n) { return L"=" + std::to_wstring(n); };
    const std::vector<std::wstring> expected{
        L"ﾌｧｲﾙ(&F)>",
        L"開く(&O)...\tCtrl+O" + id(ID_mnuOpen),
        L"名前を付けて保存(&A)...\tCtrl+A" + id(ID_mnuSaveAs),
        L"-",
        L"ﾌﾟﾘﾝﾀの設定 (&U)..." + id(ID_mnuPrintSetup),
        L"印刷 (&P)" + id(ID_mnuPrint),
        L"-",
        L"ﾍﾟｲﾝﾄｿﾌﾄの起動(&P)..." + id(ID_mnuPbrush),
        L"-",
        L"終了(&X)" + id(ID_mnuExit),
        L"<",
        L"ｷｬﾌﾟﾁｬ(&C)>",
        L"矩形(&R)\tCtrl+R" + id(ID_mnuRectangle),
        L"ｱｸﾃｨﾌﾞｳｨﾝﾄﾞｳ(&W)\tCtrl+W" + id(ID_mnuWindow),
        L"ﾃﾞｽｸﾄｯﾌﾟ(&D)\tCtrl+T" + id(ID_mnuDesktop),
        L"ﾃﾞｨﾚｲｷｬﾌﾟﾁｬ(&T)>",
        L"ｱｸﾃｨﾌﾞｳｨﾝﾄﾞｳ(&A)\tCtrl+V" + id(ID_mnuDelayActive),
        L"ﾃﾞｽｸﾄｯﾌﾟ(&D)\tCtrl+D" + id(ID_mnuDelayDesktop),
        L"<",
        L"-",
        L"ｸﾘｱ(&C)\tDel" + id(ID_mnuClear),
        L"<",
        L"ｵﾌﾟｼｮﾝ(&O)>",
        L"ﾏｳｽ画像ｷｬﾌﾟﾁｬ(&M)" + id(ID_mnuOptionMouseCapt),
        L"-",
        L"設定(&S)..." + id(ID_mnuOptionSetup),
        L"<",
        L"ﾍﾙﾌﾟ(&H)>",
        L"目次(&C)\tF1" + id(ID_mnuContents),
        L"-",
        L"ﾊﾞｰｼﾞｮﾝ情報(&A)..." + id(ID_mnuAbout),
        L"<",
    };
    EXPECT_EQ(tree, expected);
    // The notification area's icon offers the immediate captures and Exit by the same captions.
    std::vector<std::wstring> trayMenu;
    Describe(main_.TrayMenu().get(), trayMenu);
    EXPECT_EQ(trayMenu, (std::vector<std::wstring>{L"矩形(&R)" + id(ID_mnuRectangle),
                                                   L"ｱｸﾃｨﾌﾞｳｨﾝﾄﾞｳ(&W)" + id(ID_mnuWindow),
                                                   L"ﾃﾞｽｸﾄｯﾌﾟ(&D)" + id(ID_mnuDesktop), L"-",
                                                   L"終了(&X)" + id(ID_mnuExit)}));

    std::vector<ACCEL> keys(CopyAcceleratorTableW(main_.Accelerators(), nullptr, 0));
    CopyAcceleratorTableW(main_.Accelerators(), keys.data(), static_cast<int>(keys.size()));
    auto command = [&](BYTE modifiers, WORD key) {
        for (const auto& a : keys)
            if ((a.fVirt & (FCONTROL | FSHIFT | FALT)) == modifiers && a.key == key) return static_cast<int>(a.cmd);
        return 0;
    };
    EXPECT_EQ(command(FCONTROL, 'O'), ID_mnuOpen);
    EXPECT_EQ(command(FCONTROL, 'A'), ID_mnuSaveAs);
    EXPECT_EQ(command(FCONTROL, 'R'), ID_mnuRectangle);
    EXPECT_EQ(command(FCONTROL, 'W'), ID_mnuWindow);
    EXPECT_EQ(command(FCONTROL, 'T'), ID_mnuDesktop);
    EXPECT_EQ(command(FCONTROL, 'V'), ID_mnuDelayActive);
    EXPECT_EQ(command(FCONTROL, 'D'), ID_mnuDelayDesktop);
    EXPECT_EQ(command(0, VK_DELETE), ID_mnuClear);
    EXPECT_EQ(command(0, VK_F1), ID_mnuContents);
    EXPECT_EQ(keys.size(), 9u);
}

TEST_F(MainForm, ToolbarHasThirteenButtonsWithImagesAndTooltips) {
    HWND toolbar = FindChild(main_.hwnd(), TOOLBARCLASSNAMEW);
    ASSERT_TRUE(toolbar);
    ASSERT_EQ(SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0), 13);
    auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(toolbar, TB_GETIMAGELIST, 0, 0));
    ASSERT_TRUE(images);
    EXPECT_EQ(ImageList_GetImageCount(images), 9);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(images, &cx, &cy);
    EXPECT_EQ(cx, 16);
    EXPECT_EQ(cy, 16);

    const std::vector<std::wstring> tips{L"", L"開く", L"保存", L"印刷", L"", L"矩形", L"ｱｸﾃｨﾌﾞｳｨﾝﾄﾞｳ",
                                         L"ﾃﾞｽｸﾄｯﾌﾟ", L"ｱｸﾃｨﾌﾞｳｨﾝﾄﾞｳのﾃﾞｨﾚｲｷｬﾌﾟﾁｬ", L"", L"画像編集ｿﾌﾄの起動",
                                         L"", L"ﾏｳｽ画像ｷｬﾌﾟﾁｬ"};
    for (int i = 0; i < 13; ++i) {
        TBBUTTON button{};
        SendMessageW(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
        EXPECT_EQ((button.fsStyle & BTNS_SEP) != 0, tips[i].empty()) << "button " << i + 1;
        if (tips[i].empty()) continue;
        EXPECT_EQ(button.iBitmap, i < 4 ? i - 1 : i < 9 ? i - 2 : i < 11 ? 7 : 8) << "button " << i + 1;
        EXPECT_EQ((button.fsStyle & BTNS_CHECK) != 0, i == 12) << "button " << i + 1;
        EXPECT_FALSE(button.fsState & TBSTATE_CHECKED);
        // The tooltip text the toolbar asks its parent for.
        NMTTDISPINFOW info{};
        info.hdr.hwndFrom = toolbar;
        info.hdr.idFrom = static_cast<UINT_PTR>(button.idCommand);
        info.hdr.code = TTN_GETDISPINFOW;
        SendMessageW(main_.hwnd(), WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info));
        wchar_t text[80] = {};
        LoadStringW(info.hinst, static_cast<UINT>(reinterpret_cast<UINT_PTR>(info.lpszText)), text, 80);
        EXPECT_EQ(std::wstring(text), tips[i]) << "button " << i + 1;
    }
}

TEST_F(MainForm, MouseOptionFromMenuAndToolbarStaysInStep) {
    HWND toolbar = FindChild(main_.hwnd(), TOOLBARCLASSNAMEW);
    const int mouseButton = ID_Toolbar1 + 13;
    auto pressed = [&] { return SendMessageW(toolbar, TB_ISBUTTONCHECKED, mouseButton, 0) != 0; };
    ProgramState().MouseCapt = 0;

    SendMessageW(main_.hwnd(), WM_COMMAND, ID_mnuOptionMouseCapt, 0);
    EXPECT_EQ(ProgramState().MouseCapt, -1);
    EXPECT_TRUE(pressed());
    HMENU options = GetSubMenu(GetMenu(main_.hwnd()), 2);
    SendMessageW(main_.hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(options), MAKELPARAM(2, FALSE));
    EXPECT_TRUE(GetMenuState(options, ID_mnuOptionMouseCapt, MF_BYCOMMAND) & MF_CHECKED);

    // The check-style button presses itself; its click only flips the option.
    SendMessageW(toolbar, TB_CHECKBUTTON, mouseButton, FALSE);
    SendMessageW(main_.hwnd(), WM_COMMAND, mouseButton, reinterpret_cast<LPARAM>(toolbar));
    EXPECT_EQ(ProgramState().MouseCapt, 0);
    SendMessageW(main_.hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(options), MAKELPARAM(2, FALSE));
    EXPECT_FALSE(GetMenuState(options, ID_mnuOptionMouseCapt, MF_BYCOMMAND) & MF_CHECKED);
}

// The stored recent files come back into the File menu above the separator
// before Exit, shown exactly (an "&" is no access key), a repeated entry once,
// and are written back oldest first.
TEST(RecentFilesMenu, StoredEntriesAreShownExactlyAndWrittenBack) {
    ClearSettings();
    WriteSetting(L"Startup", L"MRU  1", L"C:\\写真\\a&b.bmp");
    WriteSetting(L"Startup", L"MRU  2", L"C:\\写真\\a&b.bmp");
    WriteSetting(L"Startup", L"MRU  3", L"D:\\c.gif");
    {
        frmMain main;
        ASSERT_EQ(main.Form_Load(), S_OK);
        std::vector<std::wstring> tree;
        Describe(GetSubMenu(GetMenu(main.hwnd()), 0), tree);
        auto id = [](int n) { return L"=" + std::to_wstring(ID_mnuFileArray + n); };
        const std::vector<std::wstring> expected{
            L"開く(&O)...\tCtrl+O=" + std::to_wstring(ID_mnuOpen),
            L"名前を付けて保存(&A)...\tCtrl+A=" + std::to_wstring(ID_mnuSaveAs),
            L"-",
            L"ﾌﾟﾘﾝﾀの設定 (&U)...=" + std::to_wstring(ID_mnuPrintSetup),
            L"印刷 (&P)=" + std::to_wstring(ID_mnuPrint),
            L"-",
            L"ﾍﾟｲﾝﾄｿﾌﾄの起動(&P)...=" + std::to_wstring(ID_mnuPbrush),
            L"-",
            L"C:\\写真\\a&&b.bmp" + id(1),
            L"D:\\c.gif" + id(2),
            L"-",
            L"終了(&X)=" + std::to_wstring(ID_mnuExit),
        };
        EXPECT_EQ(tree, expected);
        main.Form_Unload();
    }
    EXPECT_EQ(ReadSetting(L"Startup", L"MRU  1"), L"C:\\写真\\a&b.bmp");
    EXPECT_EQ(ReadSetting(L"Startup", L"MRU  2"), L"D:\\c.gif");
    EXPECT_EQ(ReadSetting(L"Startup", L"MRU  3"), L"D:\\c.gif") << "a key from an earlier run stays";
    ClearSettings();
}

// The window stored on a monitor of another resolution than the primary
// one: as the load moves it there the system suggests a size scaled once
// more (WM_DPICHANGED, sent here where the load moves the window, since Wine
// gives every monitor one resolution). The window comes back exactly as
// stored, and is stored so again; a move by the user afterwards still
// takes the suggested size.
TEST(MainWindowPlace, StoredRectangleComesBackExactlyOnAMonitorOfAnotherResolution) {
    static const RECT stored{100, 80, 500, 380};
    static const RECT scaled{100, 80, 700, 530};   // at 150 %
    static int sent = 0;
    struct Hook {
        static LRESULT CALLBACK Proc(int code, WPARAM wParam, LPARAM lParam) {
            const auto* message = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
            if (code == HC_ACTION && message->message == WM_WINDOWPOSCHANGED && !sent &&
                HasClass(message->hwnd, TOVIK_CLASS_MAIN) &&
                reinterpret_cast<const WINDOWPOS*>(message->lParam)->x == stored.left) {
                ++sent;
                SendMessageW(message->hwnd, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&scaled));
            }
            return CallNextHookEx(nullptr, code, wParam, lParam);
        }
    };
    auto twips = [](int pixels) { return std::to_wstring(PixelsToTwips(pixels, platform::ScreenDpiX())); };
    ClearSettings();
    WriteSetting(L"Startup", L"Left", twips(stored.left));
    WriteSetting(L"Startup", L"Top", twips(stored.top));
    WriteSetting(L"Startup", L"Width", twips(stored.right - stored.left));
    WriteSetting(L"Startup", L"Height", twips(stored.bottom - stored.top));
    const auto width = ReadSetting(L"Startup", L"Width");
    {
        frmMain main;
        HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROCRET, &Hook::Proc, nullptr, GetCurrentThreadId());
        ASSERT_EQ(main.Form_Load(), S_OK);
        UnhookWindowsHookEx(hook);
        ASSERT_EQ(sent, 1) << "the load never moved the window to its place";
        RECT r = main.OuterRect();
        EXPECT_TRUE(EqualRect(&r, &stored)) << r.left << "," << r.top << " " << r.right - r.left << " x "
                                            << r.bottom - r.top;
        main.Form_Unload();
        EXPECT_EQ(ReadSetting(L"Startup", L"Width"), width);

        const RECT moved{300, 200, 750, 500};
        SendMessageW(main.hwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&moved));
        r = main.OuterRect();
        EXPECT_TRUE(EqualRect(&r, &moved)) << "a move by the user no longer rescales";
    }
    ClearSettings();
}

// A resolution changed while the program runs: snapshots and desktop
// captures take the new size of the screen, not the one read at start-up.
TEST_F(MainForm, DisplayChangeRefreshesTheDesktopRectangle) {
    ProgramState().DesktopRect = {0, 0, 640, 480};
    SendMessageW(main_.hwnd(), WM_DISPLAYCHANGE, 32, MAKELPARAM(640, 480));
    RECT screen{};
    GetWindowRect(GetDesktopWindow(), &screen);
    EXPECT_TRUE(EqualRect(&ProgramState().DesktopRect, &screen));
}

TEST(ErrorText, CodesWithoutADescriptionReadAsEightHexDigitsAndWrappedWin32ErrorsAsTheirOwn) {
    EXPECT_EQ(platform::SystemErrorText(0xE0001234), L"0xE0001234");
    EXPECT_EQ(platform::SystemErrorText(0x0000BEEF), L"0x0000BEEF");
    EXPECT_EQ(platform::SystemErrorText(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)),
              platform::SystemErrorText(ERROR_FILE_NOT_FOUND));
    EXPECT_NE(platform::SystemErrorText(ERROR_FILE_NOT_FOUND).rfind(L"0x", 0), 0u);
}

// The words of each failure: the system's for its errors under "Error", the
// program's own from the resources, the converter's under "ｴﾗｰ" (a code the
// shell gives without words of ours is the unexpected error).
TEST(ErrorText, EachFailureReadsInItsOwnWordsUnderItsOwnTitle) {
    using platform::MessageOf, platform::OwnFailure;
    EXPECT_EQ(MessageOf(platform::FailureOf(ERROR_ACCESS_DENIED)).text, platform::SystemErrorText(ERROR_ACCESS_DENIED));
    EXPECT_EQ(MessageOf(E_OUTOFMEMORY).title, L"Error");
    EXPECT_EQ(MessageOf(OwnFailure(IDS_CLIPBOARD_FAILED)).text, L"クリップボードへの転送に失敗しました");
    const platform::FailureMessage editor = MessageOf(OwnFailure(IDS_EDITOR_FAILED), L"mspaint.exe");
    EXPECT_EQ(editor.text, L"mspaint.exe の起動に失敗しました。");
    EXPECT_EQ(editor.title, L"Error");
    EXPECT_EQ(MessageOf(OwnFailure(IDS_CONVERTER_FAILED + 4)).text,
              L"JPEG ファイルを保存できませんでした。メモリが足りません。");
    EXPECT_EQ(MessageOf(OwnFailure(IDS_CONVERTER_NOT_STARTED + 2)).text, L"The specified file was not found.");
    EXPECT_EQ(MessageOf(OwnFailure(IDS_CONVERTER_NOT_STARTED + 27)).text,
              L" The file name association is incomplete or invalid.");
    EXPECT_EQ(MessageOf(OwnFailure(IDS_CONVERTER_NOT_STARTED + 32)).text,
              L"The specified dynamic-link library was not found.");
    for (int other : {0, 1, 4, 12, 25}) {
        const platform::FailureMessage unexpected = MessageOf(OwnFailure(IDS_CONVERTER_NOT_STARTED + other));
        EXPECT_EQ(unexpected.text, L"予期せぬｴﾗｰです") << other;
        EXPECT_EQ(unexpected.title, L"ｴﾗｰ") << other;
    }
}

// A window and a dialog whose handler runs out of memory.
class ThrowingWindow : public platform::Window {
public:
    bool Create() {
        return CreateWindowOf({L"Tovik.TestThrowingWindow"}, WS_OVERLAPPEDWINDOW, 0, L"", 0, 0, 200, 100, nullptr);
    }
protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_APP) throw std::bad_alloc();
        if (message == WM_APP + 1) return 42;
        return DefaultHandling(message, wParam, lParam);
    }
};

class ThrowingDialog : public platform::ModalDialog {
protected:
    bool OnInitDialog() override {
        PostMessageW(hwnd(), WM_APP, 0, 0);
        return true;
    }
    bool OnMessage(UINT message, WPARAM, LPARAM, INT_PTR&) override {
        if (message != WM_APP) return false;
        PostMessageW(hwnd(), WM_COMMAND, IDOK, 0);   // the dialog is still there to take it
        throw std::bad_alloc();
    }
};

TEST(HandlerFailure, OutOfMemoryInAWindowOrDialogHandlerIsOneErrorAndTheProgramGoesOn) {
    const MessageBoxes boxes;
    ThrowingWindow window;
    ASSERT_TRUE(window.Create());
    SendMessageW(window.hwnd(), WM_APP, 0, 0);
    ASSERT_TRUE(boxes.WaitForCount(1));
    EXPECT_EQ(SendMessageW(window.hwnd(), WM_APP + 1, 0, 0), 42) << "the window no longer answers";
    ThrowingDialog dialog;
    EXPECT_EQ(dialog.ShowModal(nullptr, IDD_frmAbout), IDOK);
    ASSERT_TRUE(boxes.WaitForCount(2));
    EXPECT_FALSE(boxes.WaitForCount(3, 300));
    for (const SeenMessage& seen : boxes.Seen()) {
        EXPECT_EQ(seen.title, L"Error");
        EXPECT_EQ(seen.text, platform::SystemErrorText(ERROR_NOT_ENOUGH_MEMORY));
    }
}

TEST(Version, ExecutableCarriesVersion203AndItsIcon) {
    const std::wstring exe = DistFolder() + L"Tovik.exe";
    DWORD ignored = 0;
    std::vector<BYTE> data(GetFileVersionInfoSizeW(exe.c_str(), &ignored));
    ASSERT_FALSE(data.empty());
    ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, static_cast<DWORD>(data.size()), data.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &size));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(3, 2));
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    wchar_t* text = nullptr;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\StringFileInfo\\041104B0\\FileVersion",
                               reinterpret_cast<void**>(&text), &size));
    EXPECT_STREQ(text, L"2.03");

    HMODULE module = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_TRUE(module);
    for (int size : {32, 16}) {
        HICON icon = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(IDI_TOVIK), IMAGE_ICON, size, size, 0));
        ASSERT_TRUE(icon) << size;
        ICONINFO info{};
        GetIconInfo(icon, &info);
        BITMAP bm{};
        GetObjectW(info.hbmMask, sizeof bm, &bm);
        EXPECT_EQ(bm.bmWidth, size);
        DeleteObject(info.hbmMask);
        if (info.hbmColor) DeleteObject(info.hbmColor);
        DestroyIcon(icon);
    }
    FreeLibrary(module);
}

}  // namespace
