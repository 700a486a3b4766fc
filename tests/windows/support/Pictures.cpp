#include "support/Pictures.h"

#include "codecs/ImageFile.h"

#include "platform/owners/Com.h"
#include "platform/owners/Gdi.h"
#include "platform/owners/Handle.h"
#include "support/Driver.h"
#include "support/Programs.h"

#include <wincodec.h>

#include <cstring>
#include <functional>
#include <initializer_list>

namespace tovik_test {

using platform::ComPtr;

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& b, size_t at, unsigned v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(Bytes& b, size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
void Put32BigEndian(Bytes& b, size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * (3 - i)));
}
void PutBigEndian16(Bytes& b, size_t at, unsigned v) {
    b[at] = static_cast<std::uint8_t>(v >> 8);
    b[at + 1] = static_cast<std::uint8_t>(v);
}

// A BMP of the pattern, written by hand so the loader's test does not
// depend on the encoder it is compared with: 24-bit bottom-up, or 32-bit
// top-down with a fourth byte that carries nothing.
Bytes MakeBmp(int bits = 24) {
    const int pixelBytes = bits / 8;
    const int stride = (kPictureWidth * pixelBytes + 3) & ~3;
    Bytes b(54 + static_cast<size_t>(stride) * kPictureHeight, 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, static_cast<std::uint32_t>(b.size()));
    Put32(b, 10, 54);
    Put32(b, 14, 40);
    Put32(b, 18, kPictureWidth);
    Put32(b, 22, bits == 32 ? static_cast<std::uint32_t>(-kPictureHeight) : kPictureHeight);
    Put16(b, 26, 1);
    Put16(b, 28, static_cast<std::uint16_t>(bits));
    Put32(b, 34, static_cast<std::uint32_t>(stride * kPictureHeight));
    for (int y = 0; y < kPictureHeight; ++y)
        for (int x = 0; x < kPictureWidth; ++x) {
            const std::uint32_t c = PicturePatternAt(x, y);
            const int row = bits == 32 ? y : kPictureHeight - 1 - y;
            const size_t at = 54 + static_cast<size_t>(row) * stride + x * pixelBytes;
            b[at] = c & 0xFF;
            b[at + 1] = (c >> 8) & 0xFF;
            b[at + 2] = (c >> 16) & 0xFF;
            if (bits == 32) b[at + 3] = static_cast<std::uint8_t>(x * 5);
        }
    return b;
}

}  // namespace

std::uint32_t GifPaletteColour(int index) { return Rgb(index, 255 - index, (index * 7) & 0xFF); }

int GifIndexAt(int x, int y) { return (x * 5 + y * 3) & 0xFF; }

namespace {

// Encodes pixels through the system's encoder for `container` into a file
// and gives back its bytes.
Bytes Encode(const GUID& container, const WICPixelFormatGUID& format, UINT stride, std::vector<BYTE> pixels,
             const std::wstring& scratch, bool withPalette = false) {
    platform::ComApartment com;
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                factory.put_void())))
        return {};
    {
        ComPtr<IWICStream> stream;
        ComPtr<IWICBitmapEncoder> encoder;
        ComPtr<IWICBitmapFrameEncode> frame;
        ComPtr<IPropertyBag2> options;
        if (FAILED(factory->CreateStream(stream.put())) ||
            FAILED(stream->InitializeFromFilename(scratch.c_str(), GENERIC_WRITE)) ||
            FAILED(factory->CreateEncoder(container, nullptr, encoder.put())) ||
            FAILED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) ||
            FAILED(encoder->CreateNewFrame(frame.put(), options.put())))
            return {};
        if (container == GUID_ContainerFormatJpeg) {
            PROPBAG2 name{};
            name.pstrName = const_cast<LPOLESTR>(L"ImageQuality");
            VARIANT value;
            VariantInit(&value);
            value.vt = VT_R4;
            value.fltVal = 0.95f;
            options->Write(1, &name, &value);
        }
        if (FAILED(frame->Initialize(options.get())) || FAILED(frame->SetSize(kPictureWidth, kPictureHeight)))
            return {};
        WICPixelFormatGUID accepted = format;
        if (FAILED(frame->SetPixelFormat(&accepted)) || accepted != format) return {};
        if (withPalette) {
            ComPtr<IWICPalette> palette;
            WICColor colours[256];
            for (int i = 0; i < 256; ++i) colours[i] = 0xFF000000u | GifPaletteColour(i);
            if (FAILED(factory->CreatePalette(palette.put())) || FAILED(palette->InitializeCustom(colours, 256)) ||
                FAILED(frame->SetPalette(palette.get())))
                return {};
        }
        if (FAILED(frame->WritePixels(kPictureHeight, stride, static_cast<UINT>(pixels.size()), pixels.data())) ||
            FAILED(frame->Commit()) || FAILED(encoder->Commit()))
            return {};
    }
    Bytes bytes = ReadFileBytes(scratch);
    DeleteFileW(scratch.c_str());
    return bytes;
}

