#include "platform/system/SystemLookup.h"

namespace platform {
namespace {
bool failLookups = false;
}  // namespace

void LoadLibrariesFromTheSystemFolderOnly() {
    // Looked up: a Windows 7 without its loader update lacks it, and then
    // at least the current folder leaves the search.
    using SetDirectories = BOOL(WINAPI*)(DWORD);
    const auto set = reinterpret_cast<SetDirectories>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (!set || !set(LOAD_LIBRARY_SEARCH_SYSTEM32)) SetDllDirectoryW(L"");
}

FARPROC SystemFunction(const wchar_t* library, const char* name) {
    if (failLookups) return nullptr;
    HMODULE module = GetModuleHandleW(library);
    if (!module) module = LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return module ? GetProcAddress(module, name) : nullptr;
}

void FailSystemLookupsForTesting(bool fail) { failLookups = fail; }

}  // namespace platform
