// A whole file mapped read-only into memory: its bytes are read where the
// system caches them, with no copy, and the view is unmapped on every path.
#pragma once
#include "platform/owners/Handle.h"
#include "platform/owners/UniqueHandle.h"
#include "platform/owners/Win32.h"

#include <cstddef>
#include <cstdint>
#include <utility>

namespace platform {

inline void UnmapView(const std::uint8_t* view) noexcept { UnmapViewOfFile(view); }

class FileView {
public:
    FileView() = default;
    FileView(FileView&& other) noexcept : view_(std::move(other.view_)), size_(std::exchange(other.size_, 0)) {}
    FileView& operator=(FileView&& other) noexcept {
        if (this != &other) {
            view_ = std::move(other.view_);
            size_ = std::exchange(other.size_, 0);
        }
        return *this;
    }

    // Maps all `size` bytes (at least one) of a file open for reading. The
    // file's handle may be closed afterwards; the view keeps the file open.
    // Returns the Win32 error, 0 on success.
    DWORD Map(HANDLE file, std::size_t size) {
        reset();
        const KernelHandle mapping(CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr));
        if (!mapping) return GetLastError();
        view_.reset(static_cast<const std::uint8_t*>(MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, size)));
        if (!view_) return GetLastError();   // the view, once mapped, holds the mapping
        size_ = size;
        return 0;
    }

    const std::uint8_t* data() const { return view_.get(); }
    std::size_t size() const { return size_; }
    void reset() {
        view_.reset();
        size_ = 0;
    }

private:
    UniqueHandle<const std::uint8_t*, UnmapView> view_;
    std::size_t size_ = 0;
};

}  // namespace platform
