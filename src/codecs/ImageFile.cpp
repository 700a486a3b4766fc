#include "codecs/ImageFile.h"

#include "codecs/BitmapFile.h"
#include "codecs/DirectBitmap.h"
#include "codecs/PictureDecoder.h"
#include "codecs/PictureSize.h"
#include "codecs/PngEncoder.h"
#include "platform/owners/Com.h"
#include "platform/owners/FileView.h"
#include "platform/owners/Handle.h"
#include "platform/system/FileReplace.h"

#include <wincodec.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>
#include <thread>
#include <vector>

namespace codecs {

using platform::Bitmap;
using platform::ComApartment;
using platform::ComPtr;
using platform::CompatibleDC;
using platform::CreateTopDownBitmap;
using platform::FailureOf;
using platform::FileView;
using platform::KernelHandle;
using platform::MemoryDC;
using platform::PieceWriter;
using platform::RgbBitmapInfo;
using platform::SelectedObject;
using platform::WriteFileReplacing;

namespace {

// The whole file mapped into memory: the decoders then read from memory
// instead of asking the file system for every few bytes, a plain bitmap is
// copied straight from the system's cache, and a missing or locked file is
// reported with its own Win32 error rather than a decoder's. (While the view
// is mapped the file cannot be cut short under it.)
HRESULT MapWholeFile(const std::wstring& path, FileView& view) {
    KernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return HRESULT_FROM_WIN32(GetLastError());
    LARGE_INTEGER length{};
    if (!GetFileSizeEx(file.get(), &length)) return HRESULT_FROM_WIN32(GetLastError());
    // No picture this program can show needs a bigger file.
    if (length.QuadPart > static_cast<LONGLONG>(kMaxPictureBytes)) return E_OUTOFMEMORY;
    if (length.QuadPart == 0) return S_OK;  // nothing to map: the decoders say what an empty file is
    const DWORD error = view.Map(file.get(), static_cast<std::size_t>(length.QuadPart));
    return error ? HRESULT_FROM_WIN32(error) : S_OK;
}

HRESULT CreateFactory(ComPtr<IWICImagingFactory>& factory) {
    return CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                            factory.put_void());
}

// Lays partly transparent pixels over the background; opaque ones stay.
void ComposeOver(std::uint32_t* pixels, std::size_t count, COLORREF background) {
    const unsigned br = GetRValue(background), bg = GetGValue(background), bb = GetBValue(background);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t p = pixels[i];
        const unsigned a = p >> 24;
        if (a == 255) continue;
        const unsigned k = 255 - a;
        const unsigned r = (((p >> 16) & 0xFF) * a + br * k + 127) / 255;
        const unsigned g = (((p >> 8) & 0xFF) * a + bg * k + 127) / 255;
        const unsigned b = ((p & 0xFF) * a + bb * k + 127) / 255;
        pixels[i] = 0xFF000000u | (r << 16) | (g << 8) | b;
    }
}

// Where a GIF's first frame lies on its logical screen. The rest of the
// screen is transparent, as browsers and the system's viewers show it, so it
// shows the image's own gray like every transparent pixel; the background
// colour a GIF names is not drawn. A screen smaller than the frame grows to
// hold it, so no pixel of the frame is lost to a careless writer.
struct GifCanvas {
    UINT width = 0, height = 0;
    UINT left = 0, top = 0;
};

UINT ReadNumber(IWICMetadataQueryReader* query, const wchar_t* name, UINT otherwise) {
    PROPVARIANT value;
    PropVariantInit(&value);
    UINT number = otherwise;
    if (query && SUCCEEDED(query->GetMetadataByName(name, &value))) {
        if (value.vt == VT_UI1) number = value.bVal;
        else if (value.vt == VT_UI2) number = value.uiVal;
        else if (value.vt == VT_UI4) number = value.ulVal;
        else if (value.vt == VT_BOOL) number = value.boolVal ? 1 : 0;
    }
    PropVariantClear(&value);
    return number;
}

GifCanvas PlaceGifFrame(IWICBitmapDecoder* decoder, IWICBitmapFrameDecode* frame, UINT width, UINT height) {
    GifCanvas canvas{width, height, 0, 0};
    ComPtr<IWICMetadataQueryReader> screen, image;
    decoder->GetMetadataQueryReader(screen.put());
    frame->GetMetadataQueryReader(image.put());
    if (!screen || !image) return canvas;
    canvas.left = ReadNumber(image.get(), L"/imgdesc/Left", 0);
    canvas.top = ReadNumber(image.get(), L"/imgdesc/Top", 0);
    canvas.width = std::max(ReadNumber(screen.get(), L"/logscrdesc/Width", 0), canvas.left + width);
    canvas.height = std::max(ReadNumber(screen.get(), L"/logscrdesc/Height", 0), canvas.top + height);
    return canvas;
}

