// Movable global memory blocks, the currency of the common dialogs (the
// printer settings and names that the print-setup dialog hands back).
#pragma once
#include "platform/owners/UniqueHandle.h"
#include "platform/owners/Win32.h"

#include <cstring>
#include <utility>

namespace platform {

// One global memory block, freed by its owner; handed to a new owner (a
// dialog's structure) with release().
inline void FreeGlobalMemory(HGLOBAL block) noexcept { GlobalFree(block); }
using GlobalMemory = UniqueHandle<HGLOBAL, FreeGlobalMemory>;

// A new movable block holding the same bytes as `block`, which stays with
// its owner; empty when `block` is empty or the memory cannot be had.
GlobalMemory CopyGlobalMemory(HGLOBAL block);

// A global memory block locked for reading and writing as a T for as long as
// this lives. Empty (false) when the block is empty or cannot be locked.
template <typename T>
class LockedGlobal {
public:
    explicit LockedGlobal(HGLOBAL block)
        : block_(block), data_(block ? static_cast<T*>(GlobalLock(block)) : nullptr) {}
    ~LockedGlobal() { if (data_) GlobalUnlock(block_); }
    LockedGlobal(LockedGlobal&& other) noexcept
        : block_(other.block_), data_(std::exchange(other.data_, nullptr)) {}
    LockedGlobal& operator=(LockedGlobal&&) = delete;
    LockedGlobal(const LockedGlobal&) = delete;
    LockedGlobal& operator=(const LockedGlobal&) = delete;

    T* get() const { return data_; }
    T* operator->() const { return data_; }
    T& operator*() const { return *data_; }
    explicit operator bool() const { return data_ != nullptr; }

private:
    HGLOBAL block_;
    T* data_;
};

inline GlobalMemory CopyGlobalMemory(HGLOBAL block) {
    const SIZE_T size = block ? GlobalSize(block) : 0;
    if (size == 0) return {};
    GlobalMemory copy(GlobalAlloc(GMEM_MOVEABLE, size));
    LockedGlobal<const unsigned char> from(block);
    LockedGlobal<unsigned char> to(copy.get());
    if (!from || !to) return {};
    std::memcpy(to.get(), from.get(), size);
    return copy;
}

}  // namespace platform
