// The setup dialog, the about box and the help, driven in the real
// Tovik.exe: what the user sees in them, what OK, Cancel and the close box
// leave behind, and that keys typed in them never reach the main window.
#include "support/CommandRecorder.h"
#include "support/Dialogs.h"
#include "support/Driver.h"
#include "support/MessageBoxes.h"
#include "support/Mouse.h"
#include "support/RealProgram.h"

#include "platform/owners/Com.h"
#include "platform/system/Files.h"
#include "platform/system/Shortcut.h"
#include "platform/ui/Messages.h"
#include "resources/resource.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace tovik_test;

const std::wstring kSetupCaption = L"設定";
const std::wstring kBrowseCaption = L"画像編集ｿﾌﾄの指定";
const std::wstring kBadDelay = L"ﾃﾞｨﾚｲﾀｲﾑには 1 から 2147483647 までの整数 (ミリ秒) を半角数字で入力してください。";

struct Designed {
    int id;
    int left, top, width, height;   // twips in the client area
    const wchar_t* caption;         // nullptr: filled at run time
};
// Controls inside Frame1 (120, 180), Frame2 (120, 1500) and Frame3 (120,
// 3000) are designed relative to their frame; Frame3's rows are 390 apart.
const std::vector<Designed> kSetupDesign{
    {IDC_Setup_Frame1, 120, 180, 6075, 1155, L"画像編集ｿﾌﾄの指定"},
    {IDC_Setup_Label1, 120 + 240, 180 + 300, 1635, 255, L"ﾌｧｲﾙ名(&E)"},
    {IDC_txtEditName, 120 + 240, 180 + 540, 4695, 330, nullptr},
    {IDC_cmdRef, 120 + 5040, 180 + 540, 855, 315, L"参照 ..."},
    {IDC_Setup_Frame2, 120, 1500, 6075, 795, L"ｷｬﾌﾟﾁｬ設定"},
    {IDC_Setup_Label2, 120 + 240, 1500 + 360, 1395, 255, L"ﾃﾞｨﾚｲﾀｲﾑ(&T)"},
    {IDC_txtDelayTime, 120 + 1380, 1500 + 300, 975, 315, nullptr},
    {IDC_Setup_Label3, 120 + 2460, 1500 + 360, 375, 195, L"(ms)"},
    {IDC_chkClip, 180, 2460, 4215, 435, L"読込んだ画像をｸﾘｯﾌﾟボードに転送(&C)"},
    {IDC_Setup_Frame3, 120, 3000, 6075, 2310, L"ﾎｯﾄｷｰ"},
    {IDC_Setup_Label4, 120 + 240, 3000 + 300, 2835, 255, L"矩形(&R)"},
    {IDC_hkyRectangle, 120 + 3180, 3000 + 270, 2715, 315, nullptr},
    {IDC_Setup_Label5, 120 + 240, 3000 + 690, 2835, 255, L"ｱｸﾃｨﾌﾞｳｨﾝﾄﾞｳ(&W)"},
    {IDC_hkyWindow, 120 + 3180, 3000 + 660, 2715, 315, nullptr},
    {IDC_Setup_Label6, 120 + 240, 3000 + 1080, 2835, 255, L"ﾃﾞｽｸﾄｯﾌﾟ(&D)"},
    {IDC_hkyDesktop, 120 + 3180, 3000 + 1050, 2715, 315, nullptr},
    {IDC_Setup_Label7, 120 + 240, 3000 + 1470, 2835, 255, L"ﾃﾞｨﾚｲｷｬﾌﾟﾁｬ - ｱｸﾃｨﾌﾞｳｨﾝﾄﾞｳ(&A)"},
    {IDC_hkyDelayActive, 120 + 3180, 3000 + 1440, 2715, 315, nullptr},
    {IDC_Setup_Label8, 120 + 240, 3000 + 1860, 2835, 255, L"ﾃﾞｨﾚｲｷｬﾌﾟﾁｬ - ﾃﾞｽｸﾄｯﾌﾟ(&S)"},
    {IDC_hkyDelayDesktop, 120 + 3180, 3000 + 1830, 2715, 315, nullptr},
    {IDC_chkStartAtLogon, 180, 5430, 5000, 300, L"Windows の起動時に開始する"},
    {IDC_chkTray, 180, 5790, 5000, 300, L"最小化時に通知領域に入れる"},
    {IDOK, 3660, 6300, 1215, 315, L"OK"},
    {IDCANCEL, 4980, 6300, 1215, 315, L"ｷｬﾝｾﾙ"},
};
const std::vector<Designed> kAboutDesign{
    {IDC_About_Label1, 120, 120, 5115, 315, L"ｽｸﾘｰﾝｷｬﾌﾟﾁｬ Tovik for Windows95"},
    {IDC_lblVersion, 120, 480, 5115, 195, L"Ver 2.3.0"},
    {IDC_About_Label3, 120, 900, 5115, 255, nullptr},
    {IDC_About_Label4, 120, 1200, 5115, 255, nullptr},
    {IDC_About_Label5, 480, 1920, 4755, 255, nullptr},
    {IDC_About_Label2, 480, 2280, 4695, 675, nullptr},
    {IDOK, 1980, 3180, 1275, 315, L"OK"},
};

