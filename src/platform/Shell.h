// Showing documents the way the system shows them: the classic help viewer,
// and the program the user has chosen for a file's type.
#pragma once
#include "platform/Win32.h"

#include <string>

namespace platform {

bool FileExists(const std::wstring& path);
// True where the classic help viewer (winhlp32.exe) is installed in the
// Windows folder.
bool HasClassicHelpViewer();
// Opens the topics view (contents and index) of a help file in the classic
// viewer; false when the viewer could not be asked.
bool ShowHelpTopics(HWND owner, const std::wstring& helpFile);
// Opens a document with the program chosen for its type, a page in the
// default browser. 0 when that program was started, else the Win32 error
// (ERROR_NO_ASSOCIATION when no program is chosen). Shows nothing itself.
DWORD OpenDocument(HWND owner, const std::wstring& path);

}  // namespace platform
