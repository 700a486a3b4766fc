// An open registry key, closed by its owner.
#pragma once
#include "platform/Win32.h"

#include <utility>

namespace platform {

class RegistryKey {
public:
    RegistryKey() = default;
    ~RegistryKey() { reset(); }
    RegistryKey(RegistryKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
    RegistryKey& operator=(RegistryKey&& other) noexcept {
        if (this != &other) { reset(); key_ = std::exchange(other.key_, nullptr); }
        return *this;
    }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    HKEY get() const { return key_; }
    // For the functions that open a key into an HKEY*: any key held is closed first.
    HKEY* put() { reset(); return &key_; }
    explicit operator bool() const { return key_ != nullptr; }

private:
    void reset() { if (key_) RegCloseKey(std::exchange(key_, nullptr)); }
    HKEY key_ = nullptr;
};

}  // namespace platform
