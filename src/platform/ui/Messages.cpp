#include "platform/ui/Messages.h"

#include "platform/ui/Window.h"
#include "resources/resource.h"

#include <cwchar>

namespace platform {
namespace {

std::wstring FormatSystemMessage(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length ? std::wstring(buffer, length) : std::wstring();
    if (buffer) LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
        text.pop_back();
    return text;
}

UINT MessageStyle(HWND owner) {
    UINT style = MB_OK | MB_ICONEXCLAMATION;
    // A message of a capture that ends while the main window is hidden (a
    // delayed one) must still come up in front of the user, not behind the
    // program that is in front now.
    if (!owner || !IsWindowVisible(owner)) style |= MB_SETFOREGROUND | MB_TOPMOST;
    if (!owner) style |= MB_TASKMODAL;
    return style;
}

}  // namespace

void ShowMessage(HWND owner, const std::wstring& text, const std::wstring& title) {
    MessageBoxW(owner, text.c_str(), title.c_str(), MessageStyle(owner));
}

void ShowHandlerFailure(HWND owner) noexcept {
    static bool showing = false;
    if (showing) return;
    showing = true;
    wchar_t text[512] = L"";
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                  ERROR_NOT_ENOUGH_MEMORY, 0, text, 512, nullptr);
    while (length > 0 && (text[length - 1] == L'\n' || text[length - 1] == L'\r' || text[length - 1] == L' '))
        text[--length] = L'\0';
    wchar_t title[64] = L"";
    LoadStringW(ModuleInstance(), IDS_ERROR_TITLE, title, 64);
    const HWND shownOver = owner && IsWindow(owner) ? owner : nullptr;   // a window that failed being made
    MessageBoxW(shownOver, text, title, MessageStyle(shownOver));
    showing = false;
}

std::wstring SystemErrorText(DWORD error) {
    std::wstring text = FormatSystemMessage(error);
    // An HRESULT that wraps a Win32 error has the Win32 error's description.
    if (text.empty() && HRESULT_FACILITY(error) == FACILITY_WIN32 && (error & 0x80000000u))
        text = FormatSystemMessage(HRESULT_CODE(error));
    if (text.empty()) {
        wchar_t code[16];
        std::swprintf(code, 16, L"0x%08X", static_cast<unsigned>(error));
        text = code;
    }
    return text;
}

FailureMessage MessageOf(HRESULT failure, const std::wstring& subject) {
    if (!IsOwnFailure(failure)) {
        // A Win32 error reads as the system describes the error itself.
        const DWORD code = HRESULT_FACILITY(failure) == FACILITY_WIN32 ? HRESULT_CODE(failure)
                                                                       : static_cast<DWORD>(failure);
        return {SystemErrorText(code), LoadText(IDS_ERROR_TITLE)};
    }
    const UINT id = OwnFailureText(failure);
    // The converter's messages have a title of their own.
    const bool converter = id >= IDS_CONVERTER_FAILED && id <= IDS_CONVERTER_MESSAGES_LAST;
    std::wstring text = LoadText(id);
    if (text.empty()) text = LoadText(IDS_CONVERTER_NOT_STARTED);   // one the program has no words for
    return {subject + text, LoadText(converter ? IDS_CONVERTER_ERROR_TITLE : IDS_ERROR_TITLE)};
}

void ShowFailure(HWND owner, HRESULT failure, const std::wstring& subject) {
    if (SUCCEEDED(failure) || failure == kCancelled) return;
    const FailureMessage message = MessageOf(failure, subject);
    ShowMessage(owner, message.text, message.title);
}

std::wstring LoadText(UINT id) {
    const wchar_t* text = nullptr;
    const int length = LoadStringW(ModuleInstance(), id, reinterpret_cast<wchar_t*>(&text), 0);
    return length > 0 ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
}

}  // namespace platform
