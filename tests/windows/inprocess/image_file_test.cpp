// Picture files in-process: the WIC loader against good and damaged files,
// the BMP writer, and the shipped converter bmp2jpg.exe end to end.
#include "codecs/ImageFile.h"
#include "platform/owners/Handle.h"
#include "platform/system/FileReplace.h"
#include "platform/system/Process.h"
#include "platform/ui/Surface.h"
#include "support/Driver.h"
#include "support/Pictures.h"
#include "support/Programs.h"

#include <gtest/gtest.h>

#include <shellapi.h>
#include <wincodec.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

using namespace tovik_test;
using codecs::LoadPictureFile;

constexpr COLORREF kBackground = RGB(10, 200, 30);
const std::uint32_t kBackgroundRgb = Rgb(10, 200, 30);

// 0x00RRGGBB at (x, y) of a loaded picture's 32-bit top-down DIB section.
std::uint32_t PixelOf(const codecs::LoadedPicture& p, int x, int y) {
    DIBSECTION dib{};
    GetObjectW(p.bitmap.get(), sizeof dib, &dib);
    return static_cast<const std::uint32_t*>(dib.dsBm.bmBits)[static_cast<size_t>(y) * p.width + x] & 0xFFFFFF;
}

int Channel(std::uint32_t c, int shift) { return static_cast<int>((c >> shift) & 0xFF); }

// Mean difference per channel between a loaded picture and a pattern.
double MeanDifference(const codecs::LoadedPicture& p, std::uint32_t (*pattern)(int, int)) {
    double sum = 0;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            for (int shift : {0, 8, 16}) sum += std::abs(Channel(PixelOf(p, x, y), shift) - Channel(pattern(x, y), shift));
    return sum / (3.0 * p.width * p.height);
}

void ExpectExactly(const codecs::LoadedPicture& p, std::uint32_t (*pattern)(int, int), int width = kPictureWidth,
                   int height = kPictureHeight) {
    ASSERT_TRUE(p.ok());
    ASSERT_EQ(p.width, width);
    ASSERT_EQ(p.height, height);
    int wrong = 0;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            if (PixelOf(p, x, y) != pattern(x, y) && wrong++ < 3)
                ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex << PixelOf(p, x, y);
    EXPECT_EQ(wrong, 0);
}

// The pattern drawn into a persistent surface bigger than the part saved,
// as the program's image buffer holds it.
struct PatternSurface {
    platform::Surface surface;
    PatternSurface() {
        surface.Resize(kPictureWidth + 9, kPictureHeight + 13);
        surface.Cls();
        std::vector<std::uint32_t> bits(static_cast<size_t>(kPictureWidth) * kPictureHeight);
        for (int y = 0; y < kPictureHeight; ++y)
            for (int x = 0; x < kPictureWidth; ++x) bits[y * kPictureWidth + x] = PicturePatternAt(x, y);
        const BITMAPINFO bi = platform::TopDownRgb32(kPictureWidth, kPictureHeight);
        SetDIBitsToDevice(surface.hDC(), 0, 0, kPictureWidth, kPictureHeight, 0, 0, 0, kPictureHeight, bits.data(),
                          &bi, DIB_RGB_COLORS);
    }
};

