// Times a full-screen capture through the routine every capture ends in,
// inside a real main window: one screen read, the copies into the view and
// the buffer, the clipboard. Prints the median and the spread of the runs.
#include "app/Module2.h"
#include "app/frmMain.h"
#include "capture/CaptureRegion.h"
#include "platform/system/Screen.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 15;
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    app::frmMain main;
    if (FAILED(main.Form_Load())) return 1;
    main.Show(SW_SHOWNORMAL);
    const RECT screen = app::ProgramState().DesktopRect;

    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> ms;
    for (int i = 0; i < runs + 2; ++i) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        const HRESULT captured = capture::CaptureRegion(main, platform::DesktopWindow(), screen);
        QueryPerformanceCounter(&end);
        if (FAILED(captured)) return 1;
        if (i >= 2)   // the first two warm up caches and the clipboard
            ms.push_back(1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                         static_cast<double>(frequency.QuadPart));
    }
    std::sort(ms.begin(), ms.end());
    std::printf("tovik CaptureRegion %ldx%ld: median %.1f ms (min %.1f, max %.1f, %d runs)\n",
                screen.right - screen.left, screen.bottom - screen.top, ms[ms.size() / 2], ms.front(), ms.back(), runs);
    return 0;
}
