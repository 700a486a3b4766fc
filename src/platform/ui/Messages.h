// Message boxes. Every failure a command reports goes through here.
#pragma once
#include "platform/owners/Failure.h"
#include "platform/owners/Win32.h"

#include <string>

namespace platform {

// A message box with an exclamation icon and a single OK button. Without a
// visible owner it comes to the front.
void ShowMessage(HWND owner, const std::wstring& text, const std::wstring& title);

// The system's own description of a Win32 error or HRESULT; a code the
// system cannot describe reads "0x" and 8 hex digits.
std::wstring SystemErrorText(DWORD error);

// What the user is told of a failure: the program's own text under its own
// title for the program's own failures (`subject`, the thing that failed,
// in front of the text: the editor's name), the system's description under
// "Error" for the others.
struct FailureMessage {
    std::wstring text;
    std::wstring title;
};
FailureMessage MessageOf(HRESULT failure, const std::wstring& subject = {});
// The edge: the one message box of a failed command, shown by the handler
// that ran it. Success and a cancel (the user's own choice) show nothing.
void ShowFailure(HWND owner, HRESULT failure, const std::wstring& subject = {});
// For a handler that ended with an exception (the standard library's when
// memory runs out): the "Error" box with the system's out-of-memory
// description, made without allocating. A handler that fails again while
// the box is up adds no second one.
void ShowHandlerFailure(HWND owner) noexcept;

// A string from the program's string table.
std::wstring LoadText(UINT id);

}  // namespace platform