bool IsChecked(HWND dialog, int id) {
    return SendMessageW(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

class Dialogs : public RealProgram {
protected:
    std::wstring Item(HWND dialog, int id) const { return TextOf(GetDlgItem(dialog, id)); }
    HWND OpenSetup() { return OpenDialog(ID_mnuOptionSetup, kSetupCaption); }
    HWND OpenAbout() { return OpenDialog(ID_mnuAbout, L"About"); }

    // Types a key once the dialog has the keyboard: in front, with the focus
    // on one of its controls (a dialog just shown may be in front a moment
    // before it has set its focus).
    void TypeInto(HWND dialog, WORD modifier, WORD key) {
        ASSERT_TRUE(WaitUntil([&] {
            const HWND focus = FocusIn(dialog);
            return GetForegroundWindow() == dialog && focus && IsChild(dialog, focus);
        }));
        TypeKey(modifier, key);
    }

    void ExpectSetupShows(HWND dialog, const std::wstring& editor, const std::wstring& delay, bool clip,
                          bool tray = false) {
        EXPECT_EQ(Item(dialog, IDC_txtEditName), editor);
        EXPECT_EQ(Item(dialog, IDC_txtDelayTime), delay);
        EXPECT_EQ(IsChecked(dialog, IDC_chkClip), clip);
        EXPECT_EQ(IsChecked(dialog, IDC_chkTray), tray);
    }
    // Opens the setup dialog again, which must show these values, closes it
    // and quits: the store must then hold them.
    void ExpectRunsWithAndStores(const std::wstring& editor, const std::wstring& delay, bool clip, bool tray = false) {
        HWND setup = OpenSetup();
        ASSERT_TRUE(setup);
        ExpectSetupShows(setup, editor, delay, clip, tray);
        ASSERT_TRUE(PressToClose(setup, IDCANCEL));
        ASSERT_TRUE(tovik_.CloseAndWait());
        ExpectStored({{L"Capture", L"DelayTime", delay}, {L"Capture", L"EditerName", editor},
                      {L"Startup", L"TransClipboard", clip ? L"1" : L"0"},
                      {L"Startup", L"TrayIcon", tray ? L"1" : L"0"}});
    }
    void EditSetup(HWND dialog) {
        SetTextOf(GetDlgItem(dialog, IDC_txtEditName), L"C:\\Tools\\edit.exe /n");
        SetTextOf(GetDlgItem(dialog, IDC_txtDelayTime), L"1234");
        SendMessageW(GetDlgItem(dialog, IDC_chkClip), BM_SETCHECK, BST_CHECKED, 0);
        SendMessageW(GetDlgItem(dialog, IDC_chkTray), BM_SETCHECK, BST_CHECKED, 0);
    }
};

TEST_F(Dialogs, SetupShowsTheLiveValuesOkAppliesThemAndCancelOrTheCloseBoxChangeNothing) {
    WriteSetting(L"Capture", L"EditerName", L"mspaint.exe");
    WriteSetting(L"Capture", L"DelayTime", L"3000");
    WriteSetting(L"Startup", L"TransClipboard", L"0");
    ASSERT_TRUE(tovik_.Start());

    for (const bool closeBox : {false, true}) {
        HWND setup = OpenSetup();
        ASSERT_TRUE(setup);
        EXPECT_FALSE(IsWindowEnabled(Main())) << "the main window takes input under the dialog";
        EXPECT_EQ(FocusIn(setup), GetDlgItem(setup, IDC_txtEditName));
        ExpectSetupShows(setup, L"mspaint.exe", L"3000", false);
        EditSetup(setup);
        if (closeBox) PressCloseBox(setup);
        else PressButton(setup, IDCANCEL);
        ASSERT_TRUE(WaitClosed(setup));
    }
    HWND setup = OpenSetup();
    ASSERT_TRUE(setup);
    ExpectSetupShows(setup, L"mspaint.exe", L"3000", false);
    EditSetup(setup);
    ASSERT_TRUE(PressToClose(setup, IDOK));
    EXPECT_TRUE(IsWindowEnabled(Main()));

    ExpectRunsWithAndStores(L"C:\\Tools\\edit.exe /n", L"1234", true, true);   // what the program now runs with
}

// A delay the timer cannot run never reaches it: OK says why, stays in the
// dialog with the delay selected for retyping, and applies none of the three values.
TEST_F(Dialogs, SetupRefusesDelaysTheTimerCannotRunAndAppliesNothing) {
    ASSERT_TRUE(tovik_.Start());
    HWND setup = OpenSetup();
    ASSERT_TRUE(setup);
    MessageBoxes boxes(tovik_.ProcessId());
    SetTextOf(GetDlgItem(setup, IDC_txtEditName), L"changed.exe");
    SendMessageW(GetDlgItem(setup, IDC_chkClip), BM_SETCHECK, BST_UNCHECKED, 0);
    const std::vector<std::wstring> refused{L"abc", L"0", L"-5", L"99999999999", L"１２３", L""};
    HWND delay = GetDlgItem(setup, IDC_txtDelayTime);
    for (size_t i = 0; i < refused.size(); ++i) {
        SetTextOf(delay, refused[i]);
        // The focus elsewhere first, as after typing in the editor's box.
        HWND editor = GetDlgItem(setup, IDC_txtEditName);
        PostMessageW(setup, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(editor), TRUE);
        ASSERT_TRUE(WaitUntil([&] { return FocusIn(setup) == editor; }));
        PressButton(setup, IDOK);
        ASSERT_TRUE(boxes.WaitForCount(i + 1)) << "no message for " << testing::PrintToString(refused[i]);
        EXPECT_EQ(boxes.Seen()[i], (SeenMessage{kSetupCaption, kBadDelay}));
        const int length = static_cast<int>(refused[i].size());
        EXPECT_TRUE(WaitUntil([&] {
            const LRESULT selection = SendMessageW(delay, EM_GETSEL, 0, 0);
            return FocusIn(setup) == delay && LOWORD(selection) == 0 && HIWORD(selection) == length;
        })) << "the delay is not selected for retyping after " << testing::PrintToString(refused[i]);
        EXPECT_TRUE(IsWindowVisible(setup));
    }
    EXPECT_EQ(boxes.Seen().size(), refused.size()) << "more than one message for one OK";

    ASSERT_TRUE(PressToClose(setup, IDCANCEL));
    EXPECT_TRUE(IsWindowEnabled(Main()));
    ExpectRunsWithAndStores(L"Pbrush.exe", L"2000", true);   // the program still answers, and runs with what it had
}

TEST_F(Dialogs, SetupBrowseCancelKeepsTheTypedTextAndAChosenFileReplacesIt) {
    ASSERT_TRUE(tovik_.Start());
    HWND setup = OpenSetup();
    ASSERT_TRUE(setup);
    SetTextOf(GetDlgItem(setup, IDC_txtEditName), L"typed.exe");
    auto openBrowse = [&] {
        PressButton(setup, IDC_cmdRef);
        return WaitForDialog(tovik_.ProcessId(), kBrowseCaption);
    };

    HWND browse = openBrowse();
    ASSERT_TRUE(browse);
    EXPECT_EQ(TextOf(FileNameBox(browse)), L"*.exe");
    HWND types = GetDlgItem(browse, 0x470);   // cmb1
    EXPECT_EQ(SendMessageW(types, CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(TextOf(types), L"実行ﾌｧｲﾙ(*.exe) ");   // the blank before the bar belongs to the name
    ASSERT_TRUE(PressToClose(browse, IDCANCEL));
    EXPECT_EQ(Item(setup, IDC_txtEditName), L"typed.exe");

    browse = openBrowse();
    ASSERT_TRUE(browse);
    const std::wstring chosen = DistFolder() + L"Tovik.exe";
    PickFileType(browse, 2);   // all files
    SetTextOf(FileNameBox(browse), chosen);
    ASSERT_TRUE(PressToClose(browse, IDOK));
    EXPECT_EQ(_wcsicmp(Item(setup, IDC_txtEditName).c_str(), chosen.c_str()), 0)
        << testing::PrintToString(Item(setup, IDC_txtEditName));
    // The next browse of this opening selects the file type chosen there.
    browse = openBrowse();
    ASSERT_TRUE(browse);
    EXPECT_EQ(SelectedFileType(browse), 2);
    ASSERT_TRUE(PressToClose(browse, IDCANCEL));
    ASSERT_TRUE(PressToClose(setup, IDCANCEL));
}

// Tovik.lnk in the user's Startup folder, which Windows opens at logon;
// removed when the test ends.
class StartupShortcut {
public:
    StartupShortcut() { DeleteFileW(path_.c_str()); }
    ~StartupShortcut() { DeleteFileW(path_.c_str()); }
    StartupShortcut(const StartupShortcut&) = delete;
    StartupShortcut& operator=(const StartupShortcut&) = delete;
    const std::wstring& Path() const { return path_; }
    std::wstring Target() const { return platform::ShortcutTarget(path_).value_or(L"<none>"); }
    // The show command, from the file's header (a 32-bit number at byte 0x3C).
    DWORD ShowCommand() const {
        std::ifstream file(std::filesystem::path(path_), std::ios::binary);
        unsigned char header[0x40] = {};
        file.read(reinterpret_cast<char*>(header), sizeof header);
        return header[0x3C] | header[0x3D] << 8 | header[0x3E] << 16 | static_cast<DWORD>(header[0x3F]) << 24;
    }

private:
    const platform::ComApartment com_;
    std::wstring path_ = platform::WithTrailingBackslash(platform::StartupFolder().value_or(L"")) + L"Tovik.lnk";
};

// Ticked, OK makes the shortcut, which starts this Tovik minimised without
// the focus, and the box shows it ticked from then on; cleared, OK removes
// it. A shortcut of another copy of Tovik shows as not ticked and stays
// until the box is ticked.
TEST_F(Dialogs, StartAtLogonMakesTheStartupShortcutAndClearingItRemovesIt) {
    const StartupShortcut shortcut;
    const std::wstring other = L"C:\\Other\\Tovik.exe";
    ASSERT_EQ(platform::SaveShortcut(shortcut.Path(), {other, L"C:\\Other", SW_SHOWNORMAL}), S_OK);
    ASSERT_TRUE(tovik_.Start());
    auto setAndPressOk = [&](bool shownTicked, bool tick) {
        HWND setup = OpenSetup();
        ASSERT_TRUE(setup);
        EXPECT_EQ(IsChecked(setup, IDC_chkStartAtLogon), shownTicked);
        SendMessageW(GetDlgItem(setup, IDC_chkStartAtLogon), BM_SETCHECK, tick ? BST_CHECKED : BST_UNCHECKED, 0);
        ASSERT_TRUE(PressToClose(setup, IDOK));
        ASSERT_TRUE(SendMessageTimeoutW(Main(), WM_NULL, 0, 0, SMTO_NORMAL, 5000, nullptr));   // OK's work is done
    };
    setAndPressOk(false, false);
    EXPECT_EQ(shortcut.Target(), other);

    setAndPressOk(false, true);
    EXPECT_EQ(_wcsicmp(shortcut.Target().c_str(), (DistFolder() + L"Tovik.exe").c_str()), 0)
        << testing::PrintToString(shortcut.Target());
    EXPECT_EQ(shortcut.ShowCommand(), static_cast<DWORD>(SW_SHOWMINNOACTIVE));

    setAndPressOk(true, false);
    EXPECT_EQ(shortcut.Target(), L"<none>");
    setAndPressOk(false, false);
}

// Delete, Ctrl+A and Ctrl+V are also the main window's shortcuts (Clear,
// Save As, delayed capture); typed in the dialog they edit the text only.
TEST_F(Dialogs, KeysTypedInTheSetupTextBoxesEditTheTextAndRunNoCommand) {
    WriteSetting(L"Capture", L"DelayTime", L"1000");
    ASSERT_TRUE(tovik_.Start());
    PutTextOnClipboard(L"4321");
    HWND setup = OpenSetup();
    ASSERT_TRUE(setup);
    for (const auto& [id, accessKey] : {std::pair{IDC_txtEditName, 'E'}, std::pair{IDC_txtDelayTime, 'T'}}) {
        TypeInto(setup, VK_MENU, accessKey);   // the label's access key
        ASSERT_TRUE(WaitUntil([&] { return FocusIn(setup) == GetDlgItem(setup, id); }));
        TypeInto(setup, VK_CONTROL, 'A');
        TypeInto(setup, 0, VK_DELETE);
        TypeInto(setup, VK_CONTROL, 'V');
        EXPECT_TRUE(WaitUntil([&] { return Item(setup, id) == L"4321"; }))
            << "the text box shows " << testing::PrintToString(Item(setup, id));
    }
    // Tab walks the controls in their designed order, around and back.
    for (int id : {IDOK, IDCANCEL, IDC_chkClip, IDC_hkyRectangle, IDC_hkyWindow, IDC_hkyDesktop, IDC_hkyDelayActive,
                   IDC_hkyDelayDesktop, IDC_chkStartAtLogon, IDC_chkTray, IDC_txtEditName, IDC_cmdRef,
                   IDC_txtDelayTime}) {
        TypeInto(setup, 0, VK_TAB);
        EXPECT_TRUE(WaitUntil([&] { return FocusIn(setup) == GetDlgItem(setup, id); })) << "Tab missed control " << id;
    }
    // A delayed capture started by Ctrl+V would hide the main window after
    // 1000 ms and put a picture on the clipboard.
    EXPECT_FALSE(WaitUntil([&] { return !IsWindowVisible(Main()); }, 2500)) << "Ctrl+V ran a delayed capture";
    EXPECT_EQ(ClipboardText(), L"4321");
    EXPECT_TRUE(IsWindow(setup)) << "a key closed the dialog";

    TypeInto(setup, 0, VK_RETURN);   // OK is the default button
    ASSERT_TRUE(WaitClosed(setup));
    ASSERT_TRUE(tovik_.CloseAndWait());
    EXPECT_EQ(Stored(L"Capture", L"DelayTime"), L"4321");
    EXPECT_EQ(Stored(L"Capture", L"EditerName"), L"4321");
}

// Whether some program holds the hotkey: the test asks Windows for it.
bool HotkeyHeld(UINT modifiers, UINT key) {
    if (!RegisterHotKey(nullptr, 0xB000, modifiers, key)) return true;
    UnregisterHotKey(nullptr, 0xB000);
    return false;
}

// A hotkey control's key: HOTKEYF_ modifiers high, the key low (whether it is an extended key left out).
WORD HotkeyShown(HWND dialog, int id) {
    return static_cast<WORD>(SendMessageW(GetDlgItem(dialog, id), HKM_GETHOTKEY, 0, 0)) & ~(HOTKEYF_EXT << 8);
}

// The hotkeys in the setup dialog: it shows the keys in effect and lets go
// of them while it is up, so a control can take them; Cancel registers the
// keys as they were, OK the new set at once, whose texts the store gets.
// PrintScreen comes to a control as Windows gives it: only its release.
// A key Tovik cannot have, or one for two commands, is refused.
TEST_F(Dialogs, SetupHotkeysOkRegistersTheNewSetAtOnceAndCancelChangesNothing) {
    ASSERT_TRUE(tovik_.Start());
    const WORD ctrlShiftF9 = MAKEWORD(VK_F9, HOTKEYF_CONTROL | HOTKEYF_SHIFT);
    auto changeRectangle = [&](HWND setup) {
        TypeInto(setup, VK_MENU, 'R');   // the label's access key
        ASSERT_TRUE(WaitUntil([&] { return FocusIn(setup) == GetDlgItem(setup, IDC_hkyRectangle); }));
        TypeKey({VK_CONTROL, VK_SHIFT}, VK_F9);
        ASSERT_TRUE(WaitUntil([&] { return HotkeyShown(setup, IDC_hkyRectangle) == ctrlShiftF9; }));
    };
    for (const bool ok : {false, true}) {
        SCOPED_TRACE(ok ? "OK" : "Cancel");
        HWND setup = OpenSetup();
        ASSERT_TRUE(setup);
        EXPECT_EQ(HotkeyShown(setup, IDC_hkyRectangle), MAKEWORD(VK_SNAPSHOT, HOTKEYF_CONTROL));
        EXPECT_EQ(HotkeyShown(setup, IDC_hkyWindow), MAKEWORD(VK_SNAPSHOT, HOTKEYF_CONTROL | HOTKEYF_ALT));
        EXPECT_EQ(HotkeyShown(setup, IDC_hkyDesktop), MAKEWORD(VK_SNAPSHOT, HOTKEYF_CONTROL | HOTKEYF_SHIFT));
        EXPECT_EQ(HotkeyShown(setup, IDC_hkyDelayActive), 0);
        EXPECT_EQ(HotkeyShown(setup, IDC_hkyDelayDesktop), 0);
        EXPECT_FALSE(HotkeyHeld(MOD_CONTROL, VK_SNAPSHOT)) << "Tovik keeps its hotkeys while the dialog is up";
        ASSERT_NO_FATAL_FAILURE(changeRectangle(setup));
        if (!ok) {
            ASSERT_TRUE(PressToClose(setup, IDCANCEL));
            EXPECT_TRUE(HotkeyHeld(MOD_CONTROL, VK_SNAPSHOT)) << "Cancel: the old key is no longer Tovik's";
            EXPECT_FALSE(HotkeyHeld(MOD_CONTROL | MOD_SHIFT, VK_F9)) << "Cancel: the new key is Tovik's";
            continue;
        }
        MessageBoxes boxes(tovik_.ProcessId());
        PostMessageW(GetDlgItem(setup, IDC_hkyDelayDesktop), WM_KEYUP, VK_SNAPSHOT, 0xC1370001);
        EXPECT_TRUE(WaitUntil([&] { return HotkeyShown(setup, IDC_hkyDelayDesktop) == MAKEWORD(VK_SNAPSHOT, 0); }));
        for (const auto& [typed, refusal] :
             {std::pair{MAKEWORD('Q', 0), L"「ﾃﾞｨﾚｲｷｬﾌﾟﾁｬ - ｱｸﾃｨﾌﾞｳｨﾝﾄﾞｳ」のホットキーには、PrintScreen キーか F1～F24 のキー、または "
                                          L"Ctrl か Alt と組み合わせた A～Z か 0～9 のキーを指定してください。"},
              std::pair{ctrlShiftF9, L"「矩形」と「ﾃﾞｨﾚｲｷｬﾌﾟﾁｬ - ｱｸﾃｨﾌﾞｳｨﾝﾄﾞｳ」に同じホットキーが指定されています。"}}) {
            SendMessageW(GetDlgItem(setup, IDC_hkyDelayActive), HKM_SETHOTKEY, typed, 0);
            const size_t before = boxes.Seen().size();
            PressButton(setup, IDOK);
            ASSERT_TRUE(boxes.WaitForCount(before + 1));
            EXPECT_EQ(boxes.Seen().back().text, refusal);
            EXPECT_TRUE(WaitUntil([&] { return FocusIn(setup) == GetDlgItem(setup, IDC_hkyDelayActive); }));
        }
        SendMessageW(GetDlgItem(setup, IDC_hkyDelayActive), HKM_SETHOTKEY, 0, 0);
        ASSERT_TRUE(PressToClose(setup, IDOK));
        EXPECT_FALSE(HotkeyHeld(MOD_CONTROL, VK_SNAPSHOT)) << "OK: the old key is still Tovik's";
        EXPECT_EQ(boxes.Seen().size(), 2u) << "a message after OK";
    }
    // The new key works.
    TypeKey({VK_CONTROL, VK_SHIFT}, VK_F9);
    HWND overlay = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (overlay = tovik_.FindTopLevel(TOVIK_CLASS_DESKTOP)) != nullptr; }))
        << "Ctrl+Shift+F9 ran no rectangle capture";
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == overlay; }));
    TypeKey(0, VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(Main()) && !IsWindow(overlay); }));
    ASSERT_TRUE(tovik_.CloseAndWait());
    ExpectStored({{L"Hotkeys", L"Rectangle", L"Ctrl+Shift+F9"}, {L"Hotkeys", L"ActiveWindow", L"Ctrl+Alt+PrintScreen"},
                  {L"Hotkeys", L"Desktop", L"Ctrl+Shift+PrintScreen"}, {L"Hotkeys", L"DelayActiveWindow", L""},
                  {L"Hotkeys", L"DelayDesktop", L"PrintScreen"}});
}

