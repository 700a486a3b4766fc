// A whole file mapped read-only into memory: its bytes are read where the
// system caches them, with no copy, and the view is unmapped on every path.
#pragma once
#include "platform/Win32.h"

#include <cstddef>
#include <cstdint>
#include <utility>

namespace platform {

class FileView {
public:
    FileView() = default;
    ~FileView() { reset(); }
    FileView(FileView&& other) noexcept
        : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}
    FileView& operator=(FileView&& other) noexcept {
        if (this != &other) {
            reset();
            data_ = std::exchange(other.data_, nullptr);
            size_ = std::exchange(other.size_, 0);
        }
        return *this;
    }
    FileView(const FileView&) = delete;
    FileView& operator=(const FileView&) = delete;

    // Maps all `size` bytes (at least one) of a file open for reading. The
    // file's handle may be closed afterwards; the view keeps the file open.
    // Returns the Win32 error, 0 on success.
    DWORD Map(HANDLE file, std::size_t size) {
        reset();
        HANDLE mapping = CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
        if (!mapping) return GetLastError();
        void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, size);
        const DWORD error = view ? 0 : GetLastError();
        CloseHandle(mapping);  // the view holds the mapping
        if (view) {
            data_ = static_cast<const std::uint8_t*>(view);
            size_ = size;
        }
        return error;
    }

    const std::uint8_t* data() const { return data_; }
    std::size_t size() const { return size_; }
    void reset() {
        if (data_) UnmapViewOfFile(data_);
        data_ = nullptr;
        size_ = 0;
    }

private:
    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
};

}  // namespace platform
