// bmp2jpg.exe: reads a Windows bitmap file and writes it as a JPEG file.
// Tovik starts it hidden after writing temp.bmp and does not watch it, so it
// never shows a window or a message; its exit code is its only answer.
#include "CommandLine.h"
#include "ExitCodes.h"
#include "resource.h"

#include "platform/Com.h"
#include "platform/FileReplace.h"
#include "platform/Handle.h"
#include "platform/PictureSize.h"

#include <wincodec.h>

#include <memory>
#include <new>
#include <string>

using namespace converter;
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

    // Output redirected by the parent (a file or a pipe) gets the bytes;
    // otherwise the text goes to the console of the parent, if it has one.
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    const DWORD type = (out && out != INVALID_HANDLE_VALUE) ? GetFileType(out) : FILE_TYPE_UNKNOWN;
    DWORD written = 0;
    if (type == FILE_TYPE_DISK || type == FILE_TYPE_PIPE) {
        WriteFile(out, lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr);
        return;
    }
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
    {
        platform::KernelHandle console(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                                                   OPEN_EXISTING, 0, nullptr));
        const int count = MultiByteToWideChar(CP_UTF8, 0, lines.data(), static_cast<int>(lines.size()), nullptr, 0);
        std::wstring wide(static_cast<size_t>(count), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, lines.data(), static_cast<int>(lines.size()), wide.data(), count);
        if (console) WriteConsoleW(console.get(), wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    }
    FreeConsole();
}

// The whole source in memory: decoded from there without further file access.
ExitCode ReadSource(const std::wstring& path, std::unique_ptr<BYTE[]>& data, DWORD& size) {
    platform::KernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                            OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return kUnreadableInput;
    LARGE_INTEGER length{};
    if (!GetFileSizeEx(file.get(), &length)) return kUnreadableInput;
    if (length.QuadPart <= 0) return kUnreadableInput;
    if (length.QuadPart > static_cast<LONGLONG>(kMaxInputBytes)) return kUnreadableInput;
    size = static_cast<DWORD>(length.QuadPart);
    data.reset(new (std::nothrow) BYTE[size]);
    if (!data) return kConversionFailed;
    DWORD read = 0;
    if (!ReadFile(file.get(), data.get(), size, &read, nullptr) || read != size) return kUnreadableInput;
    return kConverted;
}

HRESULT SetEncoderOptions(IPropertyBag2* options) {
    PROPBAG2 names[2] = {};
    names[0].pstrName = const_cast<LPOLESTR>(L"ImageQuality");
    names[1].pstrName = const_cast<LPOLESTR>(L"JpegYCrCbSubsampling");
    VARIANT values[2];
    VariantInit(&values[0]);
    VariantInit(&values[1]);
    values[0].vt = VT_R4;
    values[0].fltVal = 0.9f;
    values[1].vt = VT_UI1;
    values[1].bVal = WICJpegYCrCbSubsampling420;
    return options->Write(2, names, values);
}

// Encodes width x height rows of 24-bit BGR pixels as a JPEG into `output`
// (a fixed buffer); `written` is the JPEG's length.
HRESULT EncodeJpeg(IWICImagingFactory* factory, const BYTE* pixels, UINT stride, UINT width, UINT height,
                   BYTE* output, DWORD capacity, DWORD& written) {
    HRESULT hr;
    ComPtr<IWICStream> stream;
    if (FAILED(hr = factory->CreateStream(stream.put()))) return hr;
    if (FAILED(hr = stream->InitializeFromMemory(output, capacity))) return hr;
    ComPtr<IWICBitmapEncoder> encoder;
    if (FAILED(hr = factory->CreateEncoder(GUID_ContainerFormatJpeg, nullptr, encoder.put()))) return hr;
    if (FAILED(hr = encoder->Initialize(stream.get(), WICBitmapEncoderNoCache))) return hr;
    ComPtr<IWICBitmapFrameEncode> frame;
    ComPtr<IPropertyBag2> options;
    if (FAILED(hr = encoder->CreateNewFrame(frame.put(), options.put()))) return hr;
    if (FAILED(hr = SetEncoderOptions(options.get()))) return hr;
    if (FAILED(hr = frame->Initialize(options.get()))) return hr;
    if (FAILED(hr = frame->SetSize(width, height))) return hr;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (FAILED(hr = frame->SetPixelFormat(&format))) return hr;
    if (format != GUID_WICPixelFormat24bppBGR) return WINCODEC_ERR_UNSUPPORTEDPIXELFORMAT;
    if (FAILED(hr = frame->WritePixels(height, stride, stride * height, const_cast<BYTE*>(pixels)))) return hr;
    if (FAILED(hr = frame->Commit())) return hr;
    if (FAILED(hr = encoder->Commit())) return hr;
    ULARGE_INTEGER end{};
    if (FAILED(hr = stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_CUR, &end))) return hr;
    written = static_cast<DWORD>(end.QuadPart);
    return S_OK;
}

