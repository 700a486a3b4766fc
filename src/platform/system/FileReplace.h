// Writing a whole file so that a failure never leaves a partial file and
// never destroys the one it was meant to replace.
#pragma once
#include "platform/owners/Win32.h"

#include <cstddef>
#include <functional>
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
// renamed. A destination or temporary file that another program (a virus
// scanner, the indexer, a sync client) holds open for a moment is waited for,
// about two seconds at most. On any failure the temporary file is removed and
// an existing destination is left as it was. A read-only destination is
// refused with ERROR_ACCESS_DENIED. Returns the Win32 error, 0 on success.
DWORD WriteFileReplacing(const std::wstring& path, std::initializer_list<FilePiece> pieces);

// The same, for content made while it is written: `produce` is handed a
// function that writes one piece (returning 0 or the Win32 error) and
// returns 0 or the error that ends the writing.
using PieceWriter = std::function<DWORD(const void* data, std::size_t size)>;
DWORD WriteFileReplacing(const std::wstring& path, const std::function<DWORD(const PieceWriter&)>& produce);

// Puts the finished file `temporary` in place of `path` (a full path):
// replaced through `replace` (the system's ReplaceFileW) when there is a file
// to replace, renamed otherwise; each step is tried again while either file
// is in use for a moment, as above. When the replace fails after taking the
// old file away, the new one is still moved into place; when even that fails,
// the temporary file is kept, since it is then the only copy of either
// picture. Returns the Win32 error, 0 on success; on failure the temporary
// file is gone only when `path` still holds the old file.
using ReplaceFunction = BOOL(WINAPI*)(LPCWSTR replaced, LPCWSTR replacement, LPCWSTR backup, DWORD flags,
                                      LPVOID exclude, LPVOID reserved);
DWORD PutInPlace(const std::wstring& path, const std::wstring& temporary, ReplaceFunction replace = &ReplaceFileW);

// The full path's folder with a trailing backslash ("C:\" for a drive root).
// Empty when the path cannot be made full.
std::wstring FolderOfFullPath(const std::wstring& path, std::wstring* fullPath = nullptr);

}  // namespace platform
