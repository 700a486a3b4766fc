// Other programs a test starts: the program under test, its helper programs
// (helpers/), the converter, Linux commands through Wine. Each process has
// one owner, the platform's kernel-handle owner.
#pragma once
#include "platform/owners/Handle.h"
#include "platform/owners/Win32.h"

#include <string>

namespace tovik_test {

struct StartedProcess {
    bool started = false;
    platform::KernelHandle process;   // none for a Linux program, which Wine gives no handle of
    DWORD id = 0;
    explicit operator bool() const { return started; }
};

// Starts the command line as it is (the program found from its first word
// unless `exe` names it), with the startup information given or a plain one.
StartedProcess StartProcess(std::wstring commandLine, const std::wstring& exe = L"",
                            const STARTUPINFOW* startup = nullptr, bool inheritHandles = false);
// Starts it and waits up to timeoutMs for its end: its exit code, or -1 when
// it did not start or end.
int RunProcess(const std::wstring& commandLine, int timeoutMs = 60000, const std::wstring& exe = L"");

// Runs a Unix shell command from inside Wine, waits for it and returns its
// exit status, or -1 when it could not run or did not end in time.
int RunUnixShell(const std::string& command, int timeoutMs = 60000);

// A helper program built beside the tests, started with its arguments and
// waited for (at most 10 s) when its owner ends. When `readyEvent` is given,
// the start waits until the helper sets that named event (it has taken hold
// of what it holds).
class HelperProgram {
public:
    HelperProgram(const std::wstring& name, const std::wstring& arguments, const wchar_t* readyEvent = nullptr);
    ~HelperProgram();
    HelperProgram(const HelperProgram&) = delete;
    HelperProgram& operator=(const HelperProgram&) = delete;
    // Started, and holding once it has said so.
    bool ready() const { return ready_; }
    bool WaitForExit(int timeoutMs = 10000) const;

private:
    platform::KernelHandle readyEvent_;
    StartedProcess started_;
    bool ready_ = false;
};

}  // namespace tovik_test
