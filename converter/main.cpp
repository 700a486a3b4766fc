// bmp2jpg.exe: reads a Windows bitmap file and writes it as a JPEG file with
// its own encoder (baseline, quality 90, 4:2:0), the same on every system.
// Tovik starts it hidden after writing temp.bmp and does not watch it, so it
// never shows a window or a message; its exit code is its only answer.
#include "CommandLine.h"
#include "ExitCodes.h"
#include "resource.h"

#include "codecs/BitmapFile.h"
#include "codecs/JpegEncoder.h"
#include "codecs/PictureDecoder.h"
#include "codecs/PictureSize.h"
#include "platform/owners/FileView.h"
#include "platform/owners/Handle.h"
#include "platform/system/FileReplace.h"
#include "platform/system/SystemLookup.h"

#include <algorithm>
#include <memory>
#include <new>
#include <string>
#include <thread>
#include <vector>

using namespace converter;
using namespace codecs;
using platform::ComPtr;

namespace {

// JPEG cannot hold a side above this many pixels.
constexpr UINT kMaxJpegSide = 65500;
// Nothing bigger is read: 16384 x 16384 at 32 bits per pixel.
constexpr unsigned long long kMaxInputBytes = 1ull << 30;

void PrintUsage(HINSTANCE instance) {
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(IDR_USAGE), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    const char* text = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    const DWORD size = found ? SizeofResource(instance, found) : 0;
    if (!text || size == 0) return;
    std::string lines;
    for (DWORD i = 0; i < size; ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) lines += '\r';
        lines += text[i];
    }

