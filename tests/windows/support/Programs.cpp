#include "support/Programs.h"

#include "support/Driver.h"
#include "support/Pictures.h"   // ReadFileBytes

#include <cstdlib>
#include <fstream>

namespace tovik_test {

StartedProcess StartProcess(std::wstring commandLine, const std::wstring& exe, const STARTUPINFOW* startup,
                            bool inheritHandles) {
    STARTUPINFOW plain{};
    plain.cb = sizeof plain;
    PROCESS_INFORMATION pi{};
    StartedProcess started;
    if (!CreateProcessW(exe.empty() ? nullptr : exe.c_str(), commandLine.data(), nullptr, nullptr, inheritHandles, 0,
                        nullptr, nullptr, const_cast<STARTUPINFOW*>(startup ? startup : &plain), &pi))
        return started;
    const platform::KernelHandle thread(pi.hThread);
    started.started = true;
    started.process.reset(pi.hProcess);
    started.id = pi.dwProcessId;
    return started;
}

int RunProcess(const std::wstring& commandLine, int timeoutMs, const std::wstring& exe) {
    const StartedProcess started = StartProcess(commandLine, exe);
    DWORD code = static_cast<DWORD>(-1);
    if (started.process && WaitForSingleObject(started.process.get(), static_cast<DWORD>(timeoutMs)) == WAIT_OBJECT_0)
        GetExitCodeProcess(started.process.get(), &code);
    return static_cast<int>(code);
}

int RunUnixShell(const std::string& command, int timeoutMs) {
    // Wine starts a Unix program named by its Unix path as it is, but the
    // handle it gives for it does not wait for the program's end; the script
    // therefore leaves its exit status in a file, complete once renamed.
    static int count = 0;
    const std::string base = "/tmp/tovik-test-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++count);
    const std::string script = base + ".sh", status = base + ".status";
    {
        std::ofstream out(WindowsPath(script).c_str(), std::ios::binary | std::ios::trunc);
        out << "{ " << command << "\n}\necho $? > '" << status << ".part' && mv '" << status << ".part' '"
            << status << "'\n";
        if (!out) return -1;
    }
    if (!StartProcess(L"/bin/sh " + std::wstring(script.begin(), script.end()))) return -1;
    const bool ended = WaitUntil([&] { return Exists(WindowsPath(status)); }, timeoutMs);
    const auto result = ReadFileBytes(WindowsPath(status));
    DeleteFileW(WindowsPath(script).c_str());
    DeleteFileW(WindowsPath(status).c_str());
    return ended && !result.empty() ? std::atoi(std::string(result.begin(), result.end()).c_str()) : -1;
}

HelperProgram::HelperProgram(const std::wstring& name, const std::wstring& arguments, const wchar_t* readyEvent) {
    if (readyEvent) {
        readyEvent_.reset(CreateEventW(nullptr, TRUE, FALSE, readyEvent));
        ResetEvent(readyEvent_.get());   // a helper of an earlier test may have left it set
    }
    started_ = StartProcess(L"\"" + TestFolder() + name + L"\" " + arguments);
    if (!started_.process || !readyEvent) {
        ready_ = bool(started_.process);
        return;
    }
    const HANDLE either[] = {readyEvent_.get(), started_.process.get()};
    ready_ = WaitForMultipleObjects(2, either, FALSE, 10000) == WAIT_OBJECT_0;
}

HelperProgram::~HelperProgram() { WaitForExit(); }

bool HelperProgram::WaitForExit(int timeoutMs) const {
    return !started_.process || WaitForSingleObject(started_.process.get(), static_cast<DWORD>(timeoutMs)) == WAIT_OBJECT_0;
}

}  // namespace tovik_test
