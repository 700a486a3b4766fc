// A lock on a file in a folder that every process of this computer sees,
// whichever user runs it and in whichever session: copies of the program
// started from one folder, also by several users of a terminal server, take
// turns with a file they all write there.
#pragma once
#include "platform/owners/Failure.h"
#include "platform/owners/Handle.h"

#include <string>

namespace platform {

class FolderLock {
public:
    // The lock on `file` (a plain name) in `folder`. The folder is known by
    // its identity on its volume, so every path to it (short or long name,
    // another drive letter) gives the same lock.
    FolderLock(std::wstring folder, std::wstring file);
    ~FolderLock() { Release(); }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // Takes the lock, waiting up to timeoutMs while another process holds
    // it; a process that ended while holding it has let it go. S_OK once it
    // is held (at once when this owner holds it already), ERROR_TIMEOUT when
    // another process still holds it after the wait, or the failure of
    // making the lock. Taken and released on one thread.
    [[nodiscard]] HRESULT Take(DWORD timeoutMs);
    void Release();
    bool held() const { return held_; }

private:
    std::wstring folder_, file_;
    KernelHandle mutex_;
    bool held_ = false;
};

}  // namespace platform
