#include "support/DialogPresser.h"

#include <string>

namespace tovik_test {
namespace {

struct Search {
    HWND found = nullptr;
    const wchar_t* text = nullptr;
};

BOOL CALLBACK FindVisibleDialog(HWND window, LPARAM param) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (IsWindowVisible(window) && std::wstring(name) == L"#32770") {
        reinterpret_cast<Search*>(param)->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FindComboListing(HWND child, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    wchar_t name[16] = {};
    GetClassNameW(child, name, 16);
    if (std::wstring(name) == L"ComboBox" &&
        SendMessageW(child, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>(search->text)) != CB_ERR) {
        search->found = child;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

DialogPresser::DialogPresser(std::function<void(HWND)> action, DWORD threadId, int timeoutMs)
    : thread_([this, action = std::move(action), threadId, timeoutMs] {
          const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
          while (!stop_ && GetTickCount64() < deadline) {
              Search search;
              EnumThreadWindows(threadId, FindVisibleDialog, reinterpret_cast<LPARAM>(&search));
              if (search.found) {
                  dialog_ = search.found;
                  action(search.found);
                  return;
              }
              Sleep(20);
          }
      }) {}

DialogPresser::~DialogPresser() {
    stop_ = true;
    thread_.join();
}

bool ChooseComboItem(HWND dialog, const wchar_t* text) {
    Search search;
    search.text = text;
    EnumChildWindows(dialog, FindComboListing, reinterpret_cast<LPARAM>(&search));
    if (!search.found) return false;
    const LRESULT index = SendMessageW(search.found, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(text));
    SendMessageW(search.found, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(search.found), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(search.found));
    return true;
}

}  // namespace tovik_test
