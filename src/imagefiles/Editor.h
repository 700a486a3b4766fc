// Starting the image editor the user has chosen.
#pragma once
#include "platform/owners/Failure.h"

#include <string>

namespace imagefiles {

// Runs `editerName` as a command line, shown normally, and does not wait for
// it. When it cannot be started, the failure whose message follows the
// editor's name (IDS_EDITOR_FAILED), whatever the system's reason.
[[nodiscard]] HRESULT StartEditor(const std::wstring& editerName);

}  // namespace imagefiles
