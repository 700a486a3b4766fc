// The bodies of the print and print-setup commands. Each returns S_OK, or
// the failure for the one "Error" message its command shows.
#pragma once
#include "platform/system/Printer.h"

#include <string>

namespace printing {

// Prints width x height pixels of `picture` (the buffer's DC) as one document
// of one page named `documentName`, on the chosen printer or else the
// default one. The picture keeps its size on the screen, shrunk with its
// proportions kept if the printable area is smaller, at the area's top-left
// corner. An empty picture prints an empty page. With no printer, nothing
// happens but the error; a print cancelled at the printer's own file-name
// prompt is no error. Returns once the job is with the spooler.
[[nodiscard]] HRESULT PrintPicture(HDC picture, int width, int height, const platform::PrinterChoice& printer,
                                   const std::wstring& documentName);

// Lets the user choose the printer and its settings for the following prints
// of this run. OK and Cancel return S_OK; Cancel changes nothing.
[[nodiscard]] HRESULT PrintSetup(HWND owner, platform::PrinterChoice& printer);

}  // namespace printing
