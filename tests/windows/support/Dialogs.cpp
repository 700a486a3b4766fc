#include "support/Dialogs.h"

#include "support/Driver.h"
#include "support/Windows.h"

#include "platform/owners/GlobalMemory.h"

#include <cstring>
#include <vector>

namespace tovik_test {

HWND FindDialog(DWORD processId, const std::wstring& caption) {
    return FindShownWindowOf(processId, kDialogClass, [&](HWND dialog) { return TextOf(dialog) == caption; });
}

HWND FindAnyDialog(DWORD processId) { return FindShownWindowOf(processId, kDialogClass); }

HWND WaitForDialog(DWORD processId, const std::wstring& caption, int timeoutMs) {
    HWND dialog = nullptr;
    WaitUntil([&] { return (dialog = FindDialog(processId, caption)) != nullptr; }, timeoutMs);
    return dialog;
}

HWND FileNameBox(HWND fileDialog) {
    HWND name = GetDlgItem(fileDialog, 0x47C);         // cmb13, the name box of an explorer-style dialog
    return name ? name : GetDlgItem(fileDialog, 0x480);  // edt1
}

void ChooseFile(HWND fileDialog, const std::wstring& path) {
    SetTextOf(FileNameBox(fileDialog), path);
    PressButton(fileDialog, IDOK);
}

namespace {
constexpr int kFileTypes = 0x470;   // cmb1, the list of file types
}  // namespace

int SelectedFileType(HWND fileDialog) {
    return static_cast<int>(SendMessageW(GetDlgItem(fileDialog, kFileTypes), CB_GETCURSEL, 0, 0)) + 1;
}

void PickFileType(HWND fileDialog, int type) {
    HWND types = GetDlgItem(fileDialog, kFileTypes);
    SendMessageW(types, CB_SETCURSEL, type - 1, 0);
    // A pick from the list tells the dialog twice: changed, and settled.
    for (const WORD notification : {CBN_SELCHANGE, CBN_SELENDOK})
        SendMessageW(fileDialog, WM_COMMAND, MAKEWPARAM(kFileTypes, notification), reinterpret_cast<LPARAM>(types));
}

std::wstring TextOf(HWND window) {
    std::vector<wchar_t> text(32768, L'\0');
    SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                        5000, nullptr);
    return text.data();
}

void SetTextOf(HWND window, const std::wstring& text) {
    SendMessageTimeoutW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, 5000,
                        nullptr);
}

RECT RectInClient(HWND dialog, HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

SIZE ClientSize(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return {r.right, r.bottom};
}

namespace {
GUITHREADINFO ThreadInfoOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) info = {};
    return info;
}
}  // namespace

HWND FocusIn(HWND window) { return ThreadInfoOf(window).hwndFocus; }
HWND MouseCaptureIn(HWND window) { return ThreadInfoOf(window).hwndCapture; }

void PressButton(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

bool WaitClosed(HWND window, int timeoutMs) {
    return WaitUntil([&] { return !IsWindow(window); }, timeoutMs);
}

bool PressToClose(HWND dialog, int id) {
    PressButton(dialog, id);
    return WaitClosed(dialog);
}

void PressCloseBox(HWND window) { PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0); }

void PutTextOnClipboard(const std::wstring& text) {
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    platform::GlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (platform::LockedGlobal<wchar_t> to(memory.get()); to) std::memcpy(to.get(), text.c_str(), bytes);
    WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }, 3000);
    EmptyClipboard();
    if (SetClipboardData(CF_UNICODETEXT, memory.get())) (void)memory.release();   // the clipboard's now
    CloseClipboard();
}

std::wstring ClipboardText() {
    std::wstring text;
    if (!WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }, 3000)) return text;
    if (const platform::LockedGlobal<const wchar_t> data(GetClipboardData(CF_UNICODETEXT)); data) text = data.get();
    CloseClipboard();
    return text;
}

}  // namespace tovik_test
