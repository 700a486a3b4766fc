// An open registry key, closed by its owner.
#pragma once
#include "platform/owners/UniqueHandle.h"
#include "platform/owners/Win32.h"

namespace platform {

inline void CloseRegistryKey(HKEY key) noexcept { RegCloseKey(key); }

using RegistryKey = UniqueHandle<HKEY, CloseRegistryKey>;

}  // namespace platform