HRESULT Load(const std::wstring& path, COLORREF background, LoadedPicture& picture) {
    FileView view;
    HRESULT hr = MapWholeFile(path, view);
    if (FAILED(hr)) return hr;
    static const BYTE kNothing = 0;
    const BYTE* data = view.data() ? view.data() : &kNothing;
    const DWORD size = static_cast<DWORD>(view.size());
    // Some decoders allocate for the size in the header as soon as they
    // start, and one overruns its buffer when that size is absurd: such a
    // file never reaches them.
    const ClaimedSize claimed = ReadClaimedSize(data, size);
    if (claimed.known && (claimed.width == 0 || claimed.height == 0)) return WINCODEC_ERR_BADIMAGE;
    if (claimed.known && !FitsLimits(claimed.width, claimed.height, kMaxPictureSide, kMaxPictureBytes))
        return E_OUTOFMEMORY;

    // Plain bitmaps (the ones Tovik writes among them) need no decoder.
    const DirectBitmap direct = ReadDirectBitmap(data, size, kMaxPictureSide, kMaxPictureBytes);
    if (direct.taken) {
        const int width = static_cast<int>(direct.width), height = static_cast<int>(direct.height);
        void* bits = nullptr;
        Bitmap bitmap = CreateTopDownBitmap(nullptr, width, height, bits);
        if (!bitmap) return E_OUTOFMEMORY;
        CopyDirectBitmap(direct, static_cast<std::uint32_t*>(bits));
        picture.bitmap = std::move(bitmap);
        picture.width = width;
        picture.height = height;
        return S_OK;
    }

    ComApartment com;
    if (!com.ready()) return com.result();
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(hr = CreateFactory(factory))) return hr;
    const FirstFrame first = OpenFirstFrame(factory.get(), data, size);
    if (!first.ok()) return first.error;
    UINT width = first.width, height = first.height;

    // The size comes from the file and is checked before anything is made
    // for it: a damaged header must not make us allocate gigabytes.
    if (width == 0 || height == 0) return WINCODEC_ERR_BADIMAGE;
    if (!FitsLimits(width, height, kMaxPictureSide, kMaxPictureBytes)) return E_OUTOFMEMORY;
    const unsigned long long bytes = 4ull * width * height;

    // Only pictures that can hold transparency need laying over the background.
    WICPixelFormatGUID format{};
    first.frame->GetPixelFormat(&format);
    const bool opaque = format == GUID_WICPixelFormat24bppBGR || format == GUID_WICPixelFormat32bppBGR ||
                        format == GUID_WICPixelFormat8bppGray || format == GUID_WICPixelFormat24bppRGB;

    ComPtr<IWICBitmapSource> pixels;
    if (FAILED(hr = PixelsAs(factory.get(), first.frame.get(), format, GUID_WICPixelFormat32bppBGRA, pixels)))
        return hr;

    void* bits = nullptr;
    Bitmap bitmap = CreateTopDownBitmap(nullptr, static_cast<int>(width), static_cast<int>(height), bits);
    if (!bitmap) return E_OUTOFMEMORY;
    if (FAILED(hr = pixels->CopyPixels(nullptr, width * 4, static_cast<UINT>(bytes), static_cast<BYTE*>(bits))))
        return hr;
    GdiFlush();
    if (!opaque)
        ComposeOver(static_cast<std::uint32_t*>(bits), static_cast<std::size_t>(width) * height, background);

    // A GIF's first frame is shown on its logical screen, like every viewer does.
    GUID container{};
    if (SUCCEEDED(first.decoder->GetContainerFormat(&container)) && container == GUID_ContainerFormatGif) {
        const GifCanvas canvas = PlaceGifFrame(first.decoder.get(), first.frame.get(), width, height);
        if (canvas.width != width || canvas.height != height) {
            if (!FitsLimits(canvas.width, canvas.height, kMaxPictureSide, kMaxPictureBytes)) return E_OUTOFMEMORY;
            void* canvasBits = nullptr;
            Bitmap whole = CreateTopDownBitmap(nullptr, static_cast<int>(canvas.width),
                                               static_cast<int>(canvas.height), canvasBits);
            if (!whole) return E_OUTOFMEMORY;
            auto* to = static_cast<std::uint32_t*>(canvasBits);
            const std::uint32_t fill = 0xFF000000u | (GetRValue(background) << 16) | (GetGValue(background) << 8) |
                                       GetBValue(background);
            std::fill(to, to + static_cast<std::size_t>(canvas.width) * canvas.height, fill);
            const auto* from = static_cast<const std::uint32_t*>(bits);
            for (UINT y = 0; y < height; ++y)
                std::copy_n(from + static_cast<std::size_t>(y) * width, width,
                            to + static_cast<std::size_t>(canvas.top + y) * canvas.width + canvas.left);
            bitmap = std::move(whole);
            width = canvas.width;
            height = canvas.height;
        }
    }

    picture.bitmap = std::move(bitmap);
    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(height);
    return S_OK;
}

}  // namespace

