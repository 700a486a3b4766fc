#include "support/MessageBoxes.h"

#include "support/Dialogs.h"
#include "support/Driver.h"

#include <algorithm>

namespace tovik_test {
namespace {

constexpr int kMessageTextId = 0xFFFF;   // the static control that holds a message box's text

struct Search {
    DWORD processId;
    std::vector<HWND> boxes;
};

BOOL CALLBACK CollectBoxes(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (pid == search->processId && IsWindowVisible(window) && wcscmp(name, L"#32770") == 0 &&
        GetDlgItem(window, kMessageTextId))
        search->boxes.push_back(window);
    return TRUE;
}

}  // namespace

MessageBoxes::MessageBoxes(DWORD processId) : processId_(processId), watcher_([this] { Watch(); }) {}

MessageBoxes::~MessageBoxes() {
    stop_ = true;
    watcher_.join();
}

void MessageBoxes::Watch() {
    while (!stop_) {
        Search search{processId_, {}};
        EnumWindows(&CollectBoxes, reinterpret_cast<LPARAM>(&search));
        for (HWND box : search.boxes) {
            {
                std::lock_guard<std::mutex> guard(lock_);
                if (std::find(answered_.begin(), answered_.end(), box) != answered_.end()) continue;
                answered_.push_back(box);
                seen_.push_back({TextOf(box), TextOf(GetDlgItem(box, kMessageTextId))});
            }
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }
        Sleep(20);
    }
}

std::vector<SeenMessage> MessageBoxes::Seen() const {
    std::lock_guard<std::mutex> guard(lock_);
    return seen_;
}

bool MessageBoxes::WaitForCount(size_t count, int timeoutMs) const {
    return WaitUntil([&] { return Seen().size() >= count; }, timeoutMs);
}

}  // namespace tovik_test
