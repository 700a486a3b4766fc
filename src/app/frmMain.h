// The main window: start-up and shutdown, the options it keeps, its menu,
// toolbar and image (the hidden buffer Picture2 and the view Picture1).
#pragma once
#include "app/FileArrayMenu.h"
#include "app/Hotkeys.h"
#include "app/Settings.h"
#include "capture/CaptureHost.h"
#include "imagefiles/FileDialogs.h"
#include "imagefiles/PictureFiles.h"
#include "model/ImageModel.h"
#include "platform/system/Printer.h"
#include "platform/ui/Controls.h"
#include "platform/ui/NotifyIcon.h"
#include "platform/ui/PictureBox.h"
#include "platform/ui/Window.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace app {

class frmMain : public platform::Window, public model::ImageModel, public capture::Host {
public:
    frmMain() = default;
    ~frmMain() override;

    // Creates the window hidden and applies the stored settings. S_OK, or
    // why there is no main window (no window, no memory for the picture).
    [[nodiscard]] HRESULT Form_Load();
    // The layout rule: the view fills the client area and shows the buffer's top-left part.
    void Form_Resize();
    void Form_Activate();
    // Writes every setting back and deletes the temporary bitmap. Runs once,
    // at the close or when the session ends, whichever comes first.
    void Form_Unload();

    HACCEL Accelerators() const { return accelerators_; }

    // The image as the commands see it.
    platform::PictureBox& Picture1() override { return picture1_; }
    platform::PictureBox& Picture2() override { return picture2_; }
    HWND Owner() const override { return hwnd(); }

    // What the captures need of the main window.
    model::ImageModel& Image() override { return *this; }
    capture::SharedState& Shared() override;
    bool HideMain() override;
    // Shown and brought to the front, as far as Windows lets the program
    // the user has just used come back; after a hotkey pressed in another
    // program, shown where it was and that program keeps the keyboard. One
    // that was not on the screen stays as it was.
    void ShowMain() override;
    HWND UserWindow() const override { return capturing_ ? capturing_->userWindow : nullptr; }

    // True while the main window shows on the screen: visible and not
    // minimised. Hidden (as in the notification area), it is not.
    bool MainOnScreen() const { return IsVisible() && !IsMinimized(); }
    // True from a capture's start until the main window has come back.
    bool CaptureRunning() const { return capturing_.has_value(); }

    // The options, read at start and stored at exit.
    settings::LiveOptions Options;
    // The file dialogs' memory: the path last chosen.
    imagefiles::CommonDialogState CommonDialog1;

    // Menu commands.
    void mnuOpen_Click();
    void mnuSaveAs_Click();
    void mnuPrintSetup_Click();
    void mnuPrint_Click();
    void mnuPbrush_Click();
    void mnuFileArray_Click(int index);
    void mnuExit_Click();
    // The capture commands; from the menu, they first let the clicked item fade out.
    using ChosenFrom = capture::ChosenFrom;
    void mnuRectangle_Click(ChosenFrom from = ChosenFrom::ToolbarOrShortcut);
    void mnuWindow_Click(ChosenFrom from = ChosenFrom::ToolbarOrShortcut);
    void mnuDesktop_Click(ChosenFrom from = ChosenFrom::ToolbarOrShortcut);
    void mnuDelayActive_Click(ChosenFrom from = ChosenFrom::ToolbarOrShortcut);
    void mnuDelayDesktop_Click(ChosenFrom from = ChosenFrom::ToolbarOrShortcut);
    void mnuClear_Click();
    void mnuOption_Click();
    void mnuOptionMouseCapt_Click();
    void mnuOptionSetup_Click();
    void mnuContents_Click();
    void mnuAbout_Click();
    void Toolbar1_ButtonClick(std::wstring_view key);

    // Reads the picture into the image and, when that worked, adds the path
    // to the recent files; failures are reported to the user.
    void LoadImageFile(const std::wstring& path);
    // Adds the path to the recent-files list of the File menu.
    void AddRecentFile(const std::wstring& path);

    // Minimised with the option on, the window leaves the taskbar for an
    // icon in the notification area, and waits there until the user brings
    // it back; captures chosen from the icon's menu leave it there.
    bool InTray() const { return trayIcon_.Shown(); }
    void TrayIcon_Click();
    void TrayIcon_ContextMenu();
    // The icon's menu: the immediate captures and Exit, captioned as in the window's menu.
    platform::PopupMenu TrayMenu() const;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // What the user does on the icon reaches the window as this message, the
    // mouse message (WM_LBUTTONUP, WM_RBUTTONUP) in lParam.
    static constexpr UINT kTrayIconMessage = WM_APP + 0x41;
    // Posted when the window has been minimised: it goes to the notification
    // area once the minimising is over.
    static constexpr UINT kGoToTray = WM_APP + 0x42;

    bool CreateControls();
    // Places the toolbar and the view where the design puts them, in twips,
    // at the resolution of the monitor the window is on.
    void LayOutControls();
    void ApplyStoredGeometry(const settings::Options& options);
    // fromMenu: chosen in the menu, not by a shortcut or a toolbar button.
    void OnCommand(int id, bool fromMenu);
    void PaintEtchedRule();
    void GoToTray();
    void ComeBackFromTray();
    void Taskbar_Created();
    // A hotkey pressed: runs its capture command, unless Tovik is busy
    // with another capture, a dialog, a message or its menu.
    void OnHotkey(int command);
    // Registers the hotkeys of Options; which of them Windows refused.
    settings::HotkeyFlags RegisterHotkeys();
    // The message naming the keys of `held`, each with its command, unless
    // the user was last told of just these (Options.HeldElsewhere, which
    // then remembers them); empty when there is nothing to tell. Windows
    // does not name the program that holds a key: a holder counts as the
    // same while it holds the same keys. At start, keys found free leave
    // the memory as it was: their holder may only not have started yet.
    std::wstring HeldHotkeysNews(const settings::HotkeyFlags& held, bool atStart);

    platform::PictureBox picture1_;
    platform::PictureBox picture2_;
    platform::ImageList imageList1_;
    platform::Toolbar toolbar1_;
    HACCEL accelerators_ = nullptr;
    HMENU optionMenu_ = nullptr;   // mnuOption, recognised when it opens
    int dpi_ = 96;                 // the resolution the controls are laid out at
    FileArrayMenu mnuFileArray_;
    imagefiles::JpegConverter converter_;
    platform::PrinterChoice printer_;   // chosen in print setup, for this run only
    platform::NotifyIcon trayIcon_;
    bool trayMenuUp_ = false;   // the icon's menu, or the command chosen in it, is running
    bool loaded_ = false;
    bool unloaded_ = false;

    // How the capture now running found the main window and the user, so
    // that both come back as they were.
    struct CaptureStart {
        bool mainShown = false;      // on the screen: hidden for the capture and shown again
        HWND userWindow = nullptr;   // the user's, chosen from outside Tovik: it keeps, or gets back, the keyboard
    };
    std::optional<CaptureStart> capturing_;   // from the main window's hiding until its return
    HWND userWindow_ = nullptr;               // the user's window for the command being chosen from outside Tovik
    HotkeyRegistrations hotkeys_;
    std::wstring heldHotkeysNews_;            // for the user once the window is up
};

}  // namespace app