TEST(PictureFiles, EachFormatLoadsWithItsSizeAndPixels) {
    TempFolder folder;
    const GoodPictures good = WriteGoodPictures(folder.path());
    ExpectExactly(LoadPictureFile(good.bmp, kBackground), PicturePatternAt);
    ExpectExactly(LoadPictureFile(good.bmp32, kBackground), PicturePatternAt);
    ExpectExactly(LoadPictureFile(good.png, kBackground), PicturePatternAt);
    ExpectExactly(LoadPictureFile(good.gif, kBackground), GifPatternAt);
    // A first frame smaller than the logical screen lies at its offset; the
    // rest of the screen is transparent and shows the image's background,
    // not the background colour the file names in its colour table.
    const auto bytes = ReadFileBytes(good.gifOnCanvas);
    ASSERT_TRUE(bytes.size() > 13 && (bytes[10] & 0x80)) << "no global colour table";
    ExpectExactly(LoadPictureFile(good.gifOnCanvas, kBackground), [](int x, int y) {
        const int fx = x - kGifLeft, fy = y - kGifTop;
        return fx >= 0 && fy >= 0 && fx < kPictureWidth && fy < kPictureHeight ? GifPatternAt(fx, fy) : kBackgroundRgb;
    }, kGifCanvasWidth, kGifCanvasHeight);
    // With a transparent colour, the frame's transparent pixels show it too.
    ExpectExactly(LoadPictureFile(good.gifTransparent, kBackground), [](int x, int y) {
        const int fx = x - kGifLeft, fy = y - kGifTop;
        const bool covered = fx >= 0 && fy >= 0 && fx < kPictureWidth && fy < kPictureHeight;
        return covered && GifIndexAt(fx, fy) != kGifBackgroundIndex ? GifPatternAt(fx, fy) : kBackgroundRgb;
    }, kGifCanvasWidth, kGifCanvasHeight);

    const auto jpg = LoadPictureFile(good.jpg, kBackground);
    ASSERT_TRUE(jpg.ok());
    EXPECT_EQ(jpg.width, kPictureWidth);
    EXPECT_EQ(jpg.height, kPictureHeight);
    EXPECT_LT(MeanDifference(jpg, PicturePatternAt), 8.0);

    // Transparent pixels show the background, half transparent ones a mix.
    const auto alpha = LoadPictureFile(good.alphaPng, kBackground);
    ASSERT_TRUE(alpha.ok());
    for (int x : {0, 1, 2, 30, 31, 32})
        for (int y : {0, 17, 36}) {
            const std::uint32_t source = AlphaPatternAt(x, y);
            const int a = static_cast<int>(source >> 24);
            for (int shift : {0, 8, 16}) {
                const int expected = (Channel(source, shift) * a + Channel(kBackgroundRgb, shift) * (255 - a) + 127) / 255;
                EXPECT_NEAR(Channel(PixelOf(alpha, x, y), shift), expected, 1) << x << "," << y;
            }
        }
}

struct ThreadLoad {
    std::wstring path;
    HRESULT error = S_OK;
    bool hasBitmap = true;
};

DWORD WINAPI LoadOnThread(void* parameter) {
    auto* load = static_cast<ThreadLoad*>(parameter);
    const auto picture = LoadPictureFile(load->path, kBackground);
    load->error = picture.error;
    load->hasBitmap = static_cast<bool>(picture.bitmap);
    return 0;
}

LONG WINAPI EndOnCrash(EXCEPTION_POINTERS*) {
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_EXECUTE_HANDLER;
}

TEST(PictureFiles, EveryDamagedPictureIsRefusedWithoutCrashOrHang) {
    TempFolder folder;
    const auto damaged = WriteDamagedPictures(folder.path());
    ASSERT_GE(damaged.size(), 30u);
    // A decoder that crashes must fail the test: under Wine an unhandled
    // fault on another thread can otherwise end the process as if it passed.
    SetUnhandledExceptionFilter(EndOnCrash);
    for (const std::wstring& path : damaged) {
        // Each load runs on a thread of its own, so a loader that hangs is
        // named rather than just stopped by the test's time limit.
        ThreadLoad load{path};
        platform::KernelHandle thread(CreateThread(nullptr, 0, LoadOnThread, &load, 0, nullptr));
        ASSERT_TRUE(thread);
        if (WaitForSingleObject(thread.get(), 60000) != WAIT_OBJECT_0) {
            ADD_FAILURE() << "loading hangs: " << testing::PrintToString(path);
            TerminateProcess(GetCurrentProcess(), 1);  // the thread still uses `load`
        }
        EXPECT_TRUE(FAILED(load.error)) << testing::PrintToString(path);
        EXPECT_FALSE(load.hasBitmap) << testing::PrintToString(path);
    }
}

