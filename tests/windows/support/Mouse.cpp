#include "support/Mouse.h"

#include <winternl.h>

#include <cstdint>
#include <vector>

namespace tovik_test {
namespace {

DWORD DownFlag(MouseButton button) {
    switch (button) {
    case MouseButton::Right: return MOUSEEVENTF_RIGHTDOWN;
    case MouseButton::Middle: return MOUSEEVENTF_MIDDLEDOWN;
    default: return MOUSEEVENTF_LEFTDOWN;
    }
}

DWORD UpFlag(MouseButton button) {
    switch (button) {
    case MouseButton::Right: return MOUSEEVENTF_RIGHTUP;
    case MouseButton::Middle: return MOUSEEVENTF_MIDDLEUP;
    default: return MOUSEEVENTF_LEFTUP;
    }
}

void Send(DWORD flags, int x, int y) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    if (flags & MOUSEEVENTF_ABSOLUTE) {
        // Absolute positions run 0..65535 across the screen; rounding up
        // lands on the pixel asked for.
        const long long w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
        input.mi.dx = static_cast<LONG>((x * 65536LL + w - 1) / w);
        input.mi.dy = static_cast<LONG>((y * 65536LL + h - 1) / h);
    }
    SendInput(1, &input, sizeof input);
}

// One entry of a process's GDI handle table (the same layout the system
// maps into every process).
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

using QueryProcess = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);

struct WindowCount {
    DWORD processId;
    unsigned count;
};

BOOL CALLBACK CountWindowOf(HWND window, LPARAM param) {
    auto* data = reinterpret_cast<WindowCount*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == data->processId) ++data->count;
    return TRUE;
}

BOOL CALLBACK CountTopLevelOf(HWND window, LPARAM param) {
    auto* data = reinterpret_cast<WindowCount*>(param);
    CountWindowOf(window, param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == data->processId) EnumChildWindows(window, &CountWindowOf, param);
    return TRUE;
}

void PumpFor(DWORD milliseconds) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(5);
    } while (GetTickCount64() < end);
}

}  // namespace

bool MoveMouseTo(int x, int y) {
    // Under Wine an injected move also warps the display's pointer, and the
    // display reports pointer positions of its own a moment later, at times
    // from before the warp, which put the pointer back. Injecting again warps
    // from where the pointer is then; the move is done when it stays put.
    for (int attempt = 0; attempt < 8; ++attempt) {
        Send(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, x, y);
        bool stayed = true;
        const ULONGLONG end = GetTickCount64() + 250;
        while (GetTickCount64() < end) {
            PumpFor(10);
            POINT now{};
            GetCursorPos(&now);
            if (now.x != x || now.y != y) stayed = false;
        }
        if (stayed) return true;
    }
    return false;
}

void PressMouse(MouseButton button) { Send(DownFlag(button), 0, 0); }

void ReleaseMouse(MouseButton button) { Send(UpFlag(button), 0, 0); }

unsigned GdiObjectCountOf(DWORD processId) {
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (!process) return 0;
    unsigned count = 0;
    auto query = reinterpret_cast<QueryProcess>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic{};
    if (query && query(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) == 0) {
        // The table's address sits in the process environment block, as in ours.
        constexpr size_t offset = sizeof(void*) == 8 ? 0xF8 : 0x94;
        const void* table = nullptr;
        std::vector<GdiHandleEntry> entries(kGdiHandleEntries);
        SIZE_T read = 0;
        if (ReadProcessMemory(process, static_cast<const BYTE*>(static_cast<const void*>(basic.PebBaseAddress)) + offset,
                              &table, sizeof table, &read) &&
            table &&
            ReadProcessMemory(process, table, entries.data(), entries.size() * sizeof(GdiHandleEntry), &read) &&
            read == entries.size() * sizeof(GdiHandleEntry)) {
            for (const auto& e : entries)
                if (e.type != 0 && !(e.unique & 0x80)) ++count;
        }
    }
    CloseHandle(process);
    return count;
}

unsigned WindowCountOf(DWORD processId) {
    WindowCount data{processId, 0};
    EnumWindows(&CountTopLevelOf, reinterpret_cast<LPARAM>(&data));
    return data.count;
}

}  // namespace tovik_test
