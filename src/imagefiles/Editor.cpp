#include "imagefiles/Editor.h"

#include "platform/system/Process.h"
#include "resources/resource.h"

namespace imagefiles {

HRESULT StartEditor(const std::wstring& editerName) {
    if (FAILED(platform::RunCommandLine(editerName, SW_SHOWNORMAL))) return platform::OwnFailure(IDS_EDITOR_FAILED);
    return S_OK;
}

}  // namespace imagefiles
