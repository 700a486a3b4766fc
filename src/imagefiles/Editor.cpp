#include "imagefiles/Editor.h"

#include "platform/system/Process.h"
#include "platform/ui/Messages.h"
#include "resources/resource.h"

namespace imagefiles {

void StartEditor(HWND owner, const std::wstring& editerName) {
    if (platform::RunCommandLine(editerName, SW_SHOWNORMAL) != 0)
        platform::ShowError(owner, editerName + platform::LoadText(IDS_EDITOR_FAILED));
}

}  // namespace imagefiles
