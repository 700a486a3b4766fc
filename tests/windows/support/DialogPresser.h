// Drives a modal dialog that the test's own thread is running (a common
// dialog shown by the code under test): a thread of its own waits for the
// dialog to appear and acts on it like a user would.
#pragma once
#include "platform/owners/Win32.h"
#include "support/Dialogs.h"   // PressButton

#include <atomic>
#include <functional>
#include <thread>

namespace tovik_test {

class DialogPresser {
public:
    // Runs `action` on the dialog box (#32770) that `threadId` shows next,
    // once it is visible; gives up after timeoutMs.
    explicit DialogPresser(std::function<void(HWND dialog)> action,
                           DWORD threadId = GetCurrentThreadId(), int timeoutMs = 20000);
    ~DialogPresser();
    DialogPresser(const DialogPresser&) = delete;
    DialogPresser& operator=(const DialogPresser&) = delete;

    // The dialog acted on, or nullptr when none appeared (yet).
    HWND Dialog() const { return dialog_.load(); }

private:
    std::atomic<HWND> dialog_{nullptr};
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// Picks the item with exactly this text in whichever combo box of the dialog
// lists it, and tells the dialog as a user's choice would. False when no
// combo box lists it.
bool ChooseComboItem(HWND dialog, const wchar_t* text);

}  // namespace tovik_test
