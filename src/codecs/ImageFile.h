// Picture files: reading any picture the system can decode, and writing the
// image as a Windows bitmap or a PNG file.
#pragma once
#include "platform/owners/Gdi.h"

#include <string>

namespace codecs {

// Largest picture that is loaded: a side of at most kMaxPictureSide pixels
// and at most kMaxPictureBytes of 32-bit pixels. Anything larger is refused
// as out of memory before a single pixel is allocated, so a small damaged
// file that claims a huge size costs nothing.
inline constexpr int kMaxPictureSide = 32767;
inline constexpr unsigned long long kMaxPictureBytes = 1ull << 30;

struct LoadedPicture {
    platform::Bitmap bitmap;  // 32-bit top-down DIB section, ready to BitBlt from
    int width = 0;
    int height = 0;
    HRESULT error = S_OK; // S_OK, or why the picture could not be loaded
    bool ok() const { return SUCCEEDED(error) && bitmap; }
};

// Loads the first frame of a BMP, GIF, JPEG, PNG, TIFF or any other picture
// the system decodes. Transparent and partly transparent pixels are laid
// over `background`. Failures: the file's own Win32 error as an HRESULT
// (HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) for a missing file), the
// decoder's error for a file that is no picture or is damaged, E_OUTOFMEMORY
// for a picture too large to hold.
LoadedPicture LoadPictureFile(const std::wstring& path, COLORREF background);

// Writes the top-left width x height pixels of `dc` (which must have a bitmap
// selected, such as a picture box's persistent surface) as a 24-bit Windows
// bitmap file at `path`, replacing an existing file only once the new one is
// complete. S_OK, or the failure.
[[nodiscard]] HRESULT SaveBitmapFile(HDC dc, int width, int height, const std::wstring& path);

// Writes the same pixels as a PNG file (truecolour, 8 bits per channel, no
// alpha, 96 dpi), replacing an existing file only once the new one is
// complete. S_OK, or the failure.
[[nodiscard]] HRESULT SavePngFile(HDC dc, int width, int height, const std::wstring& path);

// The smallest legal 24-bit bitmap file size for width x height, or 0 when
// it would not fit a bitmap file's 32-bit size fields.
unsigned long long BitmapFileSize(int width, int height);

}  // namespace codecs
