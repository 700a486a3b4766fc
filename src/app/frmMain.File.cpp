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
    const auto chosen = imagefiles::ChooseFileToOpen(hwnd(), Options.CurPath, CommonDialog1);
    if (!chosen) return;
    LoadImageFile(chosen->path);
    Form_Resize();
    Picture1().Refresh();
    // Also after a failed load: the next dialog starts where this one ended.
    Options.CurPath = imagefiles::FolderOf(chosen->path, chosen->title);
}

void frmMain::mnuFileArray_Click(int index) {
    if (index > 0) LoadImageFile(mnuFileArray_.Caption(index));
    Form_Resize();
    Picture1().Refresh();
}

void frmMain::LoadImageFile(const std::wstring& path) {
    if (imagefiles::LoadImageFile(*this, path, Options.TransClipboard == 1)) AddRecentFile(path);
}

void frmMain::mnuSaveAs_Click() {
    const auto chosen = imagefiles::ChooseFileToSave(hwnd(), Options.CurPath, CommonDialog1);
    if (!chosen) return;
    DWORD error = 0;
    {
        const platform::WaitCursor busy;
        error = imagefiles::IsJpegName(chosen->path) ? converter_.ConvertToJpeg(*this, chosen->path)
                                                     : imagefiles::SavePicture(*this, chosen->path);
    }
    if (error) {
        platform::ShowSystemError(hwnd(), error);
        return;
    }
    Options.CurPath = imagefiles::FolderOf(chosen->path, chosen->title);
}

void frmMain::mnuPbrush_Click() { imagefiles::StartEditor(hwnd(), Options.EditerName); }

}  // namespace app
