// System functions that not every Windows has, looked up at run time so the
// program still starts without them; each caller falls back on its own.
#pragma once
#include "platform/Win32.h"

namespace platform {

// The function, or nullptr. A library loaded for it stays for the whole run,
// like an import.
FARPROC SystemFunction(const wchar_t* library, const char* name);

template <typename Function>
Function SystemFunctionOf(const wchar_t* library, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(SystemFunction(library, name)));
}

// Makes every lookup fail, so a test can check the fallbacks.
void FailSystemLookupsForTesting(bool fail);

}  // namespace platform
