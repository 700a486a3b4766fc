#include "app/frmMain.h"

#include "app/Module2.h"
#include "capture/DelayedCapture.h"
#include "capture/frmDesktop.h"
#include "capture/frmSize.h"
#include "imagefiles/FileNames.h"
#include "platform/owners/Gdi.h"
#include "platform/portable/Twips.h"
#include "platform/system/Compositor.h"
#include "platform/system/Files.h"
#include "platform/system/Screen.h"
#include "platform/system/SettingsStore.h"
#include "platform/ui/Messages.h"
#include "resources/resource.h"

#include <algorithm>
#include <array>
#include <utility>

namespace app {

namespace {

constexpr COLORREF kPictureBackground = RGB(128, 128, 128);
// How long the exit waits for a converter that is still running.
constexpr DWORD kConverterExitWait = 5000;

// The design of the controls, in twips: left, top, width, height.
struct TwipsBox { int left, top, width, height; };
constexpr TwipsBox kToolbar1{-15, 60, 4635, 390};
constexpr TwipsBox kPicture2{3540, 480, 375, 2295};
constexpr TwipsBox kPicture1{0, 480, 3495, 2295};
constexpr int kToolbarButtonWidth = 360, kToolbarButtonHeight = 330;   // 24 x 22 pixels at 96 dpi
constexpr int kLine1Left = -240, kLine1Y = 0, kLine2Left = -180, kLine2Y = 15;

// Toolbar1's buttons in order; a button's command id is ID_Toolbar1 + index.
struct ToolbarEntry {
    int index;
    const wchar_t* key;   // nullptr for a separator
    int image;            // 1-based in ImageList1
    UINT tooltip;
    bool checkStyle;
};
constexpr std::array<ToolbarEntry, 13> kToolbarButtons{{
    {1, nullptr, 0, 0, false},
    {2, L"Open", 1, IDS_TIP_OPEN, false},
    {3, L"Save", 2, IDS_TIP_SAVE, false},
    {4, L"Print", 3, IDS_TIP_PRINT, false},
    {5, nullptr, 0, 0, false},
    {6, L"Rect", 4, IDS_TIP_RECT, false},
    {7, L"Window", 5, IDS_TIP_WINDOW, false},
    {8, L"DeskTop", 6, IDS_TIP_DESKTOP, false},
    {9, L"Delay", 7, IDS_TIP_DELAY, false},
    {10, nullptr, 0, 0, false},
    {11, L"Pbrush", 8, IDS_TIP_PBRUSH, false},
    {12, nullptr, 0, 0, false},
    {13, L"Mouse", 9, IDS_TIP_MOUSE, true},
}};
constexpr int kMouseButtonCommand = ID_Toolbar1 + 13;

// Posted by the load: shows the message about hotkeys another program holds once the window is up.
constexpr UINT kTellHeldHotkeys = WM_APP + 1;

const ToolbarEntry* ToolbarEntryFor(int command) {
    for (const auto& entry : kToolbarButtons)
        if (ID_Toolbar1 + entry.index == command && entry.key) return &entry;
    return nullptr;
}

double TwipsPerPixelX() { return platform::twips::PerPixel(platform::ScreenDpiX()); }
double TwipsPerPixelY() { return platform::twips::PerPixel(platform::ScreenDpiY()); }

// ImageList1: the toolbar art drawn nearest the size the resolution asks for.
platform::ImageList ToolbarImagesFor(int dpi) {
    const int size = dpi >= 192 ? 32 : dpi >= 144 ? 24 : 16;
    const UINT resource = size == 32 ? IDB_TOOLBAR32 : size == 24 ? IDB_TOOLBAR24 : IDB_TOOLBAR;
    return platform::LoadImageListResource(resource, size, size, RGB(192, 192, 192));
}

}  // namespace

frmMain::~frmMain() {
    // The overlay and a delayed capture's wait never outlive the window whose image they capture into.
    capture::DiscardDelayedCapture();
    capture::UnloadDesktop();
    hotkeys_.UnregisterAll();
    Destroy();
}

capture::SharedState& frmMain::Shared() { return ProgramState(); }

HRESULT frmMain::Form_Load() {
    const platform::WindowClassInfo info{TOVIK_CLASS_MAIN, 0,
                                         platform::LoadIconResource(IDI_TOVIK, 32),
                                         platform::LoadIconResource(IDI_TOVIK, 16), nullptr,
                                         reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)};
    const std::wstring caption = platform::LoadText(IDS_MAIN_CAPTION);
    RETURN_IF_WIN32_BOOL_FALSE(CreateWindowOf(info, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, caption.c_str(), 0, 0,
                                              300, 200, nullptr, platform::LoadMenuResource(IDR_MAINMENU)));
    // Hidden at once before every capture: a fade would still be on the screen the capture reads.
    platform::DisableTransitions(hwnd());
    accelerators_ = platform::LoadAcceleratorResource(IDR_ACCELERATORS);
    optionMenu_ = GetSubMenu(GetMenu(hwnd()), 2);
    mnuFileArray_.Attach(GetSubMenu(GetMenu(hwnd()), 0));
    RETURN_IF_WIN32_BOOL_FALSE(CreateControls());

