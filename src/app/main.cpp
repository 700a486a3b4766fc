#include "app/frmMain.h"
#include "platform/Controls.h"
#include "platform/Win32.h"

#include <objbase.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    platform::LoadCommonControls();
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

    int exitCode = 1;
    {
        frmMain form;
        if (form.Form_Load()) {
            form.Show(showCommand);
            exitCode = platform::RunMessageLoop(form.hwnd(), form.Accelerators());
        }
    }
    CoUninitialize();
    return exitCode;
}
