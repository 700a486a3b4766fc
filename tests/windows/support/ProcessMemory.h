// The memory another process takes, as the system reports it: sampled every
// few milliseconds while a watch lives, so a test or a benchmark can print
// the most a step of the program needed.
#pragma once
#include "platform/owners/Handle.h"
#include "platform/owners/Win32.h"

#include <atomic>
#include <mutex>
#include <thread>

namespace tovik_test {

struct MemoryFigures {
    double privateMb = 0;      // the process's own memory (PrivateUsage)
    double workingSetMb = 0;   // what it has in RAM, shared memory included
    double addressSpaceMb = 0; // what it has reserved, touched or not: a 32-bit process has 4 GB
};

class MemoryWatch {
public:
    explicit MemoryWatch(DWORD processId);
    ~MemoryWatch();
    MemoryWatch(const MemoryWatch&) = delete;
    MemoryWatch& operator=(const MemoryWatch&) = delete;

    bool ready() const { return bool(process_); }
    // The most seen since the watch began or since the last call, which starts over.
    MemoryFigures TakePeaks();
    // The system's own record of the most RAM the process ever had.
    double PeakWorkingSetMb() const;

private:
    void Sample();

    platform::KernelHandle process_;
    std::mutex lock_;
    MemoryFigures peaks_;
    std::atomic<bool> stop_{false};
    std::thread sampler_;
};

}  // namespace tovik_test
