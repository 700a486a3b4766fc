// Owner of a kernel object handle (process, file, event): closed on every path.
#pragma once
#include "platform/owners/UniqueHandle.h"
#include "platform/owners/Win32.h"

namespace platform {

// Both nullptr and INVALID_HANDLE_VALUE mean "no handle": the system's
// functions return one or the other on failure, and neither is closed.
inline bool IsKernelHandle(HANDLE handle) noexcept { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
inline void CloseKernelHandle(HANDLE handle) noexcept { CloseHandle(handle); }

using KernelHandle = UniqueHandle<HANDLE, CloseKernelHandle, IsKernelHandle>;

}  // namespace platform
