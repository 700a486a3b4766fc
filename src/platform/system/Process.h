// Starting another program through the shell, and waiting for it.
#pragma once
#include "platform/owners/Failure.h"
#include "platform/owners/Handle.h"

#include <string>

namespace platform {

struct StartedProgram {
    // The shell's classic result: greater than 32 when the program started,
    // otherwise one of its error codes (0, 2, 3, 5, 8, 11, 26 to 32).
    int code = 0;
    // The new process, when the shell started one (it may hand the file to a
    // running program instead and have no process to give).
    KernelHandle process;
    bool started() const { return code > 32; }
};

// Opens `file` with `parameters`, in `directory`, with the show command
// (SW_HIDE for a program that must not be seen), owned by `owner`. Shows no
// message of the shell's own on failure: the caller reports the code.
StartedProgram StartProgram(HWND owner, const std::wstring& file, const std::wstring& parameters,
                            const std::wstring& directory, int show);

// Opens a document with the program chosen for its type: a page in the
// default browser. S_OK once that program has it, else the failure
// (ERROR_NO_ASSOCIATION when no program is chosen).
[[nodiscard]] HRESULT OpenDocument(HWND owner, const std::wstring& path);

// Runs a command line the way the user would type it: the program is the
// first word (quoted when it holds blanks), found through the program search
// path, and the rest reaches it unchanged. S_OK once it has started, or
// the failure.
[[nodiscard]] HRESULT RunCommandLine(const std::wstring& commandLine, int show);

// Waits up to timeoutMs for the process to end. True when it has ended or
// there is no process; false when it is still running after the wait.
bool WaitForProcess(const KernelHandle& process, DWORD timeoutMs);

}  // namespace platform
