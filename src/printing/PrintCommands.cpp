#include "printing/PrintCommands.h"

#include "platform/system/Screen.h"
#include "printing/Placement.h"

namespace printing {

DWORD PrintPicture(HDC picture, int width, int height, const platform::PrinterChoice& printer,
                   const std::wstring& documentName) {
    platform::PrinterDC dc(printer);
    if (!dc) return dc.Error();

    const placement::Rectangle place = placement::PlacePicture(
        {width, height}, {platform::ScreenDpiX(), platform::ScreenDpiY()}, {dc.DpiX(), dc.DpiY()},
        {dc.PrintableWidth(), dc.PrintableHeight()});
    // Copied before the job begins, so that a picture too large for memory
    // leaves no aborted job in the printer's queue.
    const platform::PrintablePicture copy(picture, width, height);
    if (copy.Error()) return copy.Error();

    platform::PrintDocument document(dc.get(), documentName);
    // A printer that asks for a file name first (printing to a PDF or XPS
    // file) reports its Cancel button here: the user's choice, not a failure.
    if (document.Error() == ERROR_CANCELLED || document.Error() == ERROR_PRINT_CANCELLED) return 0;
    if (document.Error()) return document.Error();
    {
        platform::PrintPage page(dc.get());
        if (page.Error()) return page.Error();
        if (place.width > 0) {   // else the picture is empty: so is the page
            const RECT destination{place.x, place.y, place.x + place.width, place.y + place.height};
            if (const DWORD error = copy.DrawOn(dc.get(), destination)) return error;
        }
        if (const DWORD error = page.End()) return error;
    }
    return document.Complete();
}

DWORD PrintSetup(HWND owner, platform::PrinterChoice& printer) {
    const platform::DialogResult result = platform::ShowPrintSetupDialog(owner, printer);
    return result.outcome == platform::DialogOutcome::Failed ? result.error : 0;
}

}  // namespace printing
