// Times the print command's body on the default printer with a 1920 x 1080
// picture: from the call until the job is with the spooler (what the user
// waits for before the program answers again). Prints the median and the
// spread of the runs. Each job is named PrintBench<n>.
#include "platform/owners/Gdi.h"
#include "platform/ui/Surface.h"
#include "printing/PrintCommands.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    constexpr int kWidth = 1920, kHeight = 1080;
    // A picture with detail everywhere, like a screen capture: 8 x 8 pixel
    // cells whose colours run through the whole range.
    platform::Surface picture;
    if (!picture.Resize(kWidth, kHeight)) return 1;
    for (int y = 0; y < kHeight; y += 8)
        for (int x = 0; x < kWidth; x += 8) {
            const RECT cell{x, y, x + 8, y + 8};
            platform::FillSolid(picture.hDC(), cell, RGB(x * 255 / kWidth, y * 255 / kHeight, (x ^ y) & 0xFF));
        }

    const platform::PrinterChoice printer;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> ms;
    for (int i = 0; i < runs + 1; ++i) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        const DWORD error = printing::PrintPicture(picture.hDC(), kWidth, kHeight, printer,
                                                   L"PrintBench" + std::to_wstring(i));
        QueryPerformanceCounter(&end);
        if (error) {
            std::printf("print failed: error %lu\n", error);
            return 1;
        }
        if (i >= 1)   // the first loads the printer driver
            ms.push_back(1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                         static_cast<double>(frequency.QuadPart));
    }
    std::sort(ms.begin(), ms.end());
    std::printf("tovik PrintPicture %dx%d: median %.1f ms (min %.1f, max %.1f, %d runs)\n", kWidth, kHeight,
                ms[ms.size() / 2], ms.front(), ms.back(), runs);
    return 0;
}
