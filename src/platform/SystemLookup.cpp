#include "platform/SystemLookup.h"

namespace platform {
namespace {
bool failLookups = false;
}  // namespace

FARPROC SystemFunction(const wchar_t* library, const char* name) {
    if (failLookups) return nullptr;
    HMODULE module = GetModuleHandleW(library);
    if (!module) module = LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return module ? GetProcAddress(module, name) : nullptr;
}

void FailSystemLookupsForTesting(bool fail) { failLookups = fail; }

}  // namespace platform
