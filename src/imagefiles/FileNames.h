// The rules for file names and paths of the Open and Save As commands and of
// the JPEG conversion. Pure logic, tested natively.
#pragma once
#include <string>
#include <string_view>

namespace imagefiles {

// A name whose last three characters are "JPG" in any letter case goes to
// the JPEG converter.
bool IsJpegName(std::wstring_view path);

// A name whose last four characters are ".png" in any letter case is
// written as a PNG file.
bool IsPngName(std::wstring_view path);

// The chosen path with its file title cut off the end: the folder with its
// trailing backslash ("C:\" for a file at a drive root).
std::wstring FolderOf(std::wstring_view path, std::wstring_view title);

// The folder the converter and its temporary bitmap are reached through:
// the short (8.3) form of the program folder where it has one, the long
// folder otherwise, with a backslash at the end.
std::wstring ConverterFolder(std::wstring_view shortForm, std::wstring_view programFolder);

inline constexpr wchar_t kTemporaryBitmap[] = L"temp.bmp";
inline constexpr wchar_t kConverter[] = L"bmp2jpg.exe";

// How the converter is started for one save.
struct ConverterCall {
    std::wstring program;      // folder + "bmp2jpg.exe"
    std::wstring bitmap;       // folder + "temp.bmp"
    std::wstring parameters;   // the bitmap, one space, the destination as chosen; neither quoted
    std::wstring directory;    // the folder, with its backslash
};
ConverterCall MakeConverterCall(std::wstring_view folder, std::wstring_view destination);

// The message for a converter that could not be started, by the launch's
// result code (32 or less).
std::wstring LaunchErrorText(long long code);

}  // namespace imagefiles
