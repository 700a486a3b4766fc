// The program's own folder and the few file operations outside the picture code.
#pragma once
#include "platform/portable/Paths.h"

#include <string>
#include <string_view>

namespace platform {

// The program file's full path, as the system reports it; empty when it cannot.
std::wstring ProgramPath();
// The folder that holds the program file, as the system reports it: no
// trailing backslash except at a drive root.
std::wstring ProgramFolder();
// The path of a file beside the program.
std::wstring ProgramFile(std::wstring_view name);
// True when a file (not a folder) is there.
bool FileExists(const std::wstring& path);
// The short (8.3) form of an existing path, or empty where the file system
// keeps none.
std::wstring ShortPathOf(const std::wstring& path);
// Deletes a file; any failure (absent, in use) is ignored.
void DeleteFileQuietly(const std::wstring& path);

}  // namespace platform
