#include "support/MessageBoxes.h"

#include "support/Dialogs.h"
#include "support/Driver.h"
#include "support/Windows.h"

#include <algorithm>

namespace tovik_test {

MessageBoxes::MessageBoxes(DWORD processId) : processId_(processId), watcher_([this] { Watch(); }) {}

MessageBoxes::~MessageBoxes() {
    stop_ = true;
    watcher_.join();
}

void MessageBoxes::Watch() {
    while (!stop_) {
        for (HWND box : TopLevelWindows([this](HWND window) {
                 return ProcessOf(window) == processId_ && IsShown(window) && HasClass(window, kDialogClass) &&
                        GetDlgItem(window, kMessageTextId);
             })) {
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
