// Writing a whole file so that a failure never leaves a partial file and
// never destroys the one it was meant to replace.
#pragma once
#include "platform/Win32.h"

#include <cstddef>
#include <initializer_list>
#include <string>

namespace platform {

// A run of bytes to be written.
struct FilePiece {
    const void* data;
    std::size_t size;
};

// Writes the pieces, one after the other, to a new temporary file in the
// destination's folder, then puts it in place of `path`: an existing file is
// replaced (keeping its attributes), otherwise the temporary file is
// renamed. On any failure the temporary file is removed and an existing
// destination is left as it was. A read-only destination is refused with
// ERROR_ACCESS_DENIED. Returns the Win32 error, 0 on success.
DWORD WriteFileReplacing(const std::wstring& path, std::initializer_list<FilePiece> pieces);

// The full path's folder with a trailing backslash ("C:\" for a drive root).
// Empty when the path cannot be made full.
std::wstring FolderOfFullPath(const std::wstring& path, std::wstring* fullPath = nullptr);

}  // namespace platform
