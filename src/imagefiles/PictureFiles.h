// Reading a picture file into the image, and writing the image as a BMP, a PNG or,
// through the outside converter, a JPEG file.
#pragma once
#include "model/ImageModel.h"
#include "platform/Handle.h"

#include <string>

namespace imagefiles {

// Reads the picture at `path` into the image's buffer (which takes its
// size) and, when `toClipboard`, onto the clipboard. Any failure is reported
// here, in one "Error" message, and leaves the image and the clipboard as
// they were. True when the picture was loaded.
bool LoadImageFile(model::ImageModel& image, const std::wstring& path, bool toClipboard);

// Writes the buffer's whole picture as a 24-bit BMP file at `path`; an
// existing file is replaced only by a complete new one. 0, or the Win32 error.
DWORD SaveBitmap(model::ImageModel& image, const std::wstring& path);

// Writes the buffer's whole picture as a PNG file when the name ends in
// ".png" in any letter case, as a BMP file otherwise; replaced like the BMP.
DWORD SavePicture(model::ImageModel& image, const std::wstring& path);

// The JPEG conversion: the image written to "temp.bmp" in the program's
// folder, and "bmp2jpg.exe" of that folder started on it, hidden, to write
// the JPEG at the destination. The save waits a little for the converter, so
// a JPEG it could not write is reported rather than silently missing.
class JpegConverter {
public:
    // 0 once the converter has ended well or is still running after the
    // wait, or when it could not be started or ended with a failure and the
    // user has been told so here (under "ｴﾗｰ"); otherwise the Win32 error of
    // writing "temp.bmp", for the caller to report.
    DWORD ConvertToJpeg(model::ImageModel& image, const std::wstring& path);

    // Waits up to timeoutMs for a converter that is still running, so that
    // temp.bmp can be deleted once it is done with it.
    void WaitForConverter(DWORD timeoutMs);

private:
    // The converter of the previous save, which may still be reading temp.bmp.
    platform::KernelHandle previous_;
};

}  // namespace imagefiles