std::vector<BYTE> PatternPixels24() {
    const UINT stride = (kPictureWidth * 3 + 3) & ~3u;
    std::vector<BYTE> p(stride * kPictureHeight);
    for (int y = 0; y < kPictureHeight; ++y)
        for (int x = 0; x < kPictureWidth; ++x) {
            const std::uint32_t c = PicturePatternAt(x, y);
            BYTE* at = &p[y * stride + x * 3];
            at[0] = c & 0xFF;
            at[1] = (c >> 8) & 0xFF;
            at[2] = (c >> 16) & 0xFF;
        }
    return p;
}

std::vector<BYTE> AlphaPixels() {
    std::vector<BYTE> p(kPictureWidth * 4 * kPictureHeight);
    for (int y = 0; y < kPictureHeight; ++y)
        for (int x = 0; x < kPictureWidth; ++x) {
            const std::uint32_t c = AlphaPatternAt(x, y);
            std::memcpy(&p[(y * kPictureWidth + x) * 4], &c, 4);
        }
    return p;
}

// One chunk of a PNG: offset of its length field, its type and data size.
struct PngChunk {
    size_t at;
    std::string type;
    std::uint32_t length;
};
std::vector<PngChunk> PngChunks(const Bytes& png) {
    std::vector<PngChunk> chunks;
    for (size_t at = 8; at + 12 <= png.size();) {
        const std::uint32_t length = (png[at] << 24) | (png[at + 1] << 16) | (png[at + 2] << 8) | png[at + 3];
        chunks.push_back({at, std::string(png.begin() + at + 4, png.begin() + at + 8), length});
        at += 12 + length;
    }
    return chunks;
}
std::uint32_t Crc32(const std::uint8_t* data, size_t size) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}
// Recomputes a chunk's CRC after its data was changed on purpose, so the
// change itself is what the decoder meets.
void FixPngCrc(Bytes& png, const PngChunk& c) {
    Put32BigEndian(png, c.at + 8 + c.length, Crc32(&png[c.at + 4], c.length + 4));
}

// Offset of the first image descriptor (0x2C) of a GIF.
size_t GifImageDescriptor(const Bytes& gif) {
    size_t at = 13;
    if (gif[10] & 0x80) at += 3u << ((gif[10] & 7) + 1);
    while (at < gif.size() && gif[at] == 0x21) {
        at += 2;
        while (at < gif.size() && gif[at] != 0) at += gif[at] + 1;
        ++at;
    }
    return at;
}

// Offset of the first JPEG marker of the given kind (0xC0 for SOF0).
size_t JpegMarker(const Bytes& jpg, std::uint8_t kind) {
    for (size_t at = 2; at + 4 <= jpg.size();) {
        if (jpg[at] != 0xFF) return 0;
        if (jpg[at + 1] == kind) return at;
        if (jpg[at + 1] == 0xDA) return 0;
        at += 2 + ((jpg[at + 2] << 8) | jpg[at + 3]);
    }
    return 0;
}

Bytes Cut(const Bytes& b, size_t size) { return Bytes(b.begin(), b.begin() + std::min(size, b.size())); }
Bytes With(Bytes b, const std::function<void(Bytes&)>& change) {
    change(b);
    return b;
}

}  // namespace

