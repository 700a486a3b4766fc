#include "imagefiles/FileDialogs.h"

#include "platform/ui/FileDialog.h"
#include "platform/ui/Messages.h"
#include "resources/resource.h"

#include <commdlg.h>

namespace imagefiles {
namespace {

// Explorer-style dialogs that leave the program's current folder alone.
constexpr DWORD kDialogStyle = OFN_EXPLORER | OFN_NOCHANGEDIR;

HRESULT Finish(const platform::FileDialogResult& result, CommonDialogState& dialog, DWORD& filterIndex,
               ChosenFile& chosen) {
    if (!result.Chosen()) return result.result;
    dialog.FileName = result.path;
    filterIndex = result.filterIndex;
    chosen = ChosenFile{result.path, result.fileTitle};
    return S_OK;
}

}  // namespace

HRESULT ChooseFileToOpen(HWND owner, const std::wstring& folder, CommonDialogState& dialog, ChosenFile& chosen) {
    // A typed name of a file that does not exist comes back like any other:
    // the load reports it.
    dialog.FileName.clear();
    platform::FileDialogRequest request;
    request.title = platform::LoadText(IDS_OPEN_TITLE);
    request.initialFolder = folder;
    request.filter = platform::LoadText(IDS_OPEN_FILTER);
    request.filterIndex = dialog.OpenFilterIndex;
    request.flags = kDialogStyle | OFN_HIDEREADONLY;
    return Finish(platform::ShowOpenFileDialog(owner, request), dialog, dialog.OpenFilterIndex, chosen);
}

HRESULT ChooseFileToSave(HWND owner, const std::wstring& folder, CommonDialogState& dialog, ChosenFile& chosen) {
    // No default extension: a name typed without one is written exactly so.
    platform::FileDialogRequest request;
    request.title = platform::LoadText(IDS_SAVE_TITLE);
    request.initialFolder = folder;
    request.fileName = dialog.FileName;
    request.filter = platform::LoadText(IDS_SAVE_FILTER);
    request.filterIndex = dialog.SaveFilterIndex;
    request.flags = kDialogStyle | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
    return Finish(platform::ShowSaveFileDialog(owner, request), dialog, dialog.SaveFilterIndex, chosen);
}

}  // namespace imagefiles