LoadedPicture LoadPictureFile(const std::wstring& path, COLORREF background) {
    LoadedPicture picture;
    picture.error = Load(path, background, picture);
    if (FAILED(picture.error)) picture = LoadedPicture{Bitmap(), 0, 0, picture.error};
    return picture;
}

unsigned long long BitmapFileSize(int width, int height) {
    if (width <= 0 || height <= 0) return 0;
    const unsigned long long stride = BitmapRowBytes(static_cast<unsigned>(width));
    const unsigned long long size = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + stride * height;
    return size > 0xFFFFFFFFull ? 0 : size;
}

HRESULT SaveBitmapFile(HDC dc, int width, int height, const std::wstring& path) {
    const unsigned long long fileSize = BitmapFileSize(width, height);
    if (fileSize == 0) return FailureOf(ERROR_INVALID_PARAMETER);
    const DWORD headerSize = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    const auto stride = static_cast<std::size_t>(BitmapRowBytes(static_cast<unsigned>(width)));

    // The picture goes to the file in strips of rows through one small
    // bottom-up 24-bit DIB section, which has exactly the file's row layout
    // (rows of 4-byte multiples, bottom row first): the system converts
    // each strip while it is still in the cache, and a large picture needs
    // no second copy of itself in memory.
    constexpr std::size_t kStripBytes = 1 << 18;
    const int stripRows = static_cast<int>(std::clamp<std::size_t>(kStripBytes / stride, 1, std::max(height, 1)));
    const BITMAPINFO info = RgbBitmapInfo(width, stripRows, 24);
    void* bits = nullptr;
    Bitmap strip(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!strip || !bits) return FailureOf(ERROR_NOT_ENOUGH_MEMORY);
    MemoryDC stripDC = CompatibleDC(dc);
    if (!stripDC) return FailureOf(ERROR_NOT_ENOUGH_MEMORY);
    SelectedObject selected(stripDC.get(), strip.get());

    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfSize = static_cast<DWORD>(fileSize);
    file.bfOffBits = headerSize;
    BITMAPINFOHEADER header = info.bmiHeader;
    header.biHeight = height;
    header.biSizeImage = static_cast<DWORD>(fileSize - headerSize);
    header.biXPelsPerMeter = header.biYPelsPerMeter = 3780;  // 96 dpi
    return FailureOf(WriteFileReplacing(path, [&](const PieceWriter& write) {
        if (DWORD error = write(&file, sizeof file)) return error;
        if (DWORD error = write(&header, sizeof header)) return error;
        // From the bottom of the picture up; a strip's rows sit at the
        // bottom of the section, which is where its memory begins.
        for (int bottom = height; bottom > 0; bottom -= stripRows) {
            const int rows = std::min(stripRows, bottom);
            if (!BitBlt(stripDC.get(), 0, stripRows - rows, width, rows, dc, 0, bottom - rows, SRCCOPY))
                return DWORD{ERROR_INVALID_PARAMETER};
            GdiFlush();   // the bits are read directly below
            if (DWORD error = write(bits, stride * static_cast<std::size_t>(rows))) return error;
        }
        return DWORD{0};
    }));
}

HRESULT SavePngFile(HDC dc, int width, int height, const std::wstring& path) {
    if (BitmapFileSize(width, height) == 0) return FailureOf(ERROR_INVALID_PARAMETER);
    // The whole picture once as top-down 24-bit rows, which the encoder's
    // threads then read at the same time (a DC serves one thread only).
    const BITMAPINFO info = RgbBitmapInfo(width, -height, 24);
    void* bits = nullptr;
    Bitmap rows(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!rows || !bits) return FailureOf(ERROR_NOT_ENOUGH_MEMORY);
    {
        MemoryDC rowsDC = CompatibleDC(dc);
        if (!rowsDC) return FailureOf(ERROR_NOT_ENOUGH_MEMORY);
        SelectedObject selected(rowsDC.get(), rows.get());
        if (!BitBlt(rowsDC.get(), 0, 0, width, height, dc, 0, 0, SRCCOPY)) return FailureOf(ERROR_INVALID_PARAMETER);
        GdiFlush();
    }
    const auto stride = static_cast<std::size_t>(BitmapRowBytes(static_cast<unsigned>(width)));
    std::vector<std::uint8_t> png;
    const unsigned threads = std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
    if (!EncodePng({static_cast<const std::uint8_t*>(bits), stride, static_cast<std::uint32_t>(width),
                    static_cast<std::uint32_t>(height)},
                   png, threads))
        return FailureOf(ERROR_NOT_ENOUGH_MEMORY);
    rows = Bitmap();  // the rows are coded: their memory goes back before the file is written
    return FailureOf(WriteFileReplacing(path, {{png.data(), png.size()}}));
}

}  // namespace codecs