// The rule under the credits: a line in the window-text colour and a line in
// the window colour one pixel below it.
void ExpectEngravedRule(HWND about) {
    auto pixel = [](int index) {
        const COLORREF c = GetSysColor(index);
        return Rgb(GetRValue(c), GetGValue(c), GetBValue(c));
    };
    POINT origin{0, 0};
    ClientToScreen(about, &origin);
    const int left = TwipsToPixels(60), right = TwipsToPixels(5220), y = TwipsToPixels(1680);
    EXPECT_TRUE(WaitUntil([&] {
        const Pixels p = ReadScreen({origin.x + left, origin.y + y, origin.x + right, origin.y + y + 2});
        return p.width == right - left &&
               Mismatches(p, [&](int, int row) { return pixel(row == 0 ? COLOR_WINDOWTEXT : COLOR_WINDOW); }) == 0;
    })) << "no engraved rule from " << left << " to " << right << " at " << y;
}

TEST_F(Dialogs, AboutShowsTheVersionCentredAndTheSameEachTime) {
    ASSERT_TRUE(tovik_.Start());
    // Away from the centre, so a box placed over its owner would show.
    SetWindowPos(Main(), nullptr, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    std::vector<std::wstring> first;
    for (const bool enter : {true, false}) {
        HWND about = OpenAbout();
        ASSERT_TRUE(about);
        EXPECT_FALSE(IsWindowEnabled(Main()));
        std::vector<std::wstring> shown;
        for (int id : {IDC_About_Label1, IDC_lblVersion, IDC_About_Label3, IDC_About_Label4, IDC_About_Label5,
                       IDC_About_Label2})
            shown.push_back(Item(about, id));
        EXPECT_EQ(shown[1], L"Ver 2.3.0");
        if (first.empty()) first = shown;
        else EXPECT_EQ(shown, first);

        const RECT r = OuterRect(about);
        EXPECT_LE(std::abs(r.left - (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2), 1);
        EXPECT_LE(std::abs(r.top - (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2), 1);
        EXPECT_EQ(FocusIn(about), GetDlgItem(about, IDOK));
        if (enter) {
            ExpectEngravedRule(about);
            TypeInto(about, 0, VK_RETURN);
        } else {
            PressCloseBox(about);
        }
        ASSERT_TRUE(WaitClosed(about));
        EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(Main()) != FALSE; }));
    }
}

