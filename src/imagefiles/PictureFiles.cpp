#include "imagefiles/PictureFiles.h"

#include "codecs/ImageFile.h"
#include "imagefiles/FileNames.h"
#include "platform/system/Clipboard.h"
#include "platform/system/Files.h"
#include "platform/system/Process.h"
#include "platform/system/Screen.h"
#include "resources/resource.h"

#include <map>
#include <optional>

namespace imagefiles {
namespace {

// How long a save waits for an earlier converter, this program's or another
// copy's, to finish with temp.bmp. It takes well under a second even for a
// large screen; beyond this wait something is wrong with it, and the save
// is refused rather than overwrite a file it still reads.
constexpr DWORD kPreviousConverterWait = 15000;
// How long a save waits for its converter to learn how it ended. A 4K
// picture takes well under a second; the bound stays below the time after
// which the system calls a window not responding. A converter that is not
// done by then is left running, and its outcome unknown, as it would have
// been without the wait.
constexpr DWORD kConverterWait = 4000;

// A converter that ended with a failure, by its exit code; another code
// than its own four is the unexpected error.
HRESULT ConverterFailure(DWORD exitCode) {
    if (exitCode >= 1 && exitCode <= 4) return platform::OwnFailure(IDS_CONVERTER_FAILED + exitCode);
    return platform::OwnFailure(IDS_CONVERTER_NOT_STARTED);
}

// A converter the shell could not start, by the shell's code.
HRESULT ConverterNotStarted(int shellCode) {
    const bool inRange = shellCode >= 0 && shellCode <= IDS_CONVERTER_MESSAGES_LAST - IDS_CONVERTER_NOT_STARTED;
    return platform::OwnFailure(IDS_CONVERTER_NOT_STARTED + (inRange ? shellCode : 0));
}

// A copy of the picture in the screen's own format, which another program
// can read from the clipboard.
platform::Bitmap ScreenCopyOf(HDC picture, int width, int height) {
    platform::ClientDC screen(nullptr);
    platform::Bitmap copy = platform::CreateCompatibleBitmapFor(screen.get(), width, height);
    if (!copy) return copy;
    platform::MemoryDC memory = platform::CompatibleDC(screen.get());
    platform::SelectedObject select(memory.get(), copy.get());
    platform::CopyPixels(memory.get(), 0, 0, width, height, picture, 0, 0);
    return copy;
}

}  // namespace

HRESULT LoadImageFile(model::ImageModel& image, const std::wstring& path, bool toClipboard) {
    const platform::WaitCursor busy;
    codecs::LoadedPicture picture = codecs::LoadPictureFile(path, image.Picture2().BackColor());
    if (!picture.ok()) return FAILED(picture.error) ? picture.error : platform::FailureOf(ERROR_INVALID_DATA);

    platform::MemoryDC source = platform::CompatibleDC(image.Picture2().hDC());
    platform::SelectedObject select(source.get(), picture.bitmap.get());
    // Everything that can fail comes before the image changes: the
    // clipboard's copy, and the clipboard itself held open. A failure lets
    // the clipboard go before the message: other programs can use it meanwhile.
    platform::Bitmap clipboardCopy;
    std::optional<platform::Clipboard> clipboard;
    if (toClipboard) {
        clipboardCopy = ScreenCopyOf(source.get(), picture.width, picture.height);
        if (!clipboardCopy) return platform::FailureOf(ERROR_NOT_ENOUGH_MEMORY);
        clipboard.emplace(image.Owner());
        if (!clipboard->IsOpen()) {
            const DWORD error = GetLastError();
            return platform::FailureOf(error ? error : ERROR_ACCESS_DENIED);
        }
    }
    if (!image.Picture2().SetPicture(source.get(), picture.width, picture.height))
        return platform::FailureOf(ERROR_NOT_ENOUGH_MEMORY);
    if (clipboard) {
        clipboard->Empty();
        clipboard->SetBitmap(clipboardCopy);
    }
    return S_OK;
}

HRESULT SaveBitmap(model::ImageModel& image, const std::wstring& path) {
    platform::PictureBox& buffer = image.Picture2();
    return codecs::SaveBitmapFile(buffer.hDC(), buffer.ScaleWidth(), buffer.ScaleHeight(), path);
}

HRESULT SavePicture(model::ImageModel& image, const std::wstring& path) {
    if (!IsPngName(path)) return SaveBitmap(image, path);
    platform::PictureBox& buffer = image.Picture2();
    return codecs::SavePngFile(buffer.hDC(), buffer.ScaleWidth(), buffer.ScaleHeight(), path);
}

bool IsConverterFailure(HRESULT failure) {
    if (!platform::IsOwnFailure(failure)) return false;
    const UINT text = platform::OwnFailureText(failure);
    return text >= IDS_CONVERTER_FAILED && text <= IDS_CONVERTER_MESSAGES_LAST;
}

JpegConverter::JpegConverter() : lock_(platform::ProgramFolder(), kTemporaryBitmap) {}

JpegConverter::~JpegConverter() { StopWatching(); }

HRESULT JpegConverter::ConvertToJpeg(model::ImageModel& image, const std::wstring& path) {
    const ConverterCall call = MakeConverterCall(platform::ProgramFolder(), path, &platform::ShortPathOf);
    // Two saves in quick succession: the earlier converter must have read
    // temp.bmp before it is written again.
    if (!platform::WaitForProcess(previous_, kPreviousConverterWait)) return platform::FailureOf(ERROR_BUSY);
    previous_.reset();
    StopWatching();
    // So must another copy's, which holds the lock until then.
    if (const HRESULT taken = lock_.Take(kPreviousConverterWait); FAILED(taken))
        return taken == platform::FailureOf(ERROR_TIMEOUT) ? platform::FailureOf(ERROR_BUSY) : taken;
    if (const HRESULT failure = SaveBitmap(image, call.bitmap); FAILED(failure)) {
        lock_.Release();
        return failure;
    }
    platform::StartedProgram converter =
        platform::StartProgram(image.Owner(), call.program, call.parameters, call.directory, SW_HIDE);
    if (!converter.started()) {
        lock_.Release();
        return ConverterNotStarted(converter.code);
    }
    previous_ = std::move(converter.process);
    if (!platform::WaitForProcess(previous_, kConverterWait)) {
        Watch();
        return S_OK;
    }
    DWORD exitCode = 0;
    const bool failed = previous_ && GetExitCodeProcess(previous_.get(), &exitCode) && exitCode != 0;
    previous_.reset();
    lock_.Release();
    return failed ? ConverterFailure(exitCode) : S_OK;
}

void JpegConverter::RemoveTemporaryBitmap(DWORD timeoutMs) {
    StopWatching();
    (void)platform::WaitForProcess(previous_, timeoutMs);
    previous_.reset();
    // Without the lock, another copy is between writing temp.bmp and its
    // converter's end: the file is that copy's now.
    if (SUCCEEDED(lock_.Take(0))) platform::DeleteFileQuietly(platform::ProgramFile(kTemporaryBitmap));
    lock_.Release();
}

namespace {
// The converters watched, by their timers (one in the program).
std::map<UINT_PTR, JpegConverter*>& Watched() {
    static std::map<UINT_PTR, JpegConverter*> watched;
    return watched;
}
constexpr UINT kWatchInterval = 200;
}  // namespace

void JpegConverter::Watch() {
    StopWatching();
    watchTimer_ = SetTimer(nullptr, 0, kWatchInterval, &JpegConverter::WatchTimer_Timer);
    if (watchTimer_) Watched()[watchTimer_] = this;
}

void JpegConverter::StopWatching() {
    if (!watchTimer_) return;
    KillTimer(nullptr, watchTimer_);
    Watched().erase(watchTimer_);
    watchTimer_ = 0;
}

void CALLBACK JpegConverter::WatchTimer_Timer(HWND, UINT, UINT_PTR timer, DWORD) {
    const auto found = Watched().find(timer);
    if (found == Watched().end()) return;
    JpegConverter& converter = *found->second;
    if (!platform::WaitForProcess(converter.previous_, 0)) return;
    converter.StopWatching();
    converter.previous_.reset();
    converter.lock_.Release();
}

}  // namespace imagefiles
