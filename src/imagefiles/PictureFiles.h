// Reading a picture file into the image, and writing the image as a BMP, a PNG or,
// through the outside converter, a JPEG file.
#pragma once
#include "model/ImageModel.h"
#include "platform/owners/Failure.h"
#include "platform/owners/Handle.h"
#include "platform/system/FolderLock.h"

#include <string>

namespace imagefiles {

// Reads the picture at `path` into the image's buffer (which takes its
// size) and, when `toClipboard`, onto the clipboard. S_OK when the picture
// was loaded; a failure leaves the image and the clipboard as they were.
[[nodiscard]] HRESULT LoadImageFile(model::ImageModel& image, const std::wstring& path, bool toClipboard);

// Writes the buffer's whole picture as a 24-bit BMP file at `path`; an
// existing file is replaced only by a complete new one. S_OK, or the failure.
[[nodiscard]] HRESULT SaveBitmap(model::ImageModel& image, const std::wstring& path);

// Writes the buffer's whole picture as a PNG file when the name ends in
// ".png" in any letter case, as a BMP file otherwise; replaced like the BMP.
[[nodiscard]] HRESULT SavePicture(model::ImageModel& image, const std::wstring& path);

// True for the failures of a JPEG save that reached the converter: it could
// not be started, or it ended with a failure. The save has been handed on
// then, as far as the program goes; the others stopped before it.
bool IsConverterFailure(HRESULT failure);

// The JPEG conversion: the image written to "temp.bmp" in the program's
// folder, and "bmp2jpg.exe" of that folder started on it, hidden, to write
// the JPEG at the destination. The save waits a little for the converter, so
// a JPEG it could not write is reported rather than silently missing.
// Every copy of the program started from that folder (another user's too)
// writes the same temp.bmp, so each holds the folder's lock on it from
// writing it until its converter has ended, and the others wait their turn.
class JpegConverter {
public:
    JpegConverter();
    ~JpegConverter();
    JpegConverter(const JpegConverter&) = delete;
    JpegConverter& operator=(const JpegConverter&) = delete;

    // S_OK once the converter has ended well or is still running after the
    // wait; a converter's failure (IsConverterFailure) when it could not be
    // started or ended with a failure; ERROR_BUSY when an earlier converter,
    // this program's or another copy's, still reads temp.bmp after a long
    // wait; otherwise the failure of writing "temp.bmp".
    [[nodiscard]] HRESULT ConvertToJpeg(model::ImageModel& image, const std::wstring& path);

    // At the program's end: waits up to timeoutMs for a converter that is
    // still running, then deletes temp.bmp, unless another copy of the
    // program is using it (that one deletes it when it ends).
    void RemoveTemporaryBitmap(DWORD timeoutMs);

private:
    // A converter that outlives the save's wait is watched by a timer of
    // this thread, which lets the lock go once it has ended.
    void Watch();
    void StopWatching();
    static void CALLBACK WatchTimer_Timer(HWND, UINT, UINT_PTR timer, DWORD);

    // The converter of the previous save, which may still be reading temp.bmp.
    platform::KernelHandle previous_;
    // Held from writing temp.bmp until the converter that reads it has ended.
    platform::FolderLock lock_;
    UINT_PTR watchTimer_ = 0;
};

}  // namespace imagefiles
