#include "capture/CaptureCommands.h"

#include "capture/CaptureWindow.h"
#include "capture/frmDesktop.h"
#include "platform/system/Compositor.h"
#include "platform/system/Screen.h"
#include "platform/ui/Messages.h"
#include "platform/ui/Window.h"

namespace capture {
namespace {

constexpr DWORD kSettlePause = 500;     // lets other programs repaint what the main window covered
constexpr DWORD kMenuFadeLimit = 500;   // a clicked item fades out in a few hundred ms

// The settling pause, less what was already waited for a fade. A main
// window that was not on the screen covered nothing: there is no pause.
void PauseToSettle(bool mainWasShown, DWORD waited) {
    if (mainWasShown && waited < kSettlePause) platform::Pause(kSettlePause - waited);
}

}  // namespace

DWORD LetMenuFadeOut(ChosenFrom from) {
    if (from != ChosenFrom::Menu) return 0;
    const ULONGLONG start = GetTickCount64();
    while (platform::MenuFadeOnScreen() && GetTickCount64() - start < kMenuFadeLimit) {
        MsgWaitForMultipleObjectsEx(0, nullptr, 10, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        platform::DoEvents();
    }
    return static_cast<DWORD>(GetTickCount64() - start);
}

void CaptureDesktopNow(Host& host, ChosenFrom from) {
    host.HideMain();
    platform::DoEvents();
    LetMenuFadeOut(from);
    platform::WaitForCompositor();   // the frame without the main window is on the screen
    platform::ShowFailure(host.Image().Owner(), CaptureWindow(host, platform::DesktopWindow()));
    host.ShowMain();
}

void CaptureActiveWindowNow(Host& host, ChosenFrom from) {
    const bool shown = host.HideMain();
    PauseToSettle(shown, LetMenuFadeOut(from));
    platform::WaitForCompositor();
    // Chosen from outside Tovik, the window the user worked in; otherwise
    // the one in front once the main window has gone.
    const HWND user = host.UserWindow();
    platform::ShowFailure(host.Image().Owner(), CaptureWindow(host, user ? user : platform::ForegroundWindow()));
    host.ShowMain();
}

void StartRectangleSelection(Host& host, ChosenFrom from) {
    HRESULT failure = S_OK;
    frmDesktop* overlay = Desktop(host, &failure);
    if (!overlay) {   // no overlay, no selection: the main window stays
        platform::ShowFailure(host.Image().Owner(), failure);
        return;
    }
    // The keyboard goes to the overlay, still hidden, while Tovik owns the
    // foreground (after a hotkey, Windows lets the program that got it take
    // the foreground): Windows would otherwise hand it to another program
    // when the main window hides, and the keys let go after the shortcut,
    // and later Esc, would reach that program.
    overlay->TakeKeyboard();
    const bool shown = host.HideMain();
    PauseToSettle(shown, LetMenuFadeOut(from));
    platform::WaitForCompositor();
    if (const HRESULT unread = overlay->TakeSnapshot(); FAILED(unread)) {   // nothing to select on
        host.ShowMain();
        UnloadDesktop();
        platform::ShowFailure(host.Image().Owner(), unread);
        return;
    }
    overlay->SetMousePointer(platform::SystemCursor(IDC_CROSS));
    overlay->ShowFullScreen(true);
    // The selection and the capture happen in the overlay's handlers; the
    // main window then ends it (EndSelection) and comes back.
}

}  // namespace capture
