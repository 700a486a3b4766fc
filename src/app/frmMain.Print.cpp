// The main window's print commands.
#include "app/frmMain.h"
#include "platform/ui/Messages.h"
#include "printing/PrintCommands.h"
#include "resources/resource.h"

namespace app {

void frmMain::mnuPrint_Click() {
    platform::PictureBox& picture = Picture2();
    if (const DWORD error = printing::PrintPicture(picture.hDC(), picture.ScaleWidth(), picture.ScaleHeight(),
                                                   printer_, platform::LoadText(IDS_PRINT_DOCUMENT))) {
        platform::ShowSystemError(hwnd(), error);
        return;
    }
    platform::DoEvents();
}

void frmMain::mnuPrintSetup_Click() {
    if (const DWORD error = printing::PrintSetup(hwnd(), printer_)) platform::ShowSystemError(hwnd(), error);
}

}  // namespace app
