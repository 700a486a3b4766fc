// The per-user settings store: HKEY_CURRENT_USER\Software\Tovik\<application>\<section>,
// every value REG_SZ text.
#pragma once
#include <optional>
#include <string>

namespace platform {

// The stored text, or nothing when the key (or its section) is absent.
std::optional<std::wstring> GetSetting(const std::wstring& application, const std::wstring& section,
                                       const std::wstring& key);
// Writes the text, creating the section when needed. False when the store refuses.
bool SaveSetting(const std::wstring& application, const std::wstring& section,
                 const std::wstring& key, const std::wstring& value);

}  // namespace platform