ExitCode Convert(const std::wstring& source, const std::wstring& destination) {
    std::unique_ptr<BYTE[]> input;
    DWORD inputSize = 0;
    if (const ExitCode read = ReadSource(source, input, inputSize); read != kConverted) return read;

    // The header's size is checked before any decoder allocates for it.
    const platform::ClaimedSize claimed = platform::ReadClaimedSize(input.get(), inputSize);
    if (!claimed.known || !platform::FitsLimits(claimed.width, claimed.height, kMaxJpegSide, kMaxInputBytes))
        return kUnreadableInput;

    platform::ComApartment com;
    if (!com.ready()) return kConversionFailed;
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                factory.put_void())))
        return kConversionFailed;

    ComPtr<IWICStream> stream;
    if (FAILED(factory->CreateStream(stream.put())) || FAILED(stream->InitializeFromMemory(input.get(), inputSize)))
        return kConversionFailed;
    ComPtr<IWICBitmapDecoder> decoder;
    if (FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.put())))
        return kUnreadableInput;
    // Only bitmaps are converted: any other picture handed over is a mistake
    // of the caller, not something to guess at.
    GUID container{};
    if (FAILED(decoder->GetContainerFormat(&container)) || container != GUID_ContainerFormatBmp)
        return kUnreadableInput;
    ComPtr<IWICBitmapFrameDecode> frame;
    UINT width = 0, height = 0;
    if (FAILED(decoder->GetFrame(0, frame.put())) || FAILED(frame->GetSize(&width, &height))) return kUnreadableInput;
    if (width == 0 || height == 0 || width > kMaxJpegSide || height > kMaxJpegSide) return kUnreadableInput;
    const unsigned long long stride = (3ull * width + 3) & ~3ull;
    if (stride * height > kMaxInputBytes) return kUnreadableInput;

    ComPtr<IWICBitmapSource> pixels;
    WICPixelFormatGUID format{};
    if (FAILED(frame->GetPixelFormat(&format))) return kUnreadableInput;
    if (format == GUID_WICPixelFormat24bppBGR) {
        frame->QueryInterface(IID_IWICBitmapSource, pixels.put_void());
    } else {
        ComPtr<IWICFormatConverter> converter;
        if (FAILED(factory->CreateFormatConverter(converter.put())) ||
            FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat24bppBGR, WICBitmapDitherTypeNone, nullptr,
                                         0.0, WICBitmapPaletteTypeCustom)))
            return kUnreadableInput;
        converter->QueryInterface(IID_IWICBitmapSource, pixels.put_void());
    }
    if (!pixels) return kConversionFailed;
    const size_t pixelBytes = static_cast<size_t>(stride * height);
    std::unique_ptr<BYTE[]> rows(new (std::nothrow) BYTE[pixelBytes]);
    if (!rows) return kConversionFailed;
    if (FAILED(pixels->CopyPixels(nullptr, static_cast<UINT>(stride), static_cast<UINT>(pixelBytes), rows.get())))
        return kUnreadableInput;  // pixel data cut short or damaged
    input.reset();  // not needed any more; frees as much memory as the output may need

    // JPEG at quality 90 comes out far smaller than the raw pixels; should a
    // picture of pure noise not fit, the buffer grows once and the encoding
    // is done again.
    DWORD capacity = static_cast<DWORD>(pixelBytes / 2 + (1u << 20));
    for (int attempt = 0; attempt < 2; ++attempt, capacity = static_cast<DWORD>(pixelBytes * 2 + (1u << 20))) {
        std::unique_ptr<BYTE[]> output(new (std::nothrow) BYTE[capacity]);
        if (!output) return kConversionFailed;
        DWORD written = 0;
        const HRESULT hr = EncodeJpeg(factory.get(), rows.get(), static_cast<UINT>(stride), width, height,
                                      output.get(), capacity, written);
        if (FAILED(hr)) continue;
        return platform::WriteFileReplacing(destination, {{output.get(), written}}) == 0 ? kConverted
                                                                                       : kUnwritableDestination;
    }
    return kConversionFailed;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
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