TempFolder::TempFolder(const std::wstring& name) {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, temp);
    for (unsigned n = GetTickCount() ^ GetCurrentProcessId();; ++n) {
        path_ = std::wstring(temp) + name + L"-" + std::to_wstring(n) + L"\\";
        if (CreateDirectoryW(path_.c_str(), nullptr)) break;
        if (GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
}

TempFolder::~TempFolder() {
    // Files first (read-only ones too), then folders one level down, then this one.
    auto remove = [](const std::wstring& file) {
        SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(file.c_str());
    };
    for (const std::wstring& name : FilesMatching(path_ + L"*", true)) {
        const std::wstring item = path_ + name;
        if (!(GetFileAttributesW(item.c_str()) & FILE_ATTRIBUTE_DIRECTORY)) {
            remove(item);
            continue;
        }
        for (const std::wstring& inner : FilesMatching(item + L"\\*")) remove(item + L"\\" + inner);
        RemoveDirectoryW(item.c_str());
    }
    RemoveDirectoryW(path_.c_str());
}

SmallDisk::SmallDisk() {
    unixPath_ = "/tmp/tovik-small-disk-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount());
    path_ = WindowsPath(unixPath_) + L"\\";
    RunUnixShell("mkdir -p " + unixPath_ + " && mount -t tmpfs -o size=1m tmpfs " + unixPath_, 20000);
    ULARGE_INTEGER total{};
    ready_ = GetDiskFreeSpaceExW(path_.c_str(), nullptr, &total, nullptr) && total.QuadPart <= (2u << 20);
}

SmallDisk::~SmallDisk() { RunUnixShell("umount " + unixPath_ + "; rmdir " + unixPath_, 20000); }

void SmallDisk::Fill() {
    const platform::KernelHandle file(
        CreateFileW((path_ + L"filler").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    const std::vector<char> block(4096, 'f');
    DWORD written = 0;
    while (file && WriteFile(file.get(), block.data(), static_cast<DWORD>(block.size()), &written, nullptr) &&
           written) {}
}

std::vector<std::wstring> TempFolder::FileNames() const { return FilesMatching(path_ + L"*"); }

std::uint32_t PicturePatternAt(int x, int y) {
    return Rgb((x * 4 + y) & 0xFF, (y * 6 + 2 * x) & 0xFF, ((x + y) * 3 + 40) & 0xFF);
}
std::uint32_t GifPatternAt(int x, int y) { return GifPaletteColour(GifIndexAt(x, y)); }
std::uint32_t AlphaPatternAt(int x, int y) {
    // Opaque, fully transparent and half transparent columns.
    const std::uint32_t alpha = x % 3 == 0 ? 0xFF : x % 3 == 1 ? 0x00 : 0x80;
    return (alpha << 24) | PicturePatternAt(x, y);
}

std::vector<std::uint8_t> ReadFileBytes(const std::wstring& path) {
    Bytes bytes;
    const platform::KernelHandle file(
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size)) return bytes;
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!bytes.empty()) ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    bytes.resize(read);
    return bytes;
}

bool WriteFileBytes(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
    const platform::KernelHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && (bytes.empty() || WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                                               nullptr)) && written == bytes.size();
}

GoodPictures WriteGoodPictures(const std::wstring& folder) {
    GoodPictures good{folder + L"good.bmp", folder + L"good.gif", folder + L"good.jpg", folder + L"good.png",
                      folder + L"alpha.png", folder + L"good32.bmp"};
    const std::wstring scratch = folder + L"encoding.tmp";
    const UINT stride24 = (kPictureWidth * 3 + 3) & ~3u;
    WriteFileBytes(good.bmp, MakeBmp());
    WriteFileBytes(good.bmp32, MakeBmp(32));
    WriteFileBytes(good.png, Encode(GUID_ContainerFormatPng, GUID_WICPixelFormat24bppBGR, stride24,
                                    PatternPixels24(), scratch));
    WriteFileBytes(good.jpg, Encode(GUID_ContainerFormatJpeg, GUID_WICPixelFormat24bppBGR, stride24,
                                    PatternPixels24(), scratch));
    WriteFileBytes(good.alphaPng, Encode(GUID_ContainerFormatPng, GUID_WICPixelFormat32bppBGRA, kPictureWidth * 4,
                                         AlphaPixels(), scratch));
    std::vector<BYTE> indices(static_cast<size_t>(kPictureWidth) * kPictureHeight);
    for (int y = 0; y < kPictureHeight; ++y)
        for (int x = 0; x < kPictureWidth; ++x) indices[y * kPictureWidth + x] = static_cast<BYTE>(GifIndexAt(x, y));
    WriteFileBytes(good.gif, Encode(GUID_ContainerFormatGif, GUID_WICPixelFormat8bppIndexed, kPictureWidth,
                                    indices, scratch, true));
    // The same frame at an offset of a larger logical screen, as animation
    // optimisers leave it.
    // The frame's own colour table becomes the global one, which holds the
    // screen's background colour.
    Bytes canvas = ReadFileBytes(good.gif);
    size_t image = GifImageDescriptor(canvas);
    if (canvas.size() > 13 && image + 9 < canvas.size() && (canvas[image + 9] & 0x80) && !(canvas[10] & 0x80)) {
        const int sizeBits = canvas[image + 9] & 7;
        const size_t tableBytes = 3u << (sizeBits + 1);
        const Bytes table(canvas.begin() + image + 10, canvas.begin() + image + 10 + tableBytes);
        canvas.erase(canvas.begin() + image + 10, canvas.begin() + image + 10 + tableBytes);
        canvas[image + 9] &= 0x78;
        canvas.insert(canvas.begin() + 13, table.begin(), table.end());
        canvas[10] = static_cast<std::uint8_t>(0xF0 | sizeBits);
        image += tableBytes;
    }
    if (canvas.size() > 13 && image + 9 < canvas.size()) {
        Put16(canvas, 6, kGifCanvasWidth);
        Put16(canvas, 8, kGifCanvasHeight);
        canvas[11] = kGifBackgroundIndex;
        Put16(canvas, image + 1, kGifLeft);
        Put16(canvas, image + 3, kGifTop);
    }
    good.gifOnCanvas = folder + L"canvas.gif";
    WriteFileBytes(good.gifOnCanvas, canvas);
    // A graphic control extension just before the frame makes the
    // background's index transparent.
    const std::uint8_t control[] = {0x21, 0xF9, 4, 1, 0, 0, kGifBackgroundIndex, 0};
    if (image < canvas.size()) canvas.insert(canvas.begin() + image, std::begin(control), std::end(control));
    good.gifTransparent = folder + L"transparent.gif";
    WriteFileBytes(good.gifTransparent, canvas);
    return good;
}

