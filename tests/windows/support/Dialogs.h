// The program's dialogs seen from a test process: found by their caption,
// their controls read and pressed the way the user would.
#pragma once
#include "platform/owners/Win32.h"

#include <string>

namespace tovik_test {

// The class of dialog boxes and message boxes.
inline constexpr wchar_t kDialogClass[] = L"#32770";
// The static control that holds a message box's text.
inline constexpr int kMessageTextId = 0xFFFF;

// A shown dialog of the process with exactly this caption, or nullptr.
HWND FindDialog(DWORD processId, const std::wstring& caption);
// Any shown dialog or message box of the process, or nullptr.
HWND FindAnyDialog(DWORD processId);
// The same, waited for (pumping this thread's messages); nullptr after the time.
HWND WaitForDialog(DWORD processId, const std::wstring& caption, int timeoutMs = 10000);
// The name box of an open or save dialog.
HWND FileNameBox(HWND fileDialog);
// Types the path into an open or save dialog's name box and presses its OK
// button, as the user would.
void ChooseFile(HWND fileDialog, const std::wstring& path);
// The file type (1-based) an open or save dialog has selected, and picking
// one from its list as the user would.
int SelectedFileType(HWND fileDialog);
void PickFileType(HWND fileDialog, int type);
// A window's text through WM_GETTEXT, which also reads another process's controls.
std::wstring TextOf(HWND window);
void SetTextOf(HWND window, const std::wstring& text);
// A control's rectangle in its dialog's client coordinates.
RECT RectInClient(HWND dialog, HWND control);
SIZE ClientSize(HWND window);
// The window that has the keyboard focus, and the one that has the mouse
// capture, in `window`'s thread.
HWND FocusIn(HWND window);
HWND MouseCaptureIn(HWND window);
// Presses a dialog's button as a click would: the dialog gets BN_CLICKED.
void PressButton(HWND dialog, int id);
// Waits until the window is gone (pumping this thread's messages).
bool WaitClosed(HWND window, int timeoutMs = 10000);
// Presses the button and waits until the dialog is gone.
bool PressToClose(HWND dialog, int id);
// Closes a window by its title-bar close box.
void PressCloseBox(HWND window);

// Text on the clipboard (CF_UNICODETEXT), put there and read back.
void PutTextOnClipboard(const std::wstring& text);
std::wstring ClipboardText();

}  // namespace tovik_test
