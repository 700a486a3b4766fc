#include "platform/system/DialogErrors.h"

#include <commdlg.h>
#include <cderr.h>

namespace platform {

HRESULT FailureOfCommonDialog(DWORD extended, DWORD otherwise) {
    switch (extended) {
    case 0: return kCancelled;
    case FNERR_INVALIDFILENAME: return FailureOf(ERROR_INVALID_NAME);
    case FNERR_BUFFERTOOSMALL: return FailureOf(ERROR_FILENAME_EXCED_RANGE);
    case CDERR_MEMALLOCFAILURE:
    case CDERR_MEMLOCKFAILURE: return FailureOf(ERROR_NOT_ENOUGH_MEMORY);
    case PDERR_NODEVICES:
    case PDERR_NODEFAULTPRN:
    case PDERR_PRINTERNOTFOUND: return FailureOf(kNoPrinterError);
    case PDERR_LOADDRVFAILURE:
    case PDERR_GETDEVMODEFAIL:
    case PDERR_INITFAILURE:
    case PDERR_CREATEICFAILURE: return FailureOf(ERROR_UNKNOWN_PRINTER_DRIVER);
    default: return FailureOf(otherwise);
    }
}

}  // namespace platform
