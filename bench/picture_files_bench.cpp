// Times the picture files at 3840x2160 inside the program's own process:
// the BMP save beside a raw write of the same bytes, the PNG save (and, for
// comparison, the system's own PNG encoder on the same pixels), the JPEG
// save as the user gets it (the program's own ConvertToJpeg: temp.bmp
// written beside this program, the converter beside it started and waited
// for until its exit code is known), its parts (the turn with temp.bmp among
// them), and opening the JPEG and the BMP, the latter beside a raw read of
// its bytes.
//   picture_files_bench.exe FOLDER DIST_FOLDER [RUNS]
// FOLDER (with a trailing backslash) receives the files it times, so the
// outside tools can be run on the same ones. Prints one "figure NAME MS"
// line per measurement: the median of RUNS runs after one warm-up. The
// jpeg_save figure needs bmp2jpg.exe beside this program, as Tovik has it.
#include "codecs/ImageFile.h"
#include "imagefiles/PictureFiles.h"
#include "model/ImageModel.h"
#include "platform/owners/Com.h"
#include "platform/owners/Gdi.h"
#include "platform/owners/Handle.h"
#include "platform/system/Files.h"
#include "platform/system/FolderLock.h"
#include "platform/system/Process.h"
#include "platform/ui/Surface.h"

#include <wincodec.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 3840, kHeight = 2160;

