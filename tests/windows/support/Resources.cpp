#include "support/Resources.h"

#include "support/Windows.h"

#include "platform/owners/Handle.h"

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

unsigned CountEntries(const std::vector<GdiHandleEntry>& entries) {
    unsigned count = 0;
    for (const auto& e : entries)
        if (e.type != 0 && !(e.unique & 0x80)) ++count;
    return count;
}

bool ReadTable(HANDLE process, const void* table, std::vector<GdiHandleEntry>& entries) {
    SIZE_T read = 0;
    return ReadProcessMemory(process, table, entries.data(), entries.size() * sizeof(GdiHandleEntry), &read) &&
           read == entries.size() * sizeof(GdiHandleEntry);
}

// Wine's 32-bit processes keep the table without publishing it in their
// environment block: it is the private region of exactly its size that
// holds objects of GDI's types, none owned by another process.
const void* FindUnpublishedTable(HANDLE process, DWORD processId, std::vector<GdiHandleEntry>& entries) {
    const SIZE_T tableBytes = entries.size() * sizeof(GdiHandleEntry);
    MEMORY_BASIC_INFORMATION region{};
    for (const BYTE* at = nullptr; VirtualQueryEx(process, at, &region, sizeof region) == sizeof region;
         at = static_cast<const BYTE*>(region.BaseAddress) + region.RegionSize) {
        if (region.State != MEM_COMMIT || region.Type != MEM_PRIVATE || region.RegionSize != tableBytes ||
            region.AllocationBase != region.BaseAddress || !ReadTable(process, region.BaseAddress, entries))
            continue;
        const std::uint32_t owner = (processId >> 2) & 0xFFFF;
        bool objects = false, strangers = false;
        for (const auto& e : entries) {
            if (e.type == 0) continue;
            objects = true;
            if (e.type > 0x1F || ((e.owner & 0xFFFF) != 0 && (e.owner & 0xFFFF) != owner)) strangers = true;
        }
        if (objects && !strangers) return region.BaseAddress;
    }
    return nullptr;
}

unsigned CountGdiHandleTable(HANDLE process, DWORD processId) {
    auto query = reinterpret_cast<QueryProcess>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic{};
    if (!query || query(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0) return 0;
    const void* table = nullptr;
    std::vector<GdiHandleEntry> entries(kGdiHandleEntries);
    SIZE_T read = 0;
    const auto* peb = reinterpret_cast<const BYTE*>(basic.PebBaseAddress);
    if (ReadProcessMemory(process, peb + kTableOffsetInPeb, &table, sizeof table, &read) && table &&
        ReadTable(process, table, entries))
        return CountEntries(entries);
    return FindUnpublishedTable(process, processId, entries) ? CountEntries(entries) : 0;
}

}  // namespace

unsigned GdiObjectCountOf(DWORD processId) {
    const platform::KernelHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    if (!process) return 0;
    const unsigned count = GetGuiResources(process.get(), GR_GDIOBJECTS);
    return count ? count : CountGdiHandleTable(process.get(), processId);
}

unsigned WindowCountOf(DWORD processId) {
    unsigned count = 0;
    for (HWND window : TopLevelWindows([&](HWND w) { return ProcessOf(w) == processId; }))
        count += 1 + static_cast<unsigned>(ChildWindows(window).size());   // every descendant, once
    return count;
}

}  // namespace tovik_test
