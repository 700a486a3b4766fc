// Picture files for the tests: good pictures with a known pattern in each
// format the program opens, and a corpus of damaged ones, written into a
// temporary folder that goes away with its owner.
#pragma once
#include "platform/owners/Win32.h"

#include "support/Driver.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tovik_test {

// A new, empty folder under the system's temporary folder, removed with
// everything in it when the owner ends. `name` may hold any characters.
class TempFolder {
public:
    explicit TempFolder(const std::wstring& name = L"tovik-pictures");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    // With a trailing backslash.
    const std::wstring& path() const { return path_; }
    // The names of the files in it (no folders).
    std::vector<std::wstring> FileNames() const;

private:
    std::wstring path_;
};

// A 1 MB disk that fills up: a tmpfs mounted over a new folder (the tests
// run as root), unmounted and removed with its owner. ready() is false when
// it could not be mounted.
class SmallDisk {
public:
    SmallDisk();
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    bool ready() const { return ready_; }
    // With a trailing backslash.
    const std::wstring& path() const { return path_; }
    // Fills what is left of the disk with one file.
    void Fill();

private:
    std::string unixPath_;
    std::wstring path_;
    bool ready_ = false;
};

// The good pictures' size: odd, so BMP rows need padding.
inline constexpr int kPictureWidth = 61;
inline constexpr int kPictureHeight = 37;

// 0x00RRGGBB of the good pictures at (x, y). GIF holds 256 colours at most,
// so it has its own pattern drawn from a palette.
std::uint32_t PicturePatternAt(int x, int y);
std::uint32_t GifPatternAt(int x, int y);
// The partly transparent PNG: its straight-alpha colour 0xAARRGGBB at (x, y).
std::uint32_t AlphaPatternAt(int x, int y);

struct GoodPictures {
    std::wstring bmp, gif, jpg, png;  // PicturePatternAt (GifPatternAt for the GIF)
    std::wstring alphaPng;            // AlphaPatternAt
    std::wstring bmp32;               // PicturePatternAt, 32 bits a pixel, top-down
    std::wstring gifOnCanvas;         // the GIF's frame at kGifLeft, kGifTop of a larger logical screen
    std::wstring gifTransparent;      // the same with kGifBackgroundIndex transparent
};
inline constexpr int kGifCanvasWidth = kPictureWidth + 20, kGifCanvasHeight = kPictureHeight + 10;
inline constexpr int kGifLeft = 7, kGifTop = 4;
inline constexpr int kGifBackgroundIndex = 5;   // of the global colour table
std::uint32_t GifPaletteColour(int index);
int GifIndexAt(int x, int y);
// Writes the good pictures into `folder` (with its trailing backslash): the
// BMP by hand, the others through the system's encoders.
GoodPictures WriteGoodPictures(const std::wstring& folder);

// Writes at least 30 damaged pictures into `folder`, made from the good ones:
// truncated at many offsets, wrong sizes in headers, zero and negative
// sizes, huge claimed sizes in tiny files, wrong signatures, bad chunks and
// blocks. Each must be refused by any sound loader. Returns their paths.
std::vector<std::wstring> WriteDamagedPictures(const std::wstring& folder);

// The pixels of a picture file as the program's own loader reads it, or
// nothing when it cannot.
std::optional<Pixels> ReadPictureFile(const std::wstring& path);

// Whole-file helpers.
std::vector<std::uint8_t> ReadFileBytes(const std::wstring& path);
bool WriteFileBytes(const std::wstring& path, const std::vector<std::uint8_t>& bytes);

}  // namespace tovik_test
