// How a failure travels below the command handlers: one HRESULT. A Win32
// error goes as HRESULT_FROM_WIN32, a COM error as it comes, and Tovik's own
// failures (the ones with a message of the program's own) as codes that
// carry the string-table id of their text. Only the handlers of the windows
// turn one into a message (platform::ShowFailure).
#pragma once
#include "platform/owners/Win32.h"

namespace platform {

// The user said no (Cancel in a dialog): a failure that is never reported.
inline constexpr HRESULT kCancelled = HRESULT_FROM_WIN32(ERROR_CANCELLED);

// A Win32 error as a failure; ERROR_SUCCESS is S_OK.
[[nodiscard]] constexpr HRESULT FailureOf(DWORD error) noexcept { return HRESULT_FROM_WIN32(error); }

// The thread's last error as a failure; a call that failed without saying
// why is taken as out of resources, which is what the window and drawing
// calls run into.
[[nodiscard]] inline HRESULT LastFailure() noexcept {
    const DWORD error = GetLastError();
    return FailureOf(error != ERROR_SUCCESS ? error : ERROR_NOT_ENOUGH_MEMORY);
}

// A failure with a message of the program's own: the customer bit keeps it
// apart from every code the system makes, and the code is the string-table
// id of the message's text.
[[nodiscard]] constexpr HRESULT OwnFailure(UINT textId) noexcept {
    return static_cast<HRESULT>(0xA0000000u | (static_cast<unsigned>(FACILITY_ITF) << 16) | (textId & 0xFFFFu));
}
[[nodiscard]] constexpr bool IsOwnFailure(HRESULT failure) noexcept {
    return (static_cast<unsigned>(failure) & 0xFFFF0000u) == static_cast<unsigned>(OwnFailure(0));
}
[[nodiscard]] constexpr UINT OwnFailureText(HRESULT failure) noexcept {
    return static_cast<UINT>(failure) & 0xFFFFu;
}

}  // namespace platform

// Early returns in the shape the well-kept Win32 code bases use.
#define RETURN_IF_FAILED(expression)                          \
    do {                                                      \
        const HRESULT returnedFailure_ = (expression);        \
        if (FAILED(returnedFailure_)) return returnedFailure_; \
    } while (0)
#define RETURN_IF_WIN32_BOOL_FALSE(expression)              \
    do {                                                    \
        if (!(expression)) return ::platform::LastFailure(); \
    } while (0)
