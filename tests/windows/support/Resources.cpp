#include "support/Resources.h"

#include <winternl.h>

#include <cstdint>
#include <vector>

namespace tovik_test {
namespace {

// One entry of a process's GDI handle table (the layout the system maps
// into every process and points to from its environment block).
struct GdiHandleEntry {
    std::uint64_t object;
    std::uint32_t owner;
    std::uint16_t unique;   // bit 7: a stock object
    std::uint8_t type;      // 0: a free entry
    std::uint8_t flags;
    std::uint64_t userPointer;
};
static_assert(sizeof(GdiHandleEntry) == 24);
constexpr size_t kGdiHandleEntries = 0x10000;
constexpr size_t kTableOffsetInPeb = sizeof(void*) == 8 ? 0xF8 : 0x94;

using QueryProcess = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);

unsigned CountGdiHandleTable(HANDLE process) {
    auto query = reinterpret_cast<QueryProcess>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic{};
    if (!query || query(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0) return 0;
    const void* table = nullptr;
    std::vector<GdiHandleEntry> entries(kGdiHandleEntries);
    SIZE_T read = 0;
    const auto* peb = reinterpret_cast<const BYTE*>(basic.PebBaseAddress);
    if (!ReadProcessMemory(process, peb + kTableOffsetInPeb, &table, sizeof table, &read) || !table ||
        !ReadProcessMemory(process, table, entries.data(), entries.size() * sizeof(GdiHandleEntry), &read) ||
        read != entries.size() * sizeof(GdiHandleEntry))
        return 0;
    unsigned count = 0;
    for (const auto& e : entries)
        if (e.type != 0 && !(e.unique & 0x80)) ++count;
    return count;
}

struct WindowTally {
    DWORD processId;
    unsigned count;
};

BOOL CALLBACK CountChild(HWND, LPARAM param) {
    ++reinterpret_cast<WindowTally*>(param)->count;
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM param) {
    auto* tally = reinterpret_cast<WindowTally*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == tally->processId) {
        ++tally->count;
        EnumChildWindows(window, &CountChild, param);   // every descendant, once
    }
    return TRUE;
}

}  // namespace

unsigned GdiObjectCountOf(DWORD processId) {
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (!process) return 0;
    unsigned count = GetGuiResources(process, GR_GDIOBJECTS);
    if (count == 0) count = CountGdiHandleTable(process);
    CloseHandle(process);
    return count;
}

unsigned WindowCountOf(DWORD processId) {
    WindowTally tally{processId, 0};
    EnumWindows(&CountTopLevel, reinterpret_cast<LPARAM>(&tally));
    return tally.count;
}

}  // namespace tovik_test
