// Starting the image editor the user has chosen.
#pragma once
#include "platform/owners/Win32.h"

#include <string>

namespace imagefiles {

// Runs `editerName` as a command line, shown normally, and does not wait for
// it. When it cannot be started: one "Error" message naming it.
void StartEditor(HWND owner, const std::wstring& editerName);

}  // namespace imagefiles
