// The main window's commands that show a dialog or the help.
#include "app/Module2.h"
#include "app/StartAtLogon.h"
#include "app/frmMain.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmSetup.h"
#include "imagefiles/FileNames.h"
#include "platform/Files.h"
#include "platform/Messages.h"
#include "platform/Process.h"
#include "platform/Shell.h"

namespace app {

void frmMain::mnuOptionSetup_Click() {
    const bool startsAtLogon = StartsAtLogon();
    dialogs::SetupValues values{Options.EditerName, Options.DelayTime, Options.TransClipboard, startsAtLogon,
                                Options.TrayIcon};
    if (!dialogs::frmSetup().Show(hwnd(), values)) return;
    // The store gets them at exit; the next delayed capture, editor launch,
    // opened picture and minimising use them from now on.
    // Moved, not copied: nothing here can fail once the first value is in.
    Options.DelayTime = values.DelayTime;
    Options.EditerName = std::move(values.EditerName);
    Options.TransClipboard = values.TransClipboard;
    Options.TrayIcon = values.TrayIcon;
    // The shortcut is touched only when the user changed the tick: a
    // shortcut of another copy of Tovik, shown as not ticked, stays.
    if (values.StartAtLogon != startsAtLogon)
        if (const DWORD error = SetStartAtLogon(values.StartAtLogon)) platform::ShowSystemError(hwnd(), error);
}

void frmMain::mnuAbout_Click() {
    dialogs::frmAbout().Show(hwnd(), platform::ProgramFile(imagefiles::kConverter));
}

void frmMain::mnuContents_Click() {
    // The classic help where it can still be shown; elsewhere the same
    // content as a page beside the program, in the user's browser.
    const std::wstring classic = platform::ProgramFile(L"Tovik.hlp");
    if (platform::FileExists(classic) && platform::HasClassicHelpViewer() && platform::ShowHelpTopics(hwnd(), classic))
        return;
    const std::wstring page = platform::ProgramFile(L"Tovik.html");
    const DWORD error = platform::FileExists(page) ? platform::OpenDocument(hwnd(), page) : ERROR_FILE_NOT_FOUND;
    if (error) platform::ShowSystemError(hwnd(), error);
}

}  // namespace app
