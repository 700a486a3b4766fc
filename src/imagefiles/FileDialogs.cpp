#include "imagefiles/FileDialogs.h"

#include "platform/ui/FileDialog.h"
#include "platform/ui/Messages.h"

#include <cderr.h>
#include <commdlg.h>

namespace imagefiles {
namespace {

constexpr wchar_t kOpenTitle[] = L"開く";
constexpr wchar_t kOpenFilter[] =
    L"ﾋﾞｯﾄﾏｯﾌﾟ(*.bmp)|*.bmp|GIFﾌｧｲﾙ(*.gif)|*.gif|JPEGﾌｧｲﾙ(*.jpg)|*.jpg|すべてのﾌｧｲﾙ(*.*)|*.*";
constexpr wchar_t kSaveTitle[] = L"名前を付けて保存";
constexpr wchar_t kSaveFilter[] = L"ﾋﾞｯﾄﾏｯﾌﾟ(*.bmp)|*.bmp|JPEG(*.jpg)|*.jpg|PNG(*.png)|*.png";
// Explorer-style dialogs that leave the program's current folder alone.
constexpr DWORD kDialogStyle = OFN_EXPLORER | OFN_NOCHANGEDIR;

// A dialog's own failure codes overlap the system's error numbers; the
// message shows the system's description of the matching error.
DWORD SystemErrorOf(DWORD dialogError) {
    switch (dialogError) {
    case FNERR_INVALIDFILENAME: return ERROR_INVALID_NAME;
    case FNERR_BUFFERTOOSMALL: return ERROR_FILENAME_EXCED_RANGE;
    case CDERR_MEMALLOCFAILURE:
    case CDERR_MEMLOCKFAILURE: return ERROR_NOT_ENOUGH_MEMORY;
    default: return ERROR_CAN_NOT_COMPLETE;
    }
}

std::optional<ChosenFile> Finish(HWND owner, const platform::FileDialogResult& result, CommonDialogState& dialog,
                                 DWORD& filterIndex) {
    if (result.outcome == platform::FileDialogResult::Outcome::Failed)
        platform::ShowSystemError(owner, SystemErrorOf(result.error));
    if (!result.Chosen()) return std::nullopt;
    dialog.FileName = result.path;
    filterIndex = result.filterIndex;
    return ChosenFile{result.path, result.fileTitle};
}

}  // namespace

std::optional<ChosenFile> ChooseFileToOpen(HWND owner, const std::wstring& folder, CommonDialogState& dialog) {
    // A typed name of a file that does not exist comes back like any other:
    // the load reports it.
    dialog.FileName.clear();
    platform::FileDialogRequest request;
    request.title = kOpenTitle;
    request.initialFolder = folder;
    request.filter = kOpenFilter;
    request.filterIndex = dialog.OpenFilterIndex;
    request.flags = kDialogStyle | OFN_HIDEREADONLY;
    return Finish(owner, platform::ShowOpenFileDialog(owner, request), dialog, dialog.OpenFilterIndex);
}

std::optional<ChosenFile> ChooseFileToSave(HWND owner, const std::wstring& folder, CommonDialogState& dialog) {
    // No default extension: a name typed without one is written exactly so.
    platform::FileDialogRequest request;
    request.title = kSaveTitle;
    request.initialFolder = folder;
    request.fileName = dialog.FileName;
    request.filter = kSaveFilter;
    request.filterIndex = dialog.SaveFilterIndex;
    request.flags = kDialogStyle | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
    return Finish(owner, platform::ShowSaveFileDialog(owner, request), dialog, dialog.SaveFilterIndex);
}

}  // namespace imagefiles
