#include "support/ProcessMemory.h"

#include <psapi.h>
#include <winternl.h>

#include <algorithm>

namespace tovik_test {
namespace {

// The virtual size, which GetProcessMemoryInfo does not give.
double AddressSpaceMb(HANDLE process) {
    VM_COUNTERS counters{};
    using Query = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    static const auto query =
        reinterpret_cast<Query>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    constexpr int kProcessVmCounters = 3;
    if (!query || query(process, kProcessVmCounters, &counters, sizeof counters, nullptr) < 0) return 0;
    return static_cast<double>(counters.VirtualSize) / (1024.0 * 1024.0);
}

constexpr double kMb = 1024.0 * 1024.0;

bool Read(HANDLE process, PROCESS_MEMORY_COUNTERS_EX& counters) {
    counters = {};
    counters.cb = sizeof counters;
    return GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters) != 0;
}

}  // namespace

MemoryWatch::MemoryWatch(DWORD processId)
    : process_(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId)) {
    if (process_) sampler_ = std::thread([this] {
            while (!stop_) {
                Sample();
                Sleep(2);
            }
        });
}

MemoryWatch::~MemoryWatch() {
    stop_ = true;
    if (sampler_.joinable()) sampler_.join();
}

void MemoryWatch::Sample() {
    PROCESS_MEMORY_COUNTERS_EX counters;
    if (!Read(process_.get(), counters)) return;
    const std::lock_guard hold(lock_);
    // Wine tells the private memory as the page-file usage only.
    const SIZE_T own = counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
    peaks_.privateMb = std::max(peaks_.privateMb, static_cast<double>(own) / kMb);
    peaks_.workingSetMb = std::max(peaks_.workingSetMb, static_cast<double>(counters.WorkingSetSize) / kMb);
    peaks_.addressSpaceMb = std::max(peaks_.addressSpaceMb, AddressSpaceMb(process_.get()));
}

MemoryFigures MemoryWatch::TakePeaks() {
    Sample();
    const std::lock_guard hold(lock_);
    const MemoryFigures peaks = peaks_;
    peaks_ = {};
    return peaks;
}

double MemoryWatch::PeakWorkingSetMb() const {
    PROCESS_MEMORY_COUNTERS_EX counters;
    return process_ && Read(process_.get(), counters) ? static_cast<double>(counters.PeakWorkingSetSize) / kMb : 0;
}

}  // namespace tovik_test
