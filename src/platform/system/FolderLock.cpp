#include "platform/system/FolderLock.h"

#include <sddl.h>

#include <cwchar>

namespace platform {
namespace {

// The folder's volume and file number, or, where the file system gives
// none, a digest of its full path in capitals.
std::wstring FolderIdentity(const std::wstring& folder) {
    wchar_t identity[64];
    const KernelHandle handle(CreateFileW(folder.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION information{};
    if (handle && GetFileInformationByHandle(handle.get(), &information) &&
        (information.nFileIndexHigh | information.nFileIndexLow) != 0) {
        swprintf(identity, 64, L"%08lX-%08lX%08lX", information.dwVolumeSerialNumber, information.nFileIndexHigh,
                 information.nFileIndexLow);
        return identity;
    }
    std::wstring path(32768, L'\0');
    const DWORD length = GetFullPathNameW(folder.c_str(), static_cast<DWORD>(path.size()), path.data(), nullptr);
    path.resize(length > 0 && length < path.size() ? length : 0);
    if (path.empty()) path = folder;
    CharUpperBuffW(path.data(), static_cast<DWORD>(path.size()));
    unsigned long long digest = 14695981039346656037ull;   // FNV-1a
    for (const wchar_t c : path) {
        digest ^= static_cast<unsigned>(c);
        digest *= 1099511628211ull;
    }
    swprintf(identity, 64, L"path-%016llX", digest);
    return identity;
}

}  // namespace

FolderLock::FolderLock(std::wstring folder, std::wstring file) : folder_(std::move(folder)), file_(std::move(file)) {}

HRESULT FolderLock::Take(DWORD timeoutMs) {
    if (held_) return S_OK;
    if (!mutex_) {
        // In the global namespace, so that the copies of other sessions see
        // it, and open to every signed-in user, who may run a copy from the
        // same folder: they may wait for it and take it, nothing else.
        const std::wstring name = L"Global\\Tovik." + file_ + L"." + FolderIdentity(folder_);
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        RETURN_IF_WIN32_BOOL_FALSE(ConvertStringSecurityDescriptorToSecurityDescriptorW(
            L"D:(A;;0x00100001;;;AU)(A;;GA;;;SY)", SDDL_REVISION_1, &descriptor, nullptr));
        SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
        mutex_.reset(CreateMutexExW(&attributes, name.c_str(), 0, SYNCHRONIZE | MUTEX_MODIFY_STATE));
        const DWORD error = GetLastError();
        LocalFree(descriptor);
        if (!mutex_) return FailureOf(error);
    }
    switch (WaitForSingleObject(mutex_.get(), timeoutMs)) {
    case WAIT_OBJECT_0:
    case WAIT_ABANDONED:   // its holder ended without letting go: the file is ours now
        held_ = true;
        return S_OK;
    case WAIT_TIMEOUT:
        return FailureOf(ERROR_TIMEOUT);
    default:
        return LastFailure();
    }
}

void FolderLock::Release() {
    if (!held_) return;
    ReleaseMutex(mutex_.get());
    held_ = false;
}

}  // namespace platform