    // Output redirected by the parent (a file or a pipe) gets the bytes.
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    const DWORD type = (out && out != INVALID_HANDLE_VALUE) ? GetFileType(out) : FILE_TYPE_UNKNOWN;
    DWORD written = 0;
    if (type == FILE_TYPE_DISK || type == FILE_TYPE_PIPE) {
        WriteFile(out, lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr);
        return;
    }
    // Otherwise the text goes to a console: the one this program was given
    // already (some systems hand a program started from a console window
    // that console, even a windowed one like this), else the parent's.
    const int count = MultiByteToWideChar(CP_UTF8, 0, lines.data(), static_cast<int>(lines.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(count), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, lines.data(), static_cast<int>(lines.size()), wide.data(), count);
    DWORD mode = 0;
    if (type == FILE_TYPE_CHAR && GetConsoleMode(out, &mode) &&
        WriteConsoleW(out, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr))
        return;
    const bool attached = AttachConsole(ATTACH_PARENT_PROCESS);
    if (!attached && GetLastError() != ERROR_ACCESS_DENIED) return;  // denied: attached to one already
    {
        platform::KernelHandle console(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                                   nullptr));
        if (console) WriteConsoleW(console.get(), wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    }
    if (attached) FreeConsole();
}

// The whole source mapped into memory: coded from there, without a copy.
// Nobody may write to it meanwhile; Tovik writes the next temp.bmp only
// after this process has ended.
ExitCode MapSource(const std::wstring& path, platform::FileView& view) {
    platform::KernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return kUnreadableInput;
    LARGE_INTEGER length{};
    if (!GetFileSizeEx(file.get(), &length)) return kUnreadableInput;
    if (length.QuadPart <= 0) return kUnreadableInput;
    if (length.QuadPart > static_cast<LONGLONG>(kMaxInputBytes)) return kUnreadableInput;
    const DWORD error = view.Map(file.get(), static_cast<size_t>(length.QuadPart));
    if (error == ERROR_NOT_ENOUGH_MEMORY) return kConversionFailed;
    return error == 0 ? kConverted : kUnreadableInput;
}

// COM for this thread, loaded only when a bitmap needs the system's decoder:
// under Wine, loading it at start took longer than coding a whole 3840x2160
// screen. Like an import, the library stays loaded until the process ends.
class SystemCom {
public:
    SystemCom() {
        initialize_ = platform::SystemFunctionOf<decltype(&CoInitializeEx)>(kCom, "CoInitializeEx");
        uninitialize_ = platform::SystemFunctionOf<decltype(&CoUninitialize)>(kCom, "CoUninitialize");
        create_ = platform::SystemFunctionOf<decltype(&CoCreateInstance)>(kCom, "CoCreateInstance");
        if (initialize_ && uninitialize_ && create_)
            started_ = SUCCEEDED(initialize_(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    }
    ~SystemCom() { if (started_) uninitialize_(); }
    SystemCom(const SystemCom&) = delete;
    SystemCom& operator=(const SystemCom&) = delete;

    HRESULT Create(REFCLSID type, REFIID wanted, void** object) const {
        return started_ ? create_(type, nullptr, CLSCTX_INPROC_SERVER, wanted, object) : E_FAIL;
    }

private:
    static constexpr wchar_t kCom[] = L"ole32.dll";
    decltype(&CoInitializeEx) initialize_ = nullptr;
    decltype(&CoUninitialize) uninitialize_ = nullptr;
    decltype(&CoCreateInstance) create_ = nullptr;
    bool started_ = false;
};

// Bitmaps of other kinds (palettes, 16 bits, bit fields, compressed, old
// headers) go through the system's decoder, converted to 24-bit rows.
ExitCode DecodeWithSystem(const platform::FileView& input, std::unique_ptr<BYTE[]>& rows, BgrPicture& picture) {
    const SystemCom com;
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(com.Create(CLSID_WICImagingFactory, IID_IWICImagingFactory, factory.put_void())))
        return kConversionFailed;

    const codecs::FirstFrame first =
        codecs::OpenFirstFrame(factory.get(), input.data(), static_cast<DWORD>(input.size()));
    if (first.noStream) return kConversionFailed;
    if (!first.ok()) return kUnreadableInput;
    // Only bitmaps are converted: any other picture handed over is a mistake
    // of the caller, not something to guess at.
    GUID container{};
    if (FAILED(first.decoder->GetContainerFormat(&container)) || container != GUID_ContainerFormatBmp)
        return kUnreadableInput;
    const UINT width = first.width, height = first.height;
    if (width == 0 || height == 0 || width > kMaxJpegSide || height > kMaxJpegSide) return kUnreadableInput;
    const unsigned long long stride = codecs::BitmapRowBytes(width);
    if (stride * height > kMaxInputBytes) return kUnreadableInput;

    WICPixelFormatGUID format{};
    if (FAILED(first.frame->GetPixelFormat(&format))) return kUnreadableInput;
    ComPtr<IWICBitmapSource> pixels;
    if (FAILED(codecs::PixelsAs(factory.get(), first.frame.get(), format, GUID_WICPixelFormat24bppBGR, pixels)))
        return kUnreadableInput;
    const size_t pixelBytes = static_cast<size_t>(stride * height);
    rows.reset(new (std::nothrow) BYTE[pixelBytes]);
    if (!rows) return kConversionFailed;
    if (FAILED(pixels->CopyPixels(nullptr, static_cast<UINT>(stride), static_cast<UINT>(pixelBytes), rows.get())))
        return kUnreadableInput;  // pixel data cut short or damaged
    picture = {rows.get(), static_cast<size_t>(stride), width, height, false};
    return kConverted;
}

// Big pictures are coded in parts on every processor; a small one is done
// before a second thread would have started.
unsigned EncoderThreads(const BgrPicture& picture) {
    if (static_cast<unsigned long long>(picture.width) * picture.height < (1u << 18)) return 1;
    return std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
}

ExitCode Convert(const std::wstring& source, const std::wstring& destination) {
    platform::FileView input;
    if (const ExitCode mapped = MapSource(source, input); mapped != kConverted) return mapped;

    // The header's size is checked before any decoder allocates for it.
    const codecs::ClaimedSize claimed = codecs::ReadClaimedSize(input.data(), input.size());
    if (!claimed.known || !codecs::FitsLimits(claimed.width, claimed.height, kMaxJpegSide, kMaxInputBytes))
        return kUnreadableInput;

    // The bitmaps Tovik writes are coded straight from the file's bytes.
    const BitmapReading bitmap = ReadBitmapFile(input.data(), input.size());
    if (bitmap.kind == BitmapKind::Refused) return kUnreadableInput;
    BgrPicture picture = bitmap.pixels;
    std::unique_ptr<BYTE[]> rows;
    if (bitmap.kind == BitmapKind::Plain && bitmap.pixelBytes == 4) {
        // 32-bit rows lose their fourth byte on the way to the encoder.
        const auto stride = static_cast<std::size_t>(codecs::BitmapRowBytes(picture.width));
        rows.reset(new (std::nothrow) BYTE[stride * picture.height]);
        if (!rows) return kConversionFailed;
        for (std::uint32_t y = 0; y < picture.height; ++y) {
            const std::uint8_t* from = picture.rows + y * picture.stride;
            BYTE* to = rows.get() + y * stride;
            for (std::uint32_t x = 0; x < picture.width; ++x, from += 4, to += 3) {
                to[0] = from[0];
                to[1] = from[1];
                to[2] = from[2];
            }
        }
        picture.rows = rows.get();
        picture.stride = stride;
        input.reset();
    }
    if (bitmap.kind == BitmapKind::Other) {
        if (const ExitCode decoded = DecodeWithSystem(input, rows, picture); decoded != kConverted) return decoded;
        input.reset();  // the rows are a copy: frees the address space a 32-bit process may need for the JPEG
    }

    std::vector<std::uint8_t> jpeg;
    if (!EncodeJpeg(picture, jpeg, {.quality = 90, .threads = EncoderThreads(picture)})) return kConversionFailed;
    input.reset();
    rows.reset();
    return platform::WriteFileReplacing(destination, {{jpeg.data(), jpeg.size()}}) == 0 ? kConverted
                                                                                       : kUnwritableDestination;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    platform::LoadLibrariesFromTheSystemFolderOnly();
    // No "insert a disk" or crash boxes either: nobody is there to answer them.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    const ConverterArguments arguments = SplitArguments(SkipProgramName(GetCommandLineW()));
    switch (arguments.kind) {
    case CommandLineKind::Help:
        PrintUsage(instance);
        return kConverted;
    case CommandLineKind::Convert:
        return Convert(arguments.source, arguments.destination);
    case CommandLineKind::Empty:
    case CommandLineKind::Bad:
        break;
    }
    return kBadCommandLine;
}