std::vector<std::wstring> WriteDamagedPictures(const std::wstring& folder) {
    const GoodPictures good = WriteGoodPictures(folder + L"source-");
    const Bytes bmp = ReadFileBytes(good.bmp), png = ReadFileBytes(good.png), gif = ReadFileBytes(good.gif),
                jpg = ReadFileBytes(good.jpg);
    for (const std::wstring* p : {&good.bmp, &good.png, &good.gif, &good.jpg, &good.alphaPng, &good.bmp32, &good.gifOnCanvas, &good.gifTransparent}) DeleteFileW(p->c_str());

    std::vector<std::pair<std::wstring, Bytes>> damaged;
    auto add = [&](const wchar_t* name, Bytes bytes) { damaged.emplace_back(name, std::move(bytes)); };

    // BMP: header fields at fixed offsets.
    for (size_t size : std::initializer_list<size_t>{0, 2, 14, 30, 53, 54, 54 + 100, 54 + 1000})
        add((L"bmp-cut-" + std::to_wstring(size) + L".bmp").c_str(), Cut(bmp, size));
    add(L"bmp-signature.bmp", With(bmp, [](Bytes& b) { b[0] = 'X'; }));
    add(L"bmp-width-0.bmp", With(bmp, [](Bytes& b) { Put32(b, 18, 0); }));
    add(L"bmp-height-0.bmp", With(bmp, [](Bytes& b) { Put32(b, 22, 0); }));
    add(L"bmp-width-negative.bmp", With(bmp, [](Bytes& b) { Put32(b, 18, static_cast<std::uint32_t>(-61)); }));
    add(L"bmp-60000x60000.bmp", With(bmp, [](Bytes& b) { Put32(b, 18, 60000); Put32(b, 22, 60000); }));
    add(L"bmp-60000x-60000.bmp",
        With(bmp, [](Bytes& b) { Put32(b, 18, 60000); Put32(b, 22, static_cast<std::uint32_t>(-60000)); }));
    add(L"bmp-bits-per-pixel-7.bmp", With(bmp, [](Bytes& b) { Put16(b, 28, 7); }));
    add(L"bmp-header-size-7.bmp", With(bmp, [](Bytes& b) { Put32(b, 14, 7); }));
    add(L"bmp-compression-99.bmp", With(bmp, [](Bytes& b) { Put32(b, 30, 99); }));
    add(L"bmp-width-doubled.bmp", With(bmp, [](Bytes& b) { Put32(b, 18, kPictureWidth * 2); }));

    // PNG: signature, then IHDR with its CRC, then IDAT.
    const auto chunks = PngChunks(png);
    const PngChunk ihdr = chunks.at(0);
    PngChunk idat = chunks.at(1);
    for (const auto& c : chunks)
        if (c.type == "IDAT") { idat = c; break; }
    for (size_t size : std::initializer_list<size_t>{8, 20, 33, idat.at + 8 + idat.length / 2})
        add((L"png-cut-" + std::to_wstring(size) + L".png").c_str(), Cut(png, size));
    add(L"png-signature.png", With(png, [](Bytes& b) { b[1] = 'Q'; }));
    add(L"png-header-crc.png", With(png, [](Bytes& b) { b[17] ^= 0x40; }));
    add(L"png-width-0.png", With(png, [&](Bytes& b) { Put32BigEndian(b, 16, 0); FixPngCrc(b, ihdr); }));
    add(L"png-60000x60000.png", With(png, [&](Bytes& b) {
        Put32BigEndian(b, 16, 60000);
        Put32BigEndian(b, 20, 60000);
        FixPngCrc(b, ihdr);
    }));
    add(L"png-bit-depth-3.png", With(png, [&](Bytes& b) { b[24] = 3; FixPngCrc(b, ihdr); }));
    add(L"png-image-data.png", With(png, [&](Bytes& b) {
        for (size_t i = 0; i < idat.length; ++i) b[idat.at + 8 + i] ^= 0x5A;
        FixPngCrc(b, idat);
    }));

    // GIF: signature, screen descriptor, colour table, image descriptor, LZW data.
    const size_t image = GifImageDescriptor(gif);
    for (size_t size : std::initializer_list<size_t>{6, 13, image + 5, image + 10, gif.size() / 2})
        add((L"gif-cut-" + std::to_wstring(size) + L".gif").c_str(), Cut(gif, size));
    add(L"gif-signature.gif", With(gif, [](Bytes& b) { b[0] = 'J'; }));
    add(L"gif-60000x60000.gif", With(gif, [&](Bytes& b) {
        Put16(b, 6, 60000); Put16(b, 8, 60000); Put16(b, image + 5, 60000); Put16(b, image + 7, 60000);
    }));
    add(L"gif-image-0x0.gif", With(gif, [&](Bytes& b) { Put16(b, image + 5, 0); Put16(b, image + 7, 0); }));
    add(L"gif-no-image.gif", With(Cut(gif, image), [](Bytes& b) { b.push_back(0x3B); }));

    // JPEG: markers, the frame header (SOF0) with its size, the scan data.
    const size_t sof = JpegMarker(jpg, 0xC0);
    const size_t dqt = JpegMarker(jpg, 0xDB);
    for (size_t size : std::initializer_list<size_t>{2, dqt + 20, sof + 6, jpg.size() / 2, jpg.size() - 40})
        add((L"jpg-cut-" + std::to_wstring(size) + L".jpg").c_str(), Cut(jpg, size));
    add(L"jpg-signature.jpg", With(jpg, [](Bytes& b) { b[1] = 0x00; }));
    add(L"jpg-60000x60000.jpg", With(jpg, [&](Bytes& b) { PutBigEndian16(b, sof + 5, 60000); PutBigEndian16(b, sof + 7, 60000); }));
    add(L"jpg-width-0.jpg", With(jpg, [&](Bytes& b) { PutBigEndian16(b, sof + 7, 0); }));
    add(L"jpg-components-0.jpg", With(jpg, [&](Bytes& b) { b[sof + 9] = 0; }));
    add(L"jpg-precision-3.jpg", With(jpg, [&](Bytes& b) { b[sof + 4] = 3; }));

    // Not pictures at all.
    add(L"text.bmp", Bytes{'h', 'e', 'l', 'l', 'o', '\r', '\n'});
    add(L"zeros.jpg", Bytes(1000, 0));

    std::vector<std::wstring> paths;
    for (const auto& [name, bytes] : damaged) {
        paths.push_back(folder + name);
        WriteFileBytes(paths.back(), bytes);
    }
    return paths;
}

std::optional<Pixels> ReadPictureFile(const std::wstring& path) {
    codecs::LoadedPicture picture = codecs::LoadPictureFile(path, RGB(128, 128, 128));
    if (!picture.ok()) return std::nullopt;
    const platform::MemoryDC memory = platform::CompatibleDC(platform::ClientDC(nullptr).get());
    const platform::SelectedObject select(memory.get(), picture.bitmap.get());
    return ReadDC(memory.get(), 0, 0, picture.width, picture.height);
}

}  // namespace tovik_test
