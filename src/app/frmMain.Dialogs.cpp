// The main window's commands that show a dialog or the help.
#include "app/Module2.h"
#include "app/frmMain.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmSetup.h"
#include "platform/Files.h"
#include "platform/Messages.h"
#include "platform/Process.h"
#include "platform/Shell.h"

void frmMain::mnuOptionSetup_Click() {
    dialogs::SetupValues values{EditerName, ::Shared().DelayTime, TransClipboard};
    if (!dialogs::frmSetup().Show(hwnd(), values)) return;
    // The store gets them at exit; the next delayed capture, editor launch
    // and opened picture use them from now on.
    // Moved, not copied: nothing here can fail once the first value is in.
    ::Shared().DelayTime = values.DelayTime;
    EditerName = std::move(values.EditerName);
    TransClipboard = values.TransClipboard;
}

void frmMain::mnuAbout_Click() { dialogs::frmAbout().Show(hwnd()); }

void frmMain::mnuContents_Click() {
    const std::wstring folder = settings::WithTrailingBackslash(platform::ProgramFolder());
    // The classic help where it can still be shown; elsewhere the same
    // content as a page beside the program, in the user's browser.
    const std::wstring classic = folder + L"Tovik.hlp";
    if (platform::FileExists(classic) && platform::HasClassicHelpViewer() && platform::ShowHelpTopics(hwnd(), classic))
        return;
    const std::wstring page = folder + L"Tovik.html";
    const DWORD error = platform::FileExists(page) ? platform::OpenDocument(hwnd(), page) : ERROR_FILE_NOT_FOUND;
    if (error) platform::ShowSystemError(hwnd(), error);
}
