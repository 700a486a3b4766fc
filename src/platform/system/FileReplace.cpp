#include "platform/system/FileReplace.h"

#include "platform/owners/Handle.h"
#include "platform/system/Files.h"

#include <algorithm>
#include <cwchar>
#include <vector>

namespace platform {

std::wstring FolderOfFullPath(const std::wstring& path, std::wstring* fullPath) {
    if (path.empty()) return {};
    DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return {};
    std::vector<wchar_t> buffer(needed + 1);
    wchar_t* name = nullptr;
    const DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), &name);
    if (length == 0 || length >= buffer.size()) return {};
    std::wstring full(buffer.data(), length);
    const size_t slash = full.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return {};
    if (fullPath) *fullPath = full;
    return full.substr(0, slash + 1);
}

namespace {

// Antivirus scanners, the search indexer and sync clients open a file that
// has just been written or is about to be replaced for a moment, often
// without letting it be deleted or renamed meanwhile. A step that meets such
// a file is tried again, with short pauses, before its failure counts; one
// budget serves every step of one file, so a file that stays in use is
// reported after about two seconds.
constexpr DWORD kInUseBudgetMs = 2000;
constexpr DWORD kFirstPauseMs = 10, kLongestPauseMs = 100;

bool MayBeInUseForAMoment(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED ||
           error == ERROR_UNABLE_TO_REMOVE_REPLACED;   // the replace's own word for the old file in use
}

class InUseRetry {
public:
    // True after a pause when `error` may pass and the step is worth another
    // try; false when it is a failure of another kind or the budget is spent.
    bool Again(DWORD error) {
        if (!MayBeInUseForAMoment(error) || waited_ >= kInUseBudgetMs) return false;
        Sleep(pause_);
        waited_ += pause_;
        pause_ = std::min(pause_ * 2, kLongestPauseMs);
        return true;
    }

private:
    DWORD waited_ = 0;
    DWORD pause_ = kFirstPauseMs;
};

// Deletes the file; one held open for a moment is waited for.
void DeleteWhenFree(const std::wstring& file, InUseRetry& retry) {
    while (!DeleteFileW(file.c_str()) && retry.Again(GetLastError())) {
    }
}

// A new, empty file of this process's own in the folder (which ends in a
// separator). Named here rather than by GetTempFileNameW, which refuses
// folders longer than MAX_PATH.
DWORD CreateTemporaryIn(const std::wstring& folder, std::wstring& name, KernelHandle& file) {
    static unsigned serial = GetTickCount();
    for (int attempt = 0; attempt < 64; ++attempt) {
        wchar_t unique[32];
        swprintf(unique, 32, L"~tvk%lX-%X.tmp", GetCurrentProcessId(), ++serial);
        name = folder + unique;
        file.reset(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) return 0;
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return error;
    }
    return ERROR_FILE_EXISTS;
}

DWORD WriteAll(HANDLE file, const void* data, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    while (size > 0) {
        // WriteFile takes 32-bit counts; big pictures go in 1 GiB pieces.
        const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, bytes, piece, &written, nullptr)) return GetLastError();
        if (written != piece) return ERROR_DISK_FULL;
        bytes += piece;
        size -= piece;
    }
    return 0;
}

DWORD PutInPlace(const std::wstring& path, const std::wstring& temporary, ReplaceFunction replace,
                 InUseRetry& retry) {
    DWORD error = 0;
    for (;;) {
        const bool existed = FileExists(path);
        if (existed && replace(path.c_str(), temporary.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                               nullptr))
            return 0;
        error = existed ? GetLastError() : ERROR_FILE_NOT_FOUND;
        // Gone since the look above, or never there: a plain rename will do.
        // The replace can also fail after moving the old file away (the
        // replacement not renamed, or not moved): the old name is then free
        // or holds nothing the user would miss, and the new file goes there.
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_UNABLE_TO_MOVE_REPLACEMENT ||
            error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) {
            DWORD moveError = 0;
            do {
                if (MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) return 0;
                moveError = GetLastError();
            } while (retry.Again(moveError));
            if (error == ERROR_FILE_NOT_FOUND) error = moveError;
            break;
        }
        // Otherwise both files are as they were: the old one in use for a
        // moment is tried again.
        if (!retry.Again(error)) break;
    }
    // The old file where it was: the temporary one is only a spare copy of
    // the picture the program still holds. Without it, the temporary file is
    // all that is left and stays.
    if (FileExists(path)) DeleteWhenFree(temporary, retry);
    // The replace reports its own codes; the user understands these better.
    if (error == ERROR_UNABLE_TO_REMOVE_REPLACED || error == ERROR_UNABLE_TO_MOVE_REPLACEMENT ||
        error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 || error == 0)
        error = ERROR_ACCESS_DENIED;
    return error;
}

}  // namespace

DWORD PutInPlace(const std::wstring& path, const std::wstring& temporary, ReplaceFunction replace) {
    InUseRetry retry;
    return PutInPlace(path, temporary, replace, retry);
}

DWORD WriteFileReplacing(const std::wstring& path, std::initializer_list<FilePiece> pieces) {
    return WriteFileReplacing(path, [&](const PieceWriter& write) {
        for (const FilePiece& piece : pieces)
            if (const DWORD error = write(piece.data, piece.size)) return error;
        return DWORD{0};
    });
}

DWORD WriteFileReplacing(const std::wstring& path, const std::function<DWORD(const PieceWriter&)>& produce) {
    std::wstring destination;
    const std::wstring folder = FolderOfFullPath(path, &destination);
    if (folder.empty()) return ERROR_INVALID_NAME;
    const DWORD attributes = GetFileAttributesW(destination.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return ERROR_ACCESS_DENIED;
    // A read-only destination is refused up front: replacing it would take
    // away the protection its owner gave it.
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return ERROR_ACCESS_DENIED;

    // A destination another program holds open without letting it be
    // deleted cannot be replaced. Found out now, before anything is written:
    // a failed ReplaceFileW can leave a scratch file of its own behind.
    // A scanner that has it open for a moment is waited for.
    InUseRetry retry;
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        for (;;) {
            KernelHandle probe(CreateFileW(destination.c_str(), DELETE,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
            if (probe) break;
            const DWORD error = GetLastError();
            if (error == ERROR_FILE_NOT_FOUND) break;   // gone meanwhile: nothing to replace
            if (!retry.Again(error)) return error;
        }
    }

    // The temporary file lies beside the destination, so putting it in place
    // is a rename within one volume, never a copy that could fail halfway.
    std::wstring temporary;
    KernelHandle file;
    DWORD error = CreateTemporaryIn(folder, temporary, file);
    if (error) {
        // A missing folder is reported as such, not as "invalid directory name".
        if (GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES) return ERROR_PATH_NOT_FOUND;
        return error;
    }
    error = produce([&](const void* data, std::size_t size) { return WriteAll(file.get(), data, size); });
    if (!error && !CloseHandle(file.release())) error = GetLastError();
    file.reset();
    if (!error) return PutInPlace(destination, temporary, &ReplaceFileW, retry);
    DeleteWhenFree(temporary, retry);
    return error;
}

}  // namespace platform
