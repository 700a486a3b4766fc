// The main window's commands that show a dialog or the help.
#include "app/Module2.h"
#include "app/StartAtLogon.h"
#include "app/frmMain.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmSetup.h"
#include "imagefiles/FileNames.h"
#include "platform/system/Files.h"
#include "platform/system/Process.h"
#include "platform/system/Shell.h"
#include "platform/ui/Messages.h"
#include "resources/resource.h"

namespace app {

void frmMain::mnuOptionSetup_Click() {
    const bool startsAtLogon = StartsAtLogon();
    dialogs::SetupValues values{Options.EditerName, Options.DelayTime, Options.TransClipboard, startsAtLogon,
                                Options.TrayIcon};
    // The dialog shows the keys in effect; one another program holds shows as none.
    for (int i = 0; i < settings::kHotkeyCommands; ++i)
        values.Hotkeys[i] = hotkeys_.InEffect(i) ? settings::ToHotkeyControl(Options.Hotkeys[i]) : 0;
    dialogs::frmSetup setup([](WORD hotkey) { return settings::FromHotkeyControl(hotkey).has_value(); });
    // While the dialog is up, a key typed into a hotkey control must reach
    // it, not run Tovik's own hotkey.
    hotkeys_.UnregisterAll();
    HRESULT shown = S_OK;
    try {
        shown = setup.Show(hwnd(), values);
    } catch (...) {
        RegisterHotkeys();
        throw;
    }
    platform::ShowFailure(hwnd(), shown);
    const bool ok = shown == S_OK;
    if (ok) {
        // The store gets them at exit; the next delayed capture, editor
        // launch, opened picture and minimising use them from now on.
        // Moved, not copied: nothing here can fail once the first value is in.
        Options.DelayTime = values.DelayTime;
        Options.EditerName = std::move(values.EditerName);
        Options.TransClipboard = values.TransClipboard;
        Options.TrayIcon = values.TrayIcon;
        for (int i = 0; i < settings::kHotkeyCommands; ++i)
            if (values.HotkeyChanged[i])
                Options.Hotkeys[i] = settings::FromHotkeyControl(values.Hotkeys[i]).value_or(settings::Hotkey{});
        settings::DropRepeatedHotkeys(Options.Hotkeys);
    }
    // OK: the new set at once. Cancel: the keys as they were.
    const settings::HotkeyFlags held = RegisterHotkeys();
    if (!ok) return;
    // The shortcut is touched only when the user changed the tick: a
    // shortcut of another copy of Tovik, shown as not ticked, stays.
    if (values.StartAtLogon != startsAtLogon)
        platform::ShowFailure(hwnd(), SetStartAtLogon(values.StartAtLogon));
    const std::wstring news = HeldHotkeysNews(held, false);
    if (!news.empty()) platform::ShowMessage(hwnd(), news, platform::LoadText(IDS_HOTKEYS_TITLE));
}

void frmMain::mnuAbout_Click() {
    platform::ShowFailure(hwnd(), dialogs::frmAbout().Show(hwnd(), platform::ProgramFile(imagefiles::kConverter)));
}

void frmMain::mnuContents_Click() {
    // The classic help where it can still be shown; elsewhere the same
    // content as a page beside the program, in the user's browser.
    const std::wstring classic = platform::ProgramFile(L"Tovik.hlp");
    if (platform::FileExists(classic) && platform::HasClassicHelpViewer() && platform::ShowHelpTopics(hwnd(), classic))
        return;
    const std::wstring page = platform::ProgramFile(L"Tovik.html");
    platform::ShowFailure(hwnd(), platform::FileExists(page) ? platform::OpenDocument(hwnd(), page)
                                                             : platform::FailureOf(ERROR_FILE_NOT_FOUND));
}

}  // namespace app
