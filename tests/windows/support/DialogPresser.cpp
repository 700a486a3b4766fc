#include "support/DialogPresser.h"

#include "support/Windows.h"

namespace tovik_test {
namespace {

LRESULT FindInCombo(HWND combo, const wchar_t* text) {
    return SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
}

}  // namespace

DialogPresser::DialogPresser(std::function<void(HWND)> action, DWORD threadId, int timeoutMs)
    : thread_([this, action = std::move(action), threadId, timeoutMs] {
          const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
          while (!stop_ && GetTickCount64() < deadline) {
              const std::vector<HWND> shown = TopLevelWindows([&](HWND window) {
                  return GetWindowThreadProcessId(window, nullptr) == threadId && IsShown(window) &&
                         HasClass(window, kDialogClass);
              });
              if (!shown.empty()) {
                  dialog_ = shown.front();
                  action(shown.front());
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
    HWND combo = FindChild(dialog, L"ComboBox", [&](HWND box) { return FindInCombo(box, text) != CB_ERR; });
    if (!combo) return false;
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(FindInCombo(combo, text)), 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    return true;
}

}  // namespace tovik_test
