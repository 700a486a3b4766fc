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
    // The bitmap, one space, the destination exactly as chosen. The
    // converter ends the bitmap's path at the first space, so a bitmap path
    // that holds one (a folder without a short form) is quoted.
    std::wstring parameters;
    std::wstring directory;    // the folder, with its backslash
};
ConverterCall MakeConverterCall(std::wstring_view folder, std::wstring_view destination);

// The same from the program folder, through the system's short form of it
// (`shortPathOf` gives it, or nothing, or the long folder again where the
// volume keeps no short names).
using ShortPathFunction = std::wstring (*)(const std::wstring& path);
ConverterCall MakeConverterCall(const std::wstring& programFolder, std::wstring_view destination,
                                ShortPathFunction shortPathOf);

}  // namespace imagefiles
