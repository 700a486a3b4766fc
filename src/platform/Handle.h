// Owner of a kernel object handle (process, file, event): closed on every path.
#pragma once
#include "platform/Win32.h"

#include <utility>

namespace platform {

// Both nullptr and INVALID_HANDLE_VALUE mean "no handle": the system's
// functions return one or the other on failure, and neither is closed.
class KernelHandle {
public:
    KernelHandle() = default;
    explicit KernelHandle(HANDLE handle) : handle_(handle) {}
    ~KernelHandle() { reset(); }
    KernelHandle(KernelHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    KernelHandle& operator=(KernelHandle&& other) noexcept {
        if (this != &other) { reset(); handle_ = std::exchange(other.handle_, nullptr); }
        return *this;
    }
    KernelHandle(const KernelHandle&) = delete;
    KernelHandle& operator=(const KernelHandle&) = delete;

    HANDLE get() const { return valid() ? handle_ : nullptr; }
    explicit operator bool() const { return valid(); }
    void reset(HANDLE handle = nullptr) {
        if (valid()) CloseHandle(handle_);
        handle_ = handle;
    }
    [[nodiscard]] HANDLE release() { return valid() ? std::exchange(handle_, nullptr) : (handle_ = nullptr); }

private:
    bool valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    HANDLE handle_ = nullptr;
};

}  // namespace platform
