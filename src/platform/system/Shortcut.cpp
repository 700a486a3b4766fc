#include "platform/system/Shortcut.h"

#include "platform/owners/Com.h"

#include <knownfolders.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <vector>

namespace platform {
namespace {

inline void FreeTaskMemory(wchar_t* text) noexcept { CoTaskMemFree(text); }
using TaskText = UniqueHandle<wchar_t*, FreeTaskMemory>;

HRESULT MakeShellLink(ComPtr<IShellLinkW>& link) {
    return CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.put_void());
}

HRESULT FileOf(const ComPtr<IShellLinkW>& link, ComPtr<IPersistFile>& file) {
    return link->QueryInterface(IID_IPersistFile, file.put_void());
}

}  // namespace

std::optional<std::wstring> StartupFolder() {
    TaskText folder;
    if (FAILED(SHGetKnownFolderPath(FOLDERID_Startup, KF_FLAG_CREATE, nullptr, folder.put())) || !folder)
        return std::nullopt;
    return std::wstring(folder.get());
}

HRESULT SaveShortcut(const std::wstring& path, const Shortcut& shortcut) {
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistFile> file;
    RETURN_IF_FAILED(MakeShellLink(link));
    RETURN_IF_FAILED(link->SetPath(shortcut.target.c_str()));
    RETURN_IF_FAILED(link->SetWorkingDirectory(shortcut.folder.c_str()));
    RETURN_IF_FAILED(link->SetShowCmd(shortcut.showCommand));
    RETURN_IF_FAILED(FileOf(link, file));
    RETURN_IF_FAILED(file->Save(path.c_str(), TRUE));
    return S_OK;
}

std::optional<std::wstring> ShortcutTarget(const std::wstring& path) {
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistFile> file;
    if (FAILED(MakeShellLink(link)) || FAILED(FileOf(link, file)) || FAILED(file->Load(path.c_str(), STGM_READ)))
        return std::nullopt;
    // As long as the longest path there can be; the path as stored, never
    // searched for: the shortcut's target may be gone.
    std::vector<wchar_t> target(32768, L'\0');
    if (link->GetPath(target.data(), static_cast<int>(target.size()), nullptr, 0) != S_OK) return std::nullopt;
    return std::wstring(target.data());
}

}  // namespace platform
