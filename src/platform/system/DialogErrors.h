// The common dialogs' own failure codes.
#pragma once
#include "platform/owners/Failure.h"

namespace platform {

// What an open, save or print dialog that returned without a choice means:
// CommDlgExtendedError's code (CDERR_*, FNERR_*, PDERR_*), which has no
// system description, as the failure that says the same; 0 is the user's
// Cancel. `otherwise`: the error of a dialog that could not be made at all.
[[nodiscard]] HRESULT FailureOfCommonDialog(DWORD extended, DWORD otherwise);

// What a print command reports when there is no printer to print on, neither
// a chosen one nor a default one: "the printer name is invalid" is the
// system's nearest description that Windows and Wine both carry.
constexpr DWORD kNoPrinterError = ERROR_INVALID_PRINTER_NAME;

}  // namespace platform
