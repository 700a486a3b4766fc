// The main window's print commands.
#include "app/frmMain.h"
#include "platform/ui/Messages.h"
#include "printing/PrintCommands.h"
#include "resources/resource.h"

namespace app {

void frmMain::mnuPrint_Click() {
    platform::PictureBox& picture = Picture2();
    if (const HRESULT failure = printing::PrintPicture(picture.hDC(), picture.ScaleWidth(), picture.ScaleHeight(),
                                                       printer_, platform::LoadText(IDS_PRINT_DOCUMENT));
        FAILED(failure)) {
        platform::ShowFailure(hwnd(), failure);
        return;
    }
    platform::DoEvents();
}

void frmMain::mnuPrintSetup_Click() {
    platform::ShowFailure(hwnd(), printing::PrintSetup(hwnd(), printer_));
}

}  // namespace app
