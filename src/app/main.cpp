#include "app/frmMain.h"
#include "platform/owners/Com.h"
#include "platform/owners/Win32.h"
#include "platform/system/SystemLookup.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Messages.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    platform::LoadLibrariesFromTheSystemFolderOnly();
    platform::LoadCommonControls();
    // The shell (the converter's start) and the picture codecs need COM.
    const platform::ComApartment com;

    app::frmMain form;
    if (const HRESULT loaded = form.Form_Load(); FAILED(loaded)) {
        platform::ShowFailure(nullptr, loaded);
        return 1;
    }
    form.Show(showCommand);
    return platform::RunMessageLoop(form.hwnd(), form.Accelerators());
}
