#include "app/frmMain.h"
#include "platform/Win32.h"

#include <commctrl.h>
#include <objbase.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
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
