// The printer: the one the user chose in print setup, its device context, a
// document with its pages, and pictures a printer can draw. Every failure
// comes back as a failure (S_OK: none) for the "Error" message.
#pragma once
#include "platform/owners/Gdi.h"
#include "platform/owners/GlobalMemory.h"
#include "platform/system/DialogErrors.h"

#include <string>

namespace platform {

// The printer and page settings chosen in print setup, kept by the program
// for the run. Empty means the system's default printer; choosing a printer
// here never changes the default printer of the other programs.
class PrinterChoice {
public:
    PrinterChoice() = default;
    // Takes the settings (DEVMODE) and names (DEVNAMES) blocks the dialog returned.
    PrinterChoice(GlobalMemory devMode, GlobalMemory devNames)
        : devMode_(std::move(devMode)), devNames_(std::move(devNames)) {}
    PrinterChoice(PrinterChoice&&) noexcept = default;
    PrinterChoice& operator=(PrinterChoice&&) noexcept = default;

    bool empty() const { return !devNames_; }
    // The chosen printer's name; empty when the default printer is meant.
    std::wstring DeviceName() const;
    HGLOBAL DevMode() const { return devMode_.get(); }
    HGLOBAL DevNames() const { return devNames_.get(); }

private:
    GlobalMemory devMode_;
    GlobalMemory devNames_;
};

// The system's print-setup dialog, modal to `owner`, showing `choice` (or the
// default printer). OK (S_OK) replaces `choice` with what the user picked;
// Cancel (kCancelled) and failure leave it as it was. No printer at all is a
// failure with kNoPrinterError.
[[nodiscard]] HRESULT ShowPrintSetupDialog(HWND owner, PrinterChoice& choice);

// A device context of the chosen printer, or of the system's default printer
// when nothing was chosen; deleted with its owner.
class PrinterDC {
public:
    explicit PrinterDC(const PrinterChoice& choice);

    HDC get() const { return dc_.get(); }
    explicit operator bool() const { return static_cast<bool>(dc_); }
    // Why there is no DC; S_OK when there is one.
    HRESULT Error() const { return FailureOf(error_); }

    // Printer pixels per inch, and the printable area in printer pixels.
    // Device coordinates start at the printable area's top-left corner.
    int DpiX() const { return GetDeviceCaps(get(), LOGPIXELSX); }
    int DpiY() const { return GetDeviceCaps(get(), LOGPIXELSY); }
    int PrintableWidth() const { return GetDeviceCaps(get(), HORZRES); }
    int PrintableHeight() const { return GetDeviceCaps(get(), VERTRES); }

private:
    UniqueHandle<HDC, DeleteDeviceContext> dc_;
    DWORD error_ = 0;
};

// One print job, begun when this is made. A document that goes out of scope
// without Complete() having succeeded is aborted, so a failure part-way
// leaves no half-printed job in the queue.
class PrintDocument {
public:
    PrintDocument(HDC printer, const std::wstring& name);
    ~PrintDocument() { if (open_) AbortDoc(printer_); }
    PrintDocument(const PrintDocument&) = delete;
    PrintDocument& operator=(const PrintDocument&) = delete;

    // Why the job could not begin; S_OK when it did.
    HRESULT Error() const { return FailureOf(error_); }
    // Ends the document, which hands the job to the spooler.
    [[nodiscard]] HRESULT Complete();

private:
    HDC printer_;
    bool open_ = false;
    DWORD error_ = 0;
};

// One page of a document, begun when this is made and ended when it goes out
// of scope, unless End() was called.
class PrintPage {
public:
    explicit PrintPage(HDC printer);
    ~PrintPage() { if (open_) EndPage(printer_); }
    PrintPage(const PrintPage&) = delete;
    PrintPage& operator=(const PrintPage&) = delete;

    HRESULT Error() const { return FailureOf(error_); }
    [[nodiscard]] HRESULT End();

private:
    HDC printer_;
    bool open_ = false;
    DWORD error_ = 0;
};

// A device-independent copy of width x height pixels of a screen picture:
// a printer cannot read a screen-compatible bitmap, but it can draw these
// bits. Empty for an empty picture.
class PrintablePicture {
public:
    PrintablePicture(HDC source, int width, int height);
    // Why the copy could not be made (no memory for it); S_OK when it was.
    HRESULT Error() const { return FailureOf(error_); }
    // Draws the whole copy into `destination` (printer pixels), stretched
    // with halftoning so that enlarged and reduced pictures stay smooth.
    [[nodiscard]] HRESULT DrawOn(HDC printer, const RECT& destination) const;

private:
    Bitmap bitmap_;
    void* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    DWORD error_ = 0;
};

}  // namespace platform
