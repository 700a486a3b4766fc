// Shortcuts (.lnk files) and the user's Startup folder, whose shortcuts
// Windows opens when the user logs on.
#pragma once
#include "platform/owners/Failure.h"
#include "platform/owners/Win32.h"

#include <optional>
#include <string>

namespace platform {

struct Shortcut {
    std::wstring target;     // the program's full path
    std::wstring folder;     // the folder it starts in
    int showCommand = SW_SHOWNORMAL;
};

// The user's Startup folder, without a trailing backslash, made when it is
// missing; nothing when the system cannot tell it or make it.
std::optional<std::wstring> StartupFolder();
// Writes the shortcut, replacing one of that name. S_OK, or the failure of
// the step that failed. Needs COM on this thread.
[[nodiscard]] HRESULT SaveShortcut(const std::wstring& path, const Shortcut& shortcut);
// The program the shortcut at the path starts, or nothing when there is no
// shortcut or it cannot be read. Needs COM on this thread.
std::optional<std::wstring> ShortcutTarget(const std::wstring& path);

}  // namespace platform
