// The system's open-file and save-file dialogs.
#pragma once
#include "platform/owners/Failure.h"

#include <string>

namespace platform {

struct FileDialogRequest {
    std::wstring title;              // the dialog's caption; empty: the system's own
    std::wstring initialFolder;      // empty: the system's choice
    std::wstring fileName;           // what the file name box shows at first ("*.exe", a path)
    std::wstring filter;             // "text|pattern|text|pattern", see DialogFilter
    DWORD filterIndex = 1;           // 1-based: the file type selected at first; beyond the list: the first
    std::wstring defaultExtension;   // added to a typed name without one (no dot); empty: none
    DWORD flags = 0;                 // OFN_* as given; nothing is added
};

struct FileDialogResult {
    HRESULT result = kCancelled;   // S_OK: a file was chosen; kCancelled; or the dialog's failure
    std::wstring path;        // Chosen: the file's full path
    std::wstring fileTitle;   // Chosen: its name without the folder
    DWORD filterIndex = 0;    // Chosen: the file type selected at the end (1-based)

    bool Chosen() const { return result == S_OK; }
};

// Both are modal over `owner` and hold paths far longer than MAX_PATH.
FileDialogResult ShowOpenFileDialog(HWND owner, const FileDialogRequest& request);
FileDialogResult ShowSaveFileDialog(HWND owner, const FileDialogRequest& request);

}  // namespace platform