TEST(PictureFiles, MissingFileAndNonPictureReportTheirOwnErrors) {
    TempFolder folder;
    EXPECT_EQ(LoadPictureFile(folder.path() + L"none.bmp", kBackground).error, HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(LoadPictureFile(folder.path() + L"none\\a.bmp", kBackground).error,
              HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));
    WriteFileBytes(folder.path() + L"notes.gif", {'n', 'o', 't', 'e', 's'});
    EXPECT_EQ(LoadPictureFile(folder.path() + L"notes.gif", kBackground).error, WINCODEC_ERR_COMPONENTNOTFOUND);
}

TEST(PictureFiles, SavedBitmapIsPixelExactAndReplacesTheOldFile) {
    TempFolder folder;
    PatternSurface image;
    const std::wstring path = folder.path() + L"画像 1.bmp";
    WriteFileBytes(path, std::vector<std::uint8_t>(100000, 0xEE));
    ASSERT_EQ(codecs::SaveBitmapFile(image.surface.hDC(), kPictureWidth, kPictureHeight, path), S_OK);

    const auto bytes = ReadFileBytes(path);
    const size_t stride = (kPictureWidth * 3 + 3) & ~3;
    ASSERT_EQ(bytes.size(), 54 + stride * kPictureHeight);
    BITMAPFILEHEADER file;
    BITMAPINFOHEADER info;
    memcpy(&file, bytes.data(), sizeof file);
    memcpy(&info, bytes.data() + sizeof file, sizeof info);
    EXPECT_EQ(file.bfType, 0x4D42);
    EXPECT_EQ(file.bfSize, bytes.size());
    EXPECT_EQ(file.bfOffBits, 54u);
    EXPECT_EQ(info.biSize, 40u);
    EXPECT_EQ(info.biWidth, kPictureWidth);
    EXPECT_EQ(info.biHeight, kPictureHeight);  // bottom-up
    EXPECT_EQ(info.biBitCount, 24);
    EXPECT_EQ(info.biCompression, static_cast<DWORD>(BI_RGB));
    int wrong = 0;
    for (int y = 0; y < kPictureHeight; ++y)
        for (int x = 0; x < kPictureWidth; ++x) {
            const std::uint8_t* p = &bytes[54 + (kPictureHeight - 1 - y) * stride + x * 3];
            wrong += Rgb(p[2], p[1], p[0]) != PicturePatternAt(x, y);
        }
    EXPECT_EQ(wrong, 0);
    ExpectExactly(LoadPictureFile(path, kBackground), PicturePatternAt);
    EXPECT_EQ(folder.FileNames().size(), 1u) << "a temporary file was left behind";

    // Into a folder whose path is longer than MAX_PATH, as a long-path aware program may be given.
    const std::wstring deep = folder.path() + std::wstring(240, L'd') + L"\\";
    ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr));
    ASSERT_GT(deep.size(), static_cast<size_t>(MAX_PATH));
    EXPECT_EQ(codecs::SaveBitmapFile(image.surface.hDC(), kPictureWidth, kPictureHeight, deep + L"shot.bmp"), S_OK);
    ExpectExactly(LoadPictureFile(deep + L"shot.bmp", kBackground), PicturePatternAt);
}