    Module2& shared = ProgramState();
    shared.DesktopRect = platform::DesktopRectangle();
    const RECT& screen = shared.DesktopRect;
    if (!Picture2().SetOuterSize(screen.right - screen.left, screen.bottom - screen.top))
        return platform::FailureOf(ERROR_NOT_ENOUGH_MEMORY);   // no memory for the picture of a screen this size

    const settings::Options options = settings::ReadOptions(
        [](const std::wstring& section, const std::wstring& key) {
            return platform::GetSetting(settings::kApplication, section, key);
        },
        platform::ProgramFolder());
    ApplyStoredGeometry(options);
    Options = options.live;
    for (const auto& path : options.recentFiles) AddRecentFile(path);
    // For the whole run, whether the window is in front, behind others or minimised.
    heldHotkeysNews_ = HeldHotkeysNews(RegisterHotkeys(), true);
    if (!heldHotkeysNews_.empty()) PostMessageW(hwnd(), kTellHeldHotkeys, 0, 0);

    capture::SizeForm().Form_Load();   // hidden until a rectangle selection needs it
    loaded_ = true;
    return S_OK;
}

void frmMain::ApplyStoredGeometry(const settings::Options& options) {
    const settings::PixelBounds bounds = settings::ToPixelBounds(
        options, TwipsPerPixelX(), TwipsPerPixelY(), GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK));
    settings::PixelBounds place = bounds;
    auto outer = [&place] { return RECT{place.left, place.top, place.left + place.width, place.top + place.height}; };
    // A window stored where no monitor is now (a monitor removed, a
    // resolution lowered, a value edited by hand) could never be reached:
    // bring it back to the primary monitor's top-left corner.
    if (!platform::IsOnAnyMonitor(outer())) {
        const RECT work = platform::PrimaryWorkArea();
        place.left = work.left;
        place.top = work.top;
    }
    // One left with only a sliver on a monitor, or with its title bar out of
    // reach, comes back whole on that monitor.
    const RECT work = platform::NearestWorkArea(outer());
    const int titleHeight = GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CXPADDEDBORDER) +
                            GetSystemMetrics(SM_CYCAPTION);
    place = settings::WithinReach(place, {work.left, work.top, work.right, work.bottom}, titleHeight);
    // Exactly this rectangle: on a monitor of another resolution the system
    // suggests a size scaled once more while the window moves there, which
    // the handler below does not take during the load.
    SetOuterBounds(place.left, place.top, place.width, place.height);
}

bool frmMain::CreateControls() {
    dpi_ = platform::WindowDpi(hwnd());
    imageList1_ = ToolbarImagesFor(dpi_);
    std::vector<platform::ToolbarButton> buttons;
    for (const auto& entry : kToolbarButtons)
        buttons.push_back({entry.key ? ID_Toolbar1 + entry.index : 0, entry.image - 1, entry.key == nullptr,
                           entry.checkStyle});
    auto px = [this](int twips) { return platform::twips::AtDpi(twips, dpi_); };
    const bool made =
        toolbar1_.Create(hwnd(), IDC_Toolbar1, px(kToolbar1.left), px(kToolbar1.top), px(kToolbar1.width),
                         px(kToolbar1.height), imageList1_.get(),
                         {px(kToolbarButtonWidth), px(kToolbarButtonHeight)}, buttons) &&
        // The buffer, never shown.
        picture2_.Create(hwnd(), px(kPicture2.left), px(kPicture2.top), px(kPicture2.width), px(kPicture2.height),
                         false, kPictureBackground) &&
        picture1_.Create(hwnd(), px(kPicture1.left), px(kPicture1.top), px(kPicture1.width), px(kPicture1.height),
                         true, kPictureBackground);
    return made;
}

