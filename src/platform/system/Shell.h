// The classic help viewer.
#pragma once
#include "platform/owners/Win32.h"

#include <string>

namespace platform {

// True where the classic help viewer (winhlp32.exe) is installed in the
// Windows folder.
bool HasClassicHelpViewer();
// Opens the topics view (contents and index) of a help file in the classic
// viewer; false when the viewer could not be asked.
bool ShowHelpTopics(HWND owner, const std::wstring& helpFile);

}  // namespace platform
