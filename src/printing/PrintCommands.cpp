#include "printing/PrintCommands.h"

#include "platform/system/Screen.h"
#include "printing/Placement.h"

namespace printing {

HRESULT PrintPicture(HDC picture, int width, int height, const platform::PrinterChoice& printer,
                     const std::wstring& documentName) {
    platform::PrinterDC dc(printer);
    if (!dc) return dc.Error();

    const placement::Rectangle place = placement::PlacePicture(
        {width, height}, {platform::ScreenDpiX(), platform::ScreenDpiY()}, {dc.DpiX(), dc.DpiY()},
        {dc.PrintableWidth(), dc.PrintableHeight()});
    // Copied before the job begins, so that a picture too large for memory
    // leaves no aborted job in the printer's queue.
    const platform::PrintablePicture copy(picture, width, height);
    RETURN_IF_FAILED(copy.Error());

    platform::PrintDocument document(dc.get(), documentName);
    // A printer that asks for a file name first (printing to a PDF or XPS
    // file) reports its Cancel button here: the user's choice, not a failure.
    if (document.Error() == platform::kCancelled || document.Error() == platform::FailureOf(ERROR_PRINT_CANCELLED))
        return S_OK;
    RETURN_IF_FAILED(document.Error());
    {
        platform::PrintPage page(dc.get());
        RETURN_IF_FAILED(page.Error());
        if (place.width > 0) {   // else the picture is empty: so is the page
            const RECT destination{place.x, place.y, place.x + place.width, place.y + place.height};
            RETURN_IF_FAILED(copy.DrawOn(dc.get(), destination));
        }
        RETURN_IF_FAILED(page.End());
    }
    return document.Complete();
}

HRESULT PrintSetup(HWND owner, platform::PrinterChoice& printer) {
    const HRESULT result = platform::ShowPrintSetupDialog(owner, printer);
    return result == platform::kCancelled ? S_OK : result;
}

}  // namespace printing