double Now() {
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void Report(const char* name, int runs, const std::function<bool()>& run) {
    std::vector<double> ms;
    for (int i = 0; i <= runs; ++i) {
        const double start = Now();
        if (!run()) {
            std::printf("%s: failed\n", name);
            return;
        }
        if (i > 0) ms.push_back(Now() - start);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("figure %s %.1f (min %.1f, max %.1f, %d runs)\n", name, ms[ms.size() / 2], ms.front(), ms.back(), runs);
    std::fflush(stdout);
}

// Something like a screen: flat areas, gradients, fine lines and text-like
// speckles, so the JPEG encoder meets both easy and busy blocks.
void DrawScreenLike(HDC dc) {
    std::vector<std::uint32_t> bits(static_cast<size_t>(kWidth) * kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            std::uint32_t c;
            if (y < 40) c = 0x202A44;
            else if (x < 300) c = 0xF0F0F0 - ((y / 24) % 2) * 0x101010;
            else if ((x / 8 + y / 14) % 11 == 0 && (x * 7 + y * 3) % 5 < 2) c = 0x101010;
            else c = ((x * 255 / kWidth) << 16) | ((y * 255 / kHeight) << 8) | ((x ^ y) & 0x3F);
            bits[static_cast<size_t>(y) * kWidth + x] = c;
        }
    const BITMAPINFO bi = platform::TopDownRgb32(kWidth, kHeight);
    SetDIBitsToDevice(dc, 0, 0, kWidth, kHeight, 0, 0, 0, kHeight, bits.data(), &bi, DIB_RGB_COLORS);
}

// The image as the program holds it: a hidden window with the buffer and
// the view, the picture drawn into the buffer.
class BenchImage : public platform::Window, public model::ImageModel {
public:
    bool Create() {
        return CreateWindowOf({L"Tovik.BenchImage"}, WS_OVERLAPPEDWINDOW, 0, L"", 0, 0, 300, 200, nullptr) &&
               buffer_.Create(hwnd(), 0, 0, 10, 10, false, RGB(128, 128, 128)) &&
               view_.Create(hwnd(), 0, 0, 10, 10, true, RGB(128, 128, 128)) &&
               buffer_.SetOuterSize(kWidth + 2 * platform::PictureBox::kBorder,
                                    kHeight + 2 * platform::PictureBox::kBorder);
    }
    platform::PictureBox& Picture1() override { return view_; }
    platform::PictureBox& Picture2() override { return buffer_; }
    HWND Owner() const override { return hwnd(); }

private:
    platform::PictureBox buffer_, view_;
};

// The system's PNG encoder on the same pixels: what the PNG save would cost
// through it.
bool SaveWithSystemPng(HDC dc, const std::wstring& path) {
    std::vector<BYTE> rows(static_cast<size_t>(kWidth) * 3 * kHeight);
    BITMAPINFO bi = platform::RgbBitmapInfo(kWidth, -kHeight, 24);
    HBITMAP held = static_cast<HBITMAP>(GetCurrentObject(dc, OBJ_BITMAP));
    if (!GetDIBits(dc, held, 0, kHeight, rows.data(), &bi, DIB_RGB_COLORS)) return false;
    platform::ComApartment com;
    platform::ComPtr<IWICImagingFactory> factory;
    platform::ComPtr<IWICStream> stream;
    platform::ComPtr<IWICBitmapEncoder> encoder;
    platform::ComPtr<IWICBitmapFrameEncode> frame;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                factory.put_void())) ||
        FAILED(factory->CreateStream(stream.put())) ||
        FAILED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) ||
        FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.put())) ||
        FAILED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(frame.put(), nullptr)) || FAILED(frame->Initialize(nullptr)) ||
        FAILED(frame->SetSize(kWidth, kHeight)))
        return false;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    return SUCCEEDED(frame->SetPixelFormat(&format)) && format == GUID_WICPixelFormat24bppBGR &&
           SUCCEEDED(frame->WritePixels(kHeight, kWidth * 3, static_cast<UINT>(rows.size()), rows.data())) &&
           SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: picture_files_bench FOLDER DIST_FOLDER [RUNS]\n");
        return 2;
    }
    const std::wstring folder = argv[1];
    const std::wstring dist = argv[2];
    const int runs = argc > 3 ? std::max(1, _wtoi(argv[3])) : 9;
    const std::wstring converter = dist + L"bmp2jpg.exe";

    platform::Surface image;
    if (!image.Resize(kWidth, kHeight)) return 1;
    DrawScreenLike(image.hDC());
    const unsigned long long bytes = codecs::BitmapFileSize(kWidth, kHeight);
    std::vector<char> raw(static_cast<size_t>(bytes), 7);

    const std::wstring rawPath = folder + L"raw.bin";
    Report("raw_write", runs, [&] {
        platform::KernelHandle file(CreateFileW(rawPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        return file && WriteFile(file.get(), raw.data(), static_cast<DWORD>(raw.size()), &written, nullptr) &&
               written == raw.size();
    });
    const std::wstring bmp = folder + L"shot.bmp";
    Report("bmp_save", runs, [&] { return codecs::SaveBitmapFile(image.hDC(), kWidth, kHeight, bmp) == S_OK; });
    const std::wstring png = folder + L"shot.png";
    Report("png_save", runs, [&] { return codecs::SavePngFile(image.hDC(), kWidth, kHeight, png) == S_OK; });
    const std::wstring systemPng = folder + L"system.png";
    Report("png_save_system_encoder", runs, [&] { return SaveWithSystemPng(image.hDC(), systemPng); });

    // The JPEG save as the program does it: temp.bmp, then the converter,
    // here waited for so the time ends when the JPEG file is complete.
    const std::wstring temp = folder + L"temp.bmp";
    const std::wstring jpeg = folder + L"shot.jpg";
    auto convert = [&] {
        auto started = platform::StartProgram(nullptr, converter, temp + L" " + jpeg, folder, SW_HIDE);
        if (!started.started() || !platform::WaitForProcess(started.process, 60000)) return false;
        DWORD code = 1;
        GetExitCodeProcess(started.process.get(), &code);
        return code == 0;
    };
    Report("jpeg_end_to_end", runs, [&] {
        return codecs::SaveBitmapFile(image.hDC(), kWidth, kHeight, temp) == S_OK && convert();
    });
    Report("converter_process", runs, convert);

    // The save as the user now gets it, through the program's own code,
    // with the converter beside this program as it lies beside Tovik.
    const std::wstring besideUs = platform::ProgramFolder() + L"\\bmp2jpg.exe";
    BenchImage model;
    if (GetFileAttributesW(besideUs.c_str()) != INVALID_FILE_ATTRIBUTES && model.Create()) {
        DrawScreenLike(model.Picture2().hDC());
        imagefiles::JpegConverter converter;
        const std::wstring saved = folder + L"saved.jpg";
        Report("jpeg_save", runs, [&] {
            DeleteFileW(saved.c_str());
            return converter.ConvertToJpeg(model, saved) == S_OK &&
                   GetFileAttributesW(saved.c_str()) != INVALID_FILE_ATTRIBUTES;
        });
        Report("temp_bmp_write", runs, [&] {
            return codecs::SaveBitmapFile(model.Picture2().hDC(), kWidth, kHeight,
                                            platform::ProgramFolder() + L"\\temp.bmp") == S_OK;
        });
        // What the save's turn with temp.bmp costs when no other copy holds
        // it: a thousand takes and releases of the folder's lock.
        platform::FolderLock lock(platform::ProgramFolder(), L"temp.bmp");
        Report("temp_bmp_lock_1000", runs, [&] {
            for (int i = 0; i < 1000; ++i) {
                if (FAILED(lock.Take(1000))) return false;
                lock.Release();
            }
            return true;
        });
    } else {
        std::printf("jpeg_save: no bmp2jpg.exe beside the bench\n");
    }
    Report("process_start_only", runs, [&] {
        auto started = platform::StartProgram(nullptr, converter, L"", folder, SW_HIDE);
        return started.started() && platform::WaitForProcess(started.process, 60000);
    });
    Report("jpeg_open", runs, [&] { return codecs::LoadPictureFile(jpeg, RGB(255, 255, 255)).ok(); });
    Report("bmp_open", runs, [&] { return codecs::LoadPictureFile(bmp, RGB(255, 255, 255)).ok(); });
    std::vector<char> readBack(raw.size());
    Report("raw_read", runs, [&] {
        platform::KernelHandle file(CreateFileW(bmp.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                                FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD read = 0;
        return file && ReadFile(file.get(), readBack.data(), static_cast<DWORD>(readBack.size()), &read, nullptr) &&
               read == readBack.size();
    });
    // The same read into memory of its own, as any open must read: the first
    // touch of new pages costs more than the read from the cache.
    Report("raw_read_new_memory", runs, [&] {
        platform::KernelHandle file(CreateFileW(bmp.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                                FILE_ATTRIBUTE_NORMAL, nullptr));
        void* memory = VirtualAlloc(nullptr, raw.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        DWORD read = 0;
        const bool done = file && memory &&
                          ReadFile(file.get(), memory, static_cast<DWORD>(raw.size()), &read, nullptr) &&
                          read == raw.size();
        if (memory) VirtualFree(memory, 0, MEM_RELEASE);
        return done;
    });
    DeleteFileW(rawPath.c_str());
    return 0;
}
