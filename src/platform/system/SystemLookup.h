// System functions that not every Windows has, and system libraries that are
// not always loaded, looked up at run time from the system folder only; each
// caller falls back on its own when one is missing.
#pragma once
#include "platform/owners/Win32.h"

namespace platform {

// Every library this process loads by name from now on comes from the
// system folder, never from the program's folder or the current one, where
// anyone able to put a file beside the program could plant one that then
// runs as the program. The first thing each of our programs does.
void LoadLibrariesFromTheSystemFolderOnly();

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
