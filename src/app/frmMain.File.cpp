// The main window's file commands: Open, the recent files, Save As, the editor.
#include "app/frmMain.h"
#include "imagefiles/Editor.h"
#include "imagefiles/FileDialogs.h"
#include "imagefiles/FileNames.h"
#include "imagefiles/PictureFiles.h"
#include "platform/system/Screen.h"
#include "platform/ui/Messages.h"

namespace app {

void frmMain::mnuOpen_Click() {
    imagefiles::ChosenFile chosen;
    if (const HRESULT failure = imagefiles::ChooseFileToOpen(hwnd(), Options.CurPath, CommonDialog1, chosen);
        FAILED(failure)) {
        platform::ShowFailure(hwnd(), failure);
        return;
    }
    LoadImageFile(chosen.path);
    Form_Resize();
    Picture1().Refresh();
    // Also after a failed load: the next dialog starts where this one ended.
    Options.CurPath = imagefiles::FolderOf(chosen.path, chosen.title);
}

void frmMain::mnuFileArray_Click(int index) {
    if (index > 0) LoadImageFile(mnuFileArray_.Caption(index));
    Form_Resize();
    Picture1().Refresh();
}

void frmMain::LoadImageFile(const std::wstring& path) {
    const HRESULT loaded = imagefiles::LoadImageFile(*this, path, Options.TransClipboard == 1);
    if (FAILED(loaded)) platform::ShowFailure(hwnd(), loaded);
    else AddRecentFile(path);
}

void frmMain::mnuSaveAs_Click() {
    imagefiles::ChosenFile chosen;
    if (const HRESULT failure = imagefiles::ChooseFileToSave(hwnd(), Options.CurPath, CommonDialog1, chosen);
        FAILED(failure)) {
        platform::ShowFailure(hwnd(), failure);
        return;
    }
    HRESULT saved = S_OK;
    {
        const platform::WaitCursor busy;
        saved = imagefiles::IsJpegName(chosen.path) ? converter_.ConvertToJpeg(*this, chosen.path)
                                                    : imagefiles::SavePicture(*this, chosen.path);
    }
    platform::ShowFailure(hwnd(), saved);
    // A JPEG save that reached the converter has been handed on, whatever the
    // converter made of it: the next dialog starts in its folder.
    if (SUCCEEDED(saved) || imagefiles::IsConverterFailure(saved))
        Options.CurPath = imagefiles::FolderOf(chosen.path, chosen.title);
}

void frmMain::mnuPbrush_Click() {
    platform::ShowFailure(hwnd(), imagefiles::StartEditor(Options.EditerName), Options.EditerName);
}

}  // namespace app