void frmMain::LayOutControls() {
    dpi_ = platform::WindowDpi(hwnd());
    auto px = [this](int twips) { return platform::twips::AtDpi(twips, dpi_); };
    platform::ImageList images = ToolbarImagesFor(dpi_);
    if (images.get()) {
        toolbar1_.SetImages(images.get(), {px(kToolbarButtonWidth), px(kToolbarButtonHeight)});
        imageList1_ = std::move(images);   // the old list goes once the toolbar no longer shows it
    }
    toolbar1_.Place(px(kToolbar1.left), px(kToolbar1.top), px(kToolbar1.width), px(kToolbar1.height));
    picture2_.MoveTo(px(kPicture2.left), px(kPicture2.top));
    picture1_.MoveTo(px(kPicture1.left), px(kPicture1.top));
    Form_Resize();
}

void frmMain::Form_Resize() {
    if (!picture1_.exists()) return;
    const SIZE client = ClientSize();
    // A view that cannot grow (no memory for it) keeps its size and shows what fits.
    (void)picture1_.SetOuterSize(client.cx, client.cy);
    // The etched rule reaches to the outer width in twips, read as pixels:
    // always past the right edge. It is repainted with the window.
    InvalidateRect(hwnd(), nullptr, FALSE);
    picture1_.Cls();
    platform::CopyPixels(picture1_.hDC(), 0, 0, picture1_.OuterWidth(), picture1_.OuterHeight(),
                         picture2_.hDC(), 0, 0);
    picture1_.Refresh();
}

void frmMain::Form_Activate() { Form_Resize(); }

void frmMain::Form_Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    const double tx = TwipsPerPixelX(), ty = TwipsPerPixelY();
    const RECT outer = OuterRect();
    settings::Options stored;
    stored.left = platform::twips::FromPixels(outer.left, tx);
    stored.top = platform::twips::FromPixels(outer.top, ty);
    stored.width = platform::twips::FromPixels(outer.right - outer.left, tx);
    stored.height = platform::twips::FromPixels(outer.bottom - outer.top, ty);
    stored.live = Options;
    stored.recentFiles = recent::Paths(ProgramState(), mnuFileArray_);
    const bool normal = !IsMinimized() && !IsMaximized();
    for (const auto& write : settings::ShutdownWrites(stored, normal))
        platform::SaveSetting(settings::kApplication, write.section, write.key, write.value);

    // A converter started just before the exit may not have read temp.bmp
    // yet, and one that has it open keeps it from being deleted.
    converter_.RemoveTemporaryBitmap(kConverterExitWait);
    capture::DiscardDelayedCapture();
    capture::UnloadDesktop();
    trayIcon_.Remove();
}

void frmMain::PaintEtchedRule() {
    const platform::PaintDC paint(hwnd());
    const RECT outer = OuterRect();
    const int x2 = static_cast<int>(platform::twips::FromPixels(outer.right - outer.left, TwipsPerPixelX()));
    auto px = [this](int twips) { return platform::twips::AtDpi(twips, dpi_); };
    platform::DrawLine(paint.get(), px(kLine1Left), px(kLine1Y), x2, px(kLine1Y), RGB(128, 128, 128));   // Line1
    platform::DrawLine(paint.get(), px(kLine2Left), px(kLine2Y), x2, px(kLine2Y), RGB(255, 255, 255));   // Line2
}

void frmMain::OnCommand(int id, bool fromMenu) {
    const ChosenFrom from = fromMenu ? ChosenFrom::Menu : ChosenFrom::ToolbarOrShortcut;
    if (const ToolbarEntry* entry = ToolbarEntryFor(id)) {
        Toolbar1_ButtonClick(entry->key);
        return;
    }
    if (id > ID_mnuFileArray) {
        mnuFileArray_Click(id - ID_mnuFileArray);
        return;
    }
    switch (id) {
    case ID_mnuOpen: mnuOpen_Click(); break;
    case ID_mnuSaveAs: mnuSaveAs_Click(); break;
    case ID_mnuPrintSetup: mnuPrintSetup_Click(); break;
    case ID_mnuPrint: mnuPrint_Click(); break;
    case ID_mnuPbrush: mnuPbrush_Click(); break;
    case ID_mnuExit: mnuExit_Click(); break;
    case ID_mnuRectangle: mnuRectangle_Click(from); break;
    case ID_mnuWindow: mnuWindow_Click(from); break;
    case ID_mnuDesktop: mnuDesktop_Click(from); break;
    case ID_mnuDelayActive: mnuDelayActive_Click(from); break;
    case ID_mnuDelayDesktop: mnuDelayDesktop_Click(from); break;
    case ID_mnuClear: mnuClear_Click(); break;
    case ID_mnuOptionMouseCapt: mnuOptionMouseCapt_Click(); break;
    case ID_mnuOptionSetup: mnuOptionSetup_Click(); break;
    case ID_mnuContents: mnuContents_Click(); break;
    case ID_mnuAbout: mnuAbout_Click(); break;
    }
}

