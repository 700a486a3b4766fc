// Answers the message boxes of a process as they come up, the way a user
// would press OK, and remembers what each said.
#pragma once
#include "platform/owners/Win32.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tovik_test {

struct SeenMessage {
    std::wstring title;
    std::wstring text;
    bool operator==(const SeenMessage&) const = default;
};
inline void PrintTo(const SeenMessage& m, std::ostream* out) {
    *out << ::testing::PrintToString(m.title) << ": " << ::testing::PrintToString(m.text);
}

class MessageBoxes {
public:
    // Watches the given process (this one by default) until destroyed.
    explicit MessageBoxes(DWORD processId = GetCurrentProcessId());
    ~MessageBoxes();
    MessageBoxes(const MessageBoxes&) = delete;
    MessageBoxes& operator=(const MessageBoxes&) = delete;

    std::vector<SeenMessage> Seen() const;
    // Pumps this thread's messages until `count` boxes have been answered.
    bool WaitForCount(size_t count, int timeoutMs = 10000) const;

private:
    void Watch();

    DWORD processId_;
    std::atomic<bool> stop_{false};
    mutable std::mutex lock_;
    std::vector<SeenMessage> seen_;
    std::vector<HWND> answered_;
    std::thread watcher_;
};

}  // namespace tovik_test
