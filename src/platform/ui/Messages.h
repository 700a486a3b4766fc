// Message boxes. Every failure a command reports goes through here.
#pragma once
#include "platform/owners/Win32.h"

#include <string>

namespace platform {

// A message box with an exclamation icon and a single OK button. Without a
// visible owner it comes to the front.
void ShowMessage(HWND owner, const std::wstring& text, const std::wstring& title);
// The same under the title "Error".
void ShowError(HWND owner, const std::wstring& text);
// The "Error" box with the system's own description of a Win32 error or
// HRESULT; a code the system cannot describe reads "0x" and 8 hex digits.
void ShowSystemError(HWND owner, DWORD error);
std::wstring SystemErrorText(DWORD error);
// For a handler that ended with an exception (the standard library's when
// memory runs out): the "Error" box with the system's out-of-memory
// description, made without allocating. A handler that fails again while
// the box is up adds no second one.
void ShowHandlerFailure(HWND owner) noexcept;

// A string from the program's string table.
std::wstring LoadText(UINT id);

}  // namespace platform