void frmMain::Toolbar1_ButtonClick(std::wstring_view key) {
    if (key == L"Open") mnuOpen_Click();
    else if (key == L"Save") mnuSaveAs_Click();
    else if (key == L"Print") mnuPrint_Click();
    else if (key == L"Rect") mnuRectangle_Click();
    else if (key == L"Window") mnuWindow_Click();
    else if (key == L"DeskTop") mnuDesktop_Click();
    else if (key == L"Delay") mnuDelayActive_Click();
    else if (key == L"Pbrush") mnuPbrush_Click();
    else if (key == L"Mouse") ProgramState().MouseCapt = static_cast<std::int16_t>(~ProgramState().MouseCapt);
}

void frmMain::AddRecentFile(const std::wstring& path) { recent::AddRecentFile(ProgramState(), mnuFileArray_, path); }

void frmMain::mnuExit_Click() { SendMessageW(hwnd(), WM_CLOSE, 0, 0); }

void frmMain::mnuOption_Click() {
    platform::SetMenuCheck(GetMenu(hwnd()), ID_mnuOptionMouseCapt, ProgramState().MouseCapt != 0);
}

void frmMain::mnuOptionMouseCapt_Click() {
    // As a click on the toolbar's check button: the button flips, and the option with it.
    toolbar1_.SetPressed(kMouseButtonCommand, !toolbar1_.IsPressed(kMouseButtonCommand));
    Toolbar1_ButtonClick(L"Mouse");
}

LRESULT frmMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == platform::TaskbarCreatedMessage()) {
        Taskbar_Created();
        return 0;
    }
    switch (message) {
    case WM_SIZE:
        if (loaded_) Form_Resize();
        if (loaded_ && wParam == SIZE_MINIMIZED && Options.TrayIcon) PostMessageW(hwnd(), kGoToTray, 0, 0);
        return 0;
    case kGoToTray:
        GoToTray();
        return 0;
    case capture::kSelectionEnded:
        capture::EndSelection(*this);
        return 0;
    case kTrayIconMessage:
        if (lParam == WM_LBUTTONUP) TrayIcon_Click();
        else if (lParam == WM_RBUTTONUP) TrayIcon_ContextMenu();
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && loaded_) Form_Activate();
        break;
    case WM_PAINT:
        PaintEtchedRule();
        return 0;
    case WM_COMMAND:
        // A menu sends no notification code and no control; a shortcut sends 1.
        OnCommand(LOWORD(wParam), HIWORD(wParam) == 0 && lParam == 0);
        return 0;
    case WM_HOTKEY:
        OnHotkey(HotkeyRegistrations::CommandOf(wParam));
        return 0;
    case kTellHeldHotkeys:
        if (!heldHotkeysNews_.empty())
            platform::ShowMessage(hwnd(), std::exchange(heldHotkeysNews_, {}), platform::LoadText(IDS_HOTKEYS_TITLE));
        return 0;
    case WM_INITMENUPOPUP:
        if (reinterpret_cast<HMENU>(wParam) == optionMenu_) mnuOption_Click();
        break;
    case WM_DPICHANGED: {
        // Moved to a monitor of another resolution: the window takes the size
        // the system suggests and the controls follow. While the load puts
        // the window where it was stored, the stored rectangle is already the
        // size it had there: taking the suggestion would scale it again at
        // every start.
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        if (loaded_)
            SetOuterBounds(suggested->left, suggested->top, suggested->right - suggested->left,
                           suggested->bottom - suggested->top);
        LayOutControls();
        return 0;
    }
    case WM_DISPLAYCHANGE:
        // A resolution changed or a monitor docked: snapshots and desktop
        // captures take the virtual screen's new place and size.
        ProgramState().DesktopRect = platform::DesktopRectangle();
        break;
    case WM_QUERYENDSESSION:
        return TRUE;   // nothing to ask the user: the settings are written below
    case WM_ENDSESSION:
        // Windows ends the session without closing the window first: the
        // settings are written as at a normal exit.
        if (wParam) Form_Unload();
        return 0;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->code == TTN_GETDISPINFOW) {
            auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
            for (const auto& entry : kToolbarButtons)
                if (entry.key && ID_Toolbar1 + entry.index == static_cast<int>(header->idFrom)) {
                    info->hinst = platform::ModuleInstance();
                    info->lpszText = MAKEINTRESOURCEW(entry.tooltip);
                }
            return 0;
        }
        break;
    }
    case WM_CLOSE:
        Form_Unload();
        Destroy();
        return 0;
    case WM_DESTROY:
        if (unloaded_) PostQuitMessage(0);
        return 0;
    }
    return DefaultHandling(message, wParam, lParam);
}

}  // namespace app
