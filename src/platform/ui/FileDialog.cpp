#include "platform/ui/FileDialog.h"

#include "platform/portable/FileFilter.h"
#include "platform/system/DialogErrors.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

namespace platform {
namespace {

// Room for the longest path the system knows (\\?\ paths included).
constexpr DWORD kPathCapacity = 32768;

enum class Kind { Open, Save };

// The number of file types in a list made by DialogFilter: a text and a
// pattern each.
DWORD FileTypes(const std::wstring& list) {
    const auto parts = std::count(list.begin(), list.end(), L'\0') - 1;   // one more NUL ends the list
    return parts > 0 ? static_cast<DWORD>(parts / 2) : 0;
}

FileDialogResult Show(Kind kind, HWND owner, const FileDialogRequest& request) {
    std::vector<wchar_t> file(kPathCapacity, L'\0');
    std::vector<wchar_t> title(kPathCapacity, L'\0');
    std::copy_n(request.fileName.begin(), std::min<size_t>(request.fileName.size(), kPathCapacity - 1),
                file.begin());
    const std::wstring filter = DialogFilter(request.filter);

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = request.filterIndex <= FileTypes(filter) ? request.filterIndex : 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = kPathCapacity;
    ofn.lpstrFileTitle = title.data();
    ofn.nMaxFileTitle = kPathCapacity;
    ofn.lpstrInitialDir = request.initialFolder.empty() ? nullptr : request.initialFolder.c_str();
    ofn.lpstrTitle = request.title.empty() ? nullptr : request.title.c_str();
    ofn.lpstrDefExt = request.defaultExtension.empty() ? nullptr : request.defaultExtension.c_str();
    ofn.Flags = request.flags;

    const BOOL chosen = kind == Kind::Open ? GetOpenFileNameW(&ofn) : GetSaveFileNameW(&ofn);
    FileDialogResult result;
    if (chosen) {
        result.result = S_OK;
        result.path = file.data();
        result.fileTitle = title.data();
        result.filterIndex = ofn.nFilterIndex;
        return result;
    }
    // A dialog that could not be made at all: the system cannot complete it.
    result.result = FailureOfCommonDialog(CommDlgExtendedError(), ERROR_CAN_NOT_COMPLETE);
    return result;
}

}  // namespace

FileDialogResult ShowOpenFileDialog(HWND owner, const FileDialogRequest& request) {
    return Show(Kind::Open, owner, request);
}

FileDialogResult ShowSaveFileDialog(HWND owner, const FileDialogRequest& request) {
    return Show(Kind::Save, owner, request);
}

}  // namespace platform