// Both dialogs are designed in twips: every control sits at its designed
// place at the resolution the program runs at, and the boxes stay centred
// on the screen, owned by the main window (no taskbar button of their own).
// (Their icon cannot be read from another process under Wine.)
class DialogResolution : public Dialogs, public ::testing::WithParamInterface<int> {};

TEST_P(DialogResolution, ControlsSitAtTheirTwipsPlaces) {
    const int dpi = GetParam();
    auto px = [dpi](int twips) { return TwipsToPixels(twips, dpi); };
    ASSERT_TRUE(tovik_.StartAtDpi(dpi));
    struct Box {
        int command;
        const wchar_t* caption;
        SIZE client;
        const std::vector<Designed>* design;
        bool labelsMayGrow;   // the about box's labels grow when a substituted font is taller
    };
    for (const Box& box : {Box{ID_mnuOptionSetup, L"設定", {6345, 6810}, &kSetupDesign, false},
                           Box{ID_mnuAbout, L"About", {5325, 3675}, &kAboutDesign, true}}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(box.caption)));
        HWND dialog = OpenDialog(box.command, box.caption);
        ASSERT_TRUE(dialog);
        const SIZE client = ClientSize(dialog);
        EXPECT_EQ(client.cx, px(box.client.cx));
        EXPECT_EQ(client.cy, px(box.client.cy));
        for (const Designed& d : *box.design) {
            const RECT r = RectInClient(dialog, GetDlgItem(dialog, d.id));
            EXPECT_EQ(r.left, px(d.left)) << "control " << d.id;
            EXPECT_EQ(r.top, px(d.top)) << "control " << d.id;
            EXPECT_EQ(r.right - r.left, px(d.width)) << "control " << d.id;
            if (box.labelsMayGrow && d.id != IDOK) EXPECT_GE(r.bottom - r.top, px(d.height)) << "control " << d.id;
            else EXPECT_EQ(r.bottom - r.top, px(d.height)) << "control " << d.id;
            if (d.caption) {
                EXPECT_EQ(Item(dialog, d.id), d.caption);
            }
        }
        const RECT outer = OuterRect(dialog);
        EXPECT_LE(std::abs(outer.left - (GetSystemMetrics(SM_CXSCREEN) - (outer.right - outer.left)) / 2), 1);
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), Main());
        const LONG_PTR style = GetWindowLongPtrW(dialog, GWL_STYLE);
        EXPECT_TRUE(style & WS_SYSMENU);
        EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
        EXPECT_FALSE(GetWindowLongPtrW(dialog, GWL_EXSTYLE) & WS_EX_APPWINDOW);
        ASSERT_TRUE(PressToClose(dialog, IDCANCEL));
    }
}

