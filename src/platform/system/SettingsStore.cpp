#include "platform/system/SettingsStore.h"

#include "platform/owners/Registry.h"

#include <vector>

namespace platform {
namespace {

std::wstring SectionPath(const std::wstring& application, const std::wstring& section) {
    return L"Software\\Tovik\\" + application + L"\\" + section;
}

}  // namespace

std::optional<std::wstring> GetSetting(const std::wstring& application, const std::wstring& section,
                                       const std::wstring& key) {
    RegistryKey sectionKey;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, SectionPath(application, section).c_str(), 0,
                      KEY_QUERY_VALUE, sectionKey.put()) != ERROR_SUCCESS)
        return std::nullopt;
    DWORD type = 0, bytes = 0;
    if (RegQueryValueExW(sectionKey.get(), key.c_str(), nullptr, &type, nullptr, &bytes) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::nullopt;
    std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
    DWORD size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    if (RegQueryValueExW(sectionKey.get(), key.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS)
        return std::nullopt;
    buffer.back() = L'\0';   // stored text need not be terminated
    return std::wstring(buffer.data());
}

bool SaveSetting(const std::wstring& application, const std::wstring& section,
                 const std::wstring& key, const std::wstring& value) {
    RegistryKey sectionKey;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, SectionPath(application, section).c_str(), 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, sectionKey.put(), nullptr) != ERROR_SUCCESS)
        return false;
    const DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(sectionKey.get(), key.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(value.c_str()), bytes) == ERROR_SUCCESS;
}

}  // namespace platform
