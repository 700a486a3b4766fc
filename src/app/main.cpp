#include "app/frmMain.h"
#include "platform/Com.h"
#include "platform/Controls.h"
#include "platform/Win32.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    platform::LoadCommonControls();
    // The shell (the converter's start) and the picture codecs need COM.
    const platform::ComApartment com;

    int exitCode = 1;
    {
        frmMain form;
        if (form.Form_Load()) {
            form.Show(showCommand);
            exitCode = platform::RunMessageLoop(form.hwnd(), form.Accelerators());
        }
    }
    return exitCode;
}