INSTANTIATE_TEST_SUITE_P(Dialogs, DialogResolution, ::testing::Values(96, 144));

// Tovik.html beside the program while this lives, or away from it; what was
// there before comes back.
class HelpPage {
public:
    explicit HelpPage(bool present) {
        const bool existed = Exists(path_);
        if (existed && !present) movedAway_ = MoveFileW(path_.c_str(), (path_ + L".away").c_str()) != FALSE;
        if (!existed && present) created_ = bool(std::ofstream(std::filesystem::path(path_)) << "<html></html>\n");
    }
    ~HelpPage() {
        if (created_) DeleteFileW(path_.c_str());
        if (movedAway_) MoveFileW((path_ + L".away").c_str(), path_.c_str());
    }
    HelpPage(const HelpPage&) = delete;
    HelpPage& operator=(const HelpPage&) = delete;
    const std::wstring& Path() const { return path_; }

private:
    std::wstring path_ = DistFolder() + L"Tovik.html";
    bool created_ = false, movedAway_ = false;
};

// Without the classic help viewer's file the help is the page beside the
// program, in the user's browser; without the page, one message says so.
TEST_F(Dialogs, HelpOpensThePageInTheDefaultBrowserAndReportsAMissingOne) {
    const PagesOpenWithRecorder browser;
    ASSERT_TRUE(tovik_.Start());
    MessageBoxes boxes(tovik_.ProcessId());
    {
        const HelpPage page(true);
        tovik_.Command(ID_mnuContents);
        std::optional<std::wstring> opened;
        ASSERT_TRUE(WaitUntil([&] { return (opened = browser.Opened()).has_value(); })) << "no browser started";
        EXPECT_EQ(_wcsicmp(opened->c_str(), (L"\"" + page.Path() + L"\"").c_str()), 0) << testing::PrintToString(*opened);
        DeleteFileW(browser.Record().c_str());
    }
    const HelpPage page(false);
    tovik_.Command(ID_mnuContents);
    ASSERT_TRUE(boxes.WaitForCount(1));
    EXPECT_EQ(boxes.Seen()[0], (SeenMessage{L"Error", platform::SystemErrorText(ERROR_FILE_NOT_FOUND)}));
    EXPECT_FALSE(WaitUntil([&] { return boxes.Seen().size() > 1 || browser.Opened(); }, 1000))
        << "a second message, or a browser without a page";
}

}  // namespace
