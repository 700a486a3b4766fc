#include "platform/system/Printer.h"

#include "platform/system/SystemLookup.h"

#include <commdlg.h>
#include <cderr.h>
#include <winspool.h>

#include <vector>

namespace platform {
namespace {

// The thread's last error, or `fallback` when a call failed without setting one.
DWORD LastErrorOr(DWORD fallback) {
    const DWORD error = GetLastError();
    return error != ERROR_SUCCESS ? error : fallback;
}

// GDI print calls that fail without saying why: the printer, a device, is
// not working.
constexpr DWORD kPrinterFailed = ERROR_GEN_FAILURE;

// The spooler's library is no system library every program has loaded: its
// functions are looked up in the system folder, never imported, so that a
// file of its name beside the program is never loaded. Without it there is
// no printer to print on.
constexpr wchar_t kSpooler[] = L"winspool.drv";

// The name of the system's default printer; empty with `error` set when there is none.
std::wstring DefaultPrinterName(DWORD& error) {
    const auto getDefaultPrinter = SystemFunctionOf<decltype(&GetDefaultPrinterW)>(kSpooler, "GetDefaultPrinterW");
    if (!getDefaultPrinter) {
        error = kNoPrinterError;
        return {};
    }
    DWORD length = 0;
    getDefaultPrinter(nullptr, &length);
    std::vector<wchar_t> name(length + 1, L'\0');
    length = static_cast<DWORD>(name.size());
    if (!getDefaultPrinter(name.data(), &length)) {
        const DWORD failure = GetLastError();
        // No default printer is what a system without printers answers.
        error = failure == ERROR_FILE_NOT_FOUND || failure == ERROR_SUCCESS ? kNoPrinterError : failure;
        return {};
    }
    error = 0;
    return name.data();
}

// True when the system knows at least one printer, local or connected.
bool AnyPrinterInstalled() {
    const auto enumPrinters = SystemFunctionOf<decltype(&EnumPrintersW)>(kSpooler, "EnumPrintersW");
    if (!enumPrinters) return false;
    DWORD needed = 0, count = 0;
    enumPrinters(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 4, nullptr, 0, &needed, &count);
    return needed > 0;
}

}  // namespace

std::wstring PrinterChoice::DeviceName() const {
    LockedGlobal<const DEVNAMES> names(devNames_.get());
    if (!names) return {};
    return reinterpret_cast<const wchar_t*>(names.get()) + names->wDeviceOffset;
}

HRESULT ShowPrintSetupDialog(HWND owner, PrinterChoice& choice) {
    // Without printers the dialog has nothing to offer: Windows would show a
    // message of its own before failing, Wine an empty list. The user gets
    // the one "Error" message instead.
    if (!AnyPrinterInstalled()) return FailureOf(kNoPrinterError);
    bool seeded = !choice.empty();
    for (;;) {
        PRINTDLGW dialog{};
        dialog.lStructSize = sizeof dialog;
        dialog.hwndOwner = owner;
        dialog.Flags = PD_PRINTSETUP;
        // The dialog works on copies, so that Cancel leaves the choice exactly
        // as it was whatever the dialog did to the blocks it was given.
        if (seeded) {
            dialog.hDevMode = CopyGlobalMemory(choice.DevMode()).release();
            dialog.hDevNames = CopyGlobalMemory(choice.DevNames()).release();
        }
        const BOOL ok = PrintDlgW(&dialog);
        const DWORD extended = ok ? 0 : CommDlgExtendedError();
        // The dialog may have replaced the blocks; whichever it left are ours.
        GlobalMemory devMode(dialog.hDevMode);
        GlobalMemory devNames(dialog.hDevNames);
        if (ok) {
            choice = PrinterChoice(std::move(devMode), std::move(devNames));
            return S_OK;
        }
        // The printer chosen earlier is gone: show the printers there are now.
        if (extended == PDERR_PRINTERNOTFOUND && seeded) {
            seeded = false;
            continue;
        }
        // Cancel, or the dialog's own failure; one that could not be made at
        // all is nothing the user can change.
        return FailureOfCommonDialog(extended, ERROR_INTERNAL_ERROR);
    }
}

PrinterDC::PrinterDC(const PrinterChoice& choice) {
    std::wstring device = choice.DeviceName();
    if (device.empty()) {
        device = DefaultPrinterName(error_);
        if (device.empty()) return;
    }
    LockedGlobal<const DEVMODEW> settings(choice.DevMode());
    SetLastError(ERROR_SUCCESS);
    dc_.reset(CreateDCW(L"WINSPOOL", device.c_str(), nullptr, settings.get()));
    error_ = dc_ ? 0 : LastErrorOr(kNoPrinterError);
}

PrintDocument::PrintDocument(HDC printer, const std::wstring& name) : printer_(printer) {
    DOCINFOW info{};
    info.cbSize = sizeof info;
    info.lpszDocName = name.c_str();
    SetLastError(ERROR_SUCCESS);
    open_ = StartDocW(printer, &info) > 0;
    error_ = open_ ? 0 : LastErrorOr(kPrinterFailed);
}

HRESULT PrintDocument::Complete() {
    if (!open_) return FailureOf(error_ ? error_ : kPrinterFailed);
    SetLastError(ERROR_SUCCESS);
    if (EndDoc(printer_) <= 0) return FailureOf(LastErrorOr(kPrinterFailed));   // aborted when this ends
    open_ = false;
    return S_OK;
}

PrintPage::PrintPage(HDC printer) : printer_(printer) {
    SetLastError(ERROR_SUCCESS);
    open_ = StartPage(printer) > 0;
    error_ = open_ ? 0 : LastErrorOr(kPrinterFailed);
}

HRESULT PrintPage::End() {
    if (!open_) return FailureOf(error_ ? error_ : kPrinterFailed);
    open_ = false;
    SetLastError(ERROR_SUCCESS);
    return EndPage(printer_) > 0 ? S_OK : FailureOf(LastErrorOr(kPrinterFailed));
}

PrintablePicture::PrintablePicture(HDC source, int width, int height) {
    if (width <= 0 || height <= 0) return;
    SetLastError(ERROR_SUCCESS);
    bitmap_ = CreateTopDownBitmap(source, width, height, bits_);
    if (!bitmap_) {
        error_ = LastErrorOr(ERROR_NOT_ENOUGH_MEMORY);
        return;
    }
    width_ = width;
    height_ = height;
    MemoryDC copy = CompatibleDC(source);
    if (!copy) {
        error_ = LastErrorOr(ERROR_NOT_ENOUGH_MEMORY);
        return;
    }
    {
        SelectedObject select(copy.get(), bitmap_.get());
        CopyPixels(copy.get(), 0, 0, width, height, source, 0, 0);
    }
    GdiFlush();   // the bits are read directly from here on
}

HRESULT PrintablePicture::DrawOn(HDC printer, const RECT& destination) const {
    if (!bits_ || error_) return FailureOf(error_);
    const BITMAPINFO info = TopDownRgb32(width_, height_);
    SetStretchBltMode(printer, HALFTONE);
    SetBrushOrgEx(printer, 0, 0, nullptr);   // halftoning needs the brush origin set after the mode
    SetLastError(ERROR_SUCCESS);
    const int lines = StretchDIBits(printer, destination.left, destination.top,
                                    destination.right - destination.left, destination.bottom - destination.top,
                                    0, 0, width_, height_, bits_, &info, DIB_RGB_COLORS, SRCCOPY);
    return lines == 0 || lines == static_cast<int>(GDI_ERROR) ? FailureOf(LastErrorOr(kPrinterFailed)) : S_OK;
}

}  // namespace platform