TEST(PictureFiles, FailedSaveKeepsTheOldFileAndLeavesNothingBehind) {
    TempFolder folder;
    PatternSurface image;
    const std::vector<std::uint8_t> old(4321, 0x5A);
    const std::wstring locked = folder.path() + L"locked.bmp";
    WriteFileBytes(locked, old);
    SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(codecs::SaveBitmapFile(image.surface.hDC(), kPictureWidth, kPictureHeight, locked),
              platform::FailureOf(ERROR_ACCESS_DENIED));
    EXPECT_EQ(ReadFileBytes(locked), old);

    // A file held open without sharing cannot be replaced either.
    const std::wstring open = folder.path() + L"open.bmp";
    WriteFileBytes(open, old);
    {
        platform::KernelHandle holder(
            CreateFileW(open.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        EXPECT_NE(codecs::SaveBitmapFile(image.surface.hDC(), kPictureWidth, kPictureHeight, open), S_OK);
    }
    EXPECT_EQ(ReadFileBytes(open), old);

    EXPECT_EQ(codecs::SaveBitmapFile(image.surface.hDC(), kPictureWidth, kPictureHeight,
                                       folder.path() + L"missing\\a.bmp"),
              platform::FailureOf(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(folder.FileNames().size(), 2u) << "a temporary file was left behind: "
                                             << testing::PrintToString(folder.FileNames());
}

// Stand-ins for ReplaceFileW failing after it took the old file away, as the
// system's can: the old file gone, or moved aside under another name, and
// once with a folder left in its place, where nothing can be moved.
BOOL WINAPI ReplaceDeletingTheOld(LPCWSTR replaced, LPCWSTR, LPCWSTR, DWORD, LPVOID, LPVOID) {
    DeleteFileW(replaced);
    SetLastError(ERROR_UNABLE_TO_MOVE_REPLACEMENT);
    return FALSE;
}
BOOL WINAPI ReplaceMovingTheOldAside(LPCWSTR replaced, LPCWSTR, LPCWSTR, DWORD, LPVOID, LPVOID) {
    MoveFileW(replaced, (std::wstring(replaced) + L".aside").c_str());
    SetLastError(ERROR_UNABLE_TO_MOVE_REPLACEMENT_2);
    return FALSE;
}
BOOL WINAPI ReplaceLeavingAFolder(LPCWSTR replaced, LPCWSTR, LPCWSTR, DWORD, LPVOID, LPVOID) {
    DeleteFileW(replaced);
    CreateDirectoryW(replaced, nullptr);
    SetLastError(ERROR_UNABLE_TO_MOVE_REPLACEMENT);
    return FALSE;
}

TEST(PictureFiles, AReplaceThatFailsAfterTakingTheOldFileAwayLosesNeitherPicture) {
    TempFolder folder;
    const std::vector<std::uint8_t> old(100, 0x01), fresh(200, 0x02);
    struct Attempt { DWORD error; std::wstring path, temporary; };
    auto attempt = [&](const wchar_t* name, platform::ReplaceFunction replace) {
        const std::wstring path = folder.path() + name, temporary = path + L".tmp";
        WriteFileBytes(path, old);
        WriteFileBytes(temporary, fresh);
        return Attempt{platform::PutInPlace(path, temporary, replace), path, temporary};
    };
    for (const Attempt& placed : {attempt(L"deleted.bmp", ReplaceDeletingTheOld),
                                  attempt(L"aside.bmp", ReplaceMovingTheOldAside)}) {
        EXPECT_EQ(placed.error, 0u) << testing::PrintToString(placed.path);
        EXPECT_EQ(ReadFileBytes(placed.path), fresh) << "the new picture is not in place";
        EXPECT_FALSE(Exists(placed.temporary));
    }
    const Attempt stuck = attempt(L"stuck.bmp", ReplaceLeavingAFolder);
    EXPECT_NE(stuck.error, 0u) << "a failure reported as success";
    EXPECT_EQ(ReadFileBytes(stuck.temporary), fresh) << "the last copy of the new picture was deleted";
    RemoveDirectoryW(stuck.path.c_str());
}

// A file held open for a moment without letting it be deleted or renamed,
// as a virus scanner holds a file just written or about to be replaced.
class HeldForAMoment {
public:
    HeldForAMoment(const std::wstring& path, DWORD ms)
        : file_(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                            nullptr)),
          letGo_([this, ms] {
              Sleep(ms);
              file_.reset();
          }) {}
    ~HeldForAMoment() { letGo_.join(); }
    bool held() const { return held_; }

private:
    platform::KernelHandle file_;
    bool held_ = static_cast<bool>(file_);
    std::thread letGo_;
};

TEST(PictureFiles, TheNewFileGoesInPlaceOnceAFileInUseForAMomentIsFree) {
    TempFolder folder;
    const std::vector<std::uint8_t> old(100, 0x01), fresh(200, 0x02);
    // The new file held (the usual case: a scanner looks at what was just
    // written) over an old one and where there is none, and the old one held.
    const struct { const wchar_t* name; bool oldThere, newHeld; } cases[] = {
        {L"new held over old.bmp", true, true}, {L"new held.bmp", false, true}, {L"old held.bmp", true, false}};
    for (const auto& held : cases) {
        const std::wstring path = folder.path() + held.name, temporary = path + L".tmp";
        if (held.oldThere) WriteFileBytes(path, old);
        WriteFileBytes(temporary, fresh);
        const HeldForAMoment holder(held.newHeld ? temporary : path, 300);
        ASSERT_TRUE(holder.held());
        EXPECT_EQ(platform::PutInPlace(path, temporary), 0u) << testing::PrintToString(path);
        EXPECT_EQ(ReadFileBytes(path), fresh) << testing::PrintToString(path);
        EXPECT_FALSE(Exists(temporary));
    }
}

// bmp2jpg.exe as shipped, started the way Tovik starts it.
struct ConverterRun {
    int code = -1;          // the shell's result
    DWORD exitCode = 9999;  // the converter's
};

ConverterRun RunConverter(const std::wstring& parameters) {
    ConverterRun run;
    auto started = platform::StartProgram(nullptr, DistFolder() + L"bmp2jpg.exe", parameters, DistFolder(), SW_HIDE);
    run.code = started.code;
    if (started.process && platform::WaitForProcess(started.process, 60000))
        GetExitCodeProcess(started.process.get(), &run.exitCode);
    return run;
}

// The converter run from a console window of its own, nothing redirected:
// what the console then shows.
std::wstring ConverterInConsole(const std::wstring& arguments) {
    FreeConsole();
    if (!AllocConsole()) return L"<no console>";
    platform::KernelHandle screen(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    CONSOLE_SCREEN_BUFFER_INFO info{};
    GetConsoleScreenBufferInfo(screen.get(), &info);
    RunProcess(L"\"" + DistFolder() + L"bmp2jpg.exe\" " + arguments);
    std::wstring text(static_cast<size_t>(info.dwSize.X) * info.dwSize.Y, L' ');
    DWORD got = 0;
    ReadConsoleOutputCharacterW(screen.get(), text.data(), static_cast<DWORD>(text.size()), COORD{0, 0}, &got);
    text.resize(got);
    return text;
}

// The converter run directly, its output captured: for the usage text.
std::string ConverterOutput(const std::wstring& arguments, DWORD& exitCode) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    platform::KernelHandle read, write;
    CreatePipe(read.put(), write.put(), &inherit, 0);
    SetHandleInformation(read.get(), HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = write.get();
    const StartedProcess converter = StartProcess(L"\"" + DistFolder() + L"bmp2jpg.exe\" " + arguments, L"", &si, true);
    write.reset();   // the converter's copy is the only writer: its end ends the reads
    std::string output;
    char buffer[4096];
    DWORD got = 0;
    while (converter && ReadFile(read.get(), buffer, sizeof buffer, &got, nullptr) && got) output.append(buffer, got);
    if (converter && WaitForSingleObject(converter.process.get(), 60000) == WAIT_OBJECT_0)
        GetExitCodeProcess(converter.process.get(), &exitCode);
    return output;
}

TEST(Converter, WritesTheBitmapAsJpegToAJapanesePathWithSpaces) {
    TempFolder folder;
    const GoodPictures good = WriteGoodPictures(folder.path());
    const std::wstring target = folder.path() + L"写真 フォルダ\\";
    ASSERT_TRUE(CreateDirectoryW(target.c_str(), nullptr));
    const std::wstring jpeg = target + L"ｽｸﾘｰﾝ ショット 1.jpg";

    const ConverterRun run = RunConverter(good.bmp + L" " + jpeg);
    EXPECT_GT(run.code, 32);
    ASSERT_EQ(run.exitCode, 0u);
    const auto bytes = ReadFileBytes(jpeg);
    ASSERT_GT(bytes.size(), 4u);
    EXPECT_TRUE(bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF) << "not a JPEG file";
    const auto picture = LoadPictureFile(jpeg, kBackground);
    ASSERT_TRUE(picture.ok());
    EXPECT_EQ(picture.width, kPictureWidth);
    EXPECT_EQ(picture.height, kPictureHeight);
    EXPECT_LT(MeanDifference(picture, PicturePatternAt), 10.0);

    // Quoted paths work too, and a second run replaces the file.
    const ConverterRun again = RunConverter(L"\"" + good.bmp + L"\" \"" + jpeg + L"\"");
    EXPECT_EQ(again.exitCode, 0u);
    EXPECT_EQ(FilesMatching(target + L"*").size(), 1u) << "a temporary file was left beside the JPEG";
    DeleteFileW(jpeg.c_str());
    RemoveDirectoryW(target.c_str());
}

// The good bitmap's rows stored top-down, the pattern at 32 bits per pixel,
// and the same with its colours in bit fields: the converter reads the
// first two itself, the third through the system's decoder.
std::vector<std::uint8_t> TopDownBitmap(std::vector<std::uint8_t> bmp) {
    const size_t stride = (kPictureWidth * 3 + 3) & ~3;
    for (int y = 0; y < kPictureHeight / 2; ++y)
        std::swap_ranges(bmp.begin() + 54 + y * stride, bmp.begin() + 54 + (y + 1) * stride,
                         bmp.begin() + 54 + (kPictureHeight - 1 - y) * stride);
    const std::int32_t height = -kPictureHeight;
    memcpy(&bmp[22], &height, 4);
    return bmp;
}

std::vector<std::uint8_t> Bitmap32(std::vector<std::uint8_t> bmp) {
    bmp.resize(54);
    const std::uint32_t size = 54 + 4 * kPictureWidth * kPictureHeight;
    memcpy(&bmp[2], &size, 4);
    bmp[28] = 32;
    for (int y = kPictureHeight - 1; y >= 0; --y)
        for (int x = 0; x < kPictureWidth; ++x) {
            const std::uint32_t c = PicturePatternAt(x, y);
            bmp.insert(bmp.end(), {std::uint8_t(c), std::uint8_t(c >> 8), std::uint8_t(c >> 16), 0});
        }
    return bmp;
}

std::vector<std::uint8_t> BitFieldsBitmap(std::vector<std::uint8_t> bmp) {
    constexpr std::uint32_t kMasks[] = {0x00FF0000, 0x0000FF00, 0x000000FF};   // red, green, blue
    const std::uint32_t size = static_cast<std::uint32_t>(bmp.size() + sizeof kMasks), offset = 54 + sizeof kMasks;
    const std::uint32_t compression = 3;   // BI_BITFIELDS
    memcpy(&bmp[2], &size, 4);
    memcpy(&bmp[10], &offset, 4);
    memcpy(&bmp[30], &compression, 4);
    const auto* masks = reinterpret_cast<const std::uint8_t*>(kMasks);
    bmp.insert(bmp.begin() + 54, masks, masks + sizeof kMasks);
    return bmp;
}

TEST(Converter, JpegShowsTheBitmapUprightInItsOwnColours) {
    TempFolder folder;
    const GoodPictures good = WriteGoodPictures(folder.path());
    const std::wstring topDown = folder.path() + L"top-down.bmp", deep = folder.path() + L"32-bit.bmp",
                       fields = folder.path() + L"bit-fields.bmp";
    ASSERT_TRUE(WriteFileBytes(topDown, TopDownBitmap(ReadFileBytes(good.bmp))));
    ASSERT_TRUE(WriteFileBytes(deep, Bitmap32(ReadFileBytes(good.bmp))));
    ASSERT_TRUE(WriteFileBytes(fields, BitFieldsBitmap(Bitmap32(ReadFileBytes(good.bmp)))));
    for (const std::wstring& bmp : {good.bmp, topDown, deep, fields}) {
        const std::wstring jpeg = bmp + L".jpg";
        ASSERT_EQ(RunConverter(bmp + L" " + jpeg).exitCode, 0u) << testing::PrintToString(bmp);
        const auto picture = LoadPictureFile(jpeg, kBackground);
        ASSERT_TRUE(picture.ok());
        ASSERT_EQ(picture.width, kPictureWidth);
        ASSERT_EQ(picture.height, kPictureHeight);
        // A flipped picture, swapped colours or a shift by one pixel each
        // put at least one channel's mean difference above 8.
        for (int shift : {0, 8, 16}) {
            double sum = 0;
            for (int y = 0; y < kPictureHeight; ++y)
                for (int x = 0; x < kPictureWidth; ++x)
                    sum += std::abs(Channel(PixelOf(picture, x, y), shift) - Channel(PicturePatternAt(x, y), shift));
            EXPECT_LT(sum / (kPictureWidth * kPictureHeight), 8.0) << "channel " << shift << " of "
                                                                   << testing::PrintToString(bmp);
        }
    }
}

TEST(Converter, EachFailureHasItsExitCodeAndKeepsAnExistingJpeg) {
    TempFolder folder;
    const GoodPictures good = WriteGoodPictures(folder.path());
    const std::vector<std::uint8_t> old = {0xFF, 0xD8, 0xFF, 0xE0, 'o', 'l', 'd'};
    const std::wstring jpeg = folder.path() + L"kept.jpg";
    WriteFileBytes(jpeg, old);
    const std::wstring cut = folder.path() + L"cut.bmp";
    auto bmp = ReadFileBytes(good.bmp);
    bmp.resize(bmp.size() / 2);
    WriteFileBytes(cut, bmp);

    EXPECT_EQ(RunConverter(L"").exitCode, 1u);
    EXPECT_EQ(RunConverter(good.bmp).exitCode, 1u);
    EXPECT_EQ(RunConverter(folder.path() + L"none.bmp " + jpeg).exitCode, 2u);
    EXPECT_EQ(RunConverter(good.png + L" " + jpeg).exitCode, 2u) << "a PNG is not a bitmap";
    EXPECT_EQ(RunConverter(cut + L" " + jpeg).exitCode, 2u);
    EXPECT_EQ(RunConverter(good.bmp + L" " + folder.path() + L"missing\\a.jpg").exitCode, 3u);
    SetFileAttributesW(jpeg.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(RunConverter(good.bmp + L" " + jpeg).exitCode, 3u);
    EXPECT_EQ(ReadFileBytes(jpeg), old);

    DWORD exitCode = 9999;
    const std::string usage = ConverterOutput(L"/?", exitCode);
    EXPECT_EQ(exitCode, 0u);
    EXPECT_NE(usage.find("bmp2jpg.exe SOURCE DESTINATION"), std::string::npos) << usage;
    EXPECT_NE(usage.find("3  the destination cannot be written"), std::string::npos) << usage;
    EXPECT_EQ(ConverterOutput(L"", exitCode), "");
    EXPECT_EQ(exitCode, 1u);
    const std::wstring shown = ConverterInConsole(L"/?");
    EXPECT_NE(shown.find(L"bmp2jpg.exe SOURCE DESTINATION"), std::wstring::npos) << "nothing in the console window";

    // A converter that is not there: the shell's file-not-found code, no process.
    auto missing = platform::StartProgram(nullptr, folder.path() + L"bmp2jpg.exe", L"a b", folder.path(), SW_HIDE);
    EXPECT_EQ(missing.code, SE_ERR_FNF);
    EXPECT_FALSE(missing.process);
}

}  // namespace
