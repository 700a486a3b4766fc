// Open, Save As and the recent files in the real Tovik.exe, through its real
// dialogs: what the user gets on disk, on the clipboard and in the settings.
#include "support/Dialogs.h"
#include "support/Driver.h"
#include "support/MessageBoxes.h"
#include "support/Pictures.h"

#include "resources/resource.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using namespace tovik_test;

constexpr wchar_t kOpenCaption[] = L"開く";
constexpr wchar_t kSaveCaption[] = L"名前を付けて保存";

std::wstring Stored(const wchar_t* section, const wchar_t* key) {
    return ReadSetting(section, key).value_or(L"<absent>");
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Pixels that differ from `expected` at (x, y) by more than `tolerance` in any channel.
int Mismatches(const Pixels& got, std::uint32_t (*expected)(int, int), int tolerance = 0) {
    int wrong = 0;
    for (int y = 0; y < got.height; ++y)
        for (int x = 0; x < got.width; ++x)
            for (int shift : {0, 8, 16})
                if (std::abs(static_cast<int>((got.At(x, y) >> shift) & 0xFF) -
                             static_cast<int>((expected(x, y) >> shift) & 0xFF)) > tolerance) {
                    ++wrong;
                    break;
                }
    return wrong;
}

class FileCommands : public ::testing::Test {
protected:
    void SetUp() override { ClearSettings(); }
    void TearDown() override {
        tovik_.CloseAndWait();
        ClearSettings();
    }

    HWND Main() const { return tovik_.MainWindow(); }

    // Waits until the command that last ran has ended: no dialog or message
    // box of the program is up and it answers messages.
    void Settle() {
        for (int round = 0; round < 2; ++round) {
            EXPECT_TRUE(WaitUntil([&] { return !FindAnyDialog(tovik_.ProcessId()); }, 20000));
            SendMessageTimeoutW(Main(), WM_NULL, 0, 0, SMTO_NORMAL, 20000, nullptr);
        }
    }
    // Runs Open or Save As and chooses the path in its dialog.
    void Choose(int command, const wchar_t* caption, const std::wstring& path) {
        tovik_.Command(command);
        HWND dialog = WaitForDialog(tovik_.ProcessId(), caption);
        ASSERT_TRUE(dialog) << "no dialog " << testing::PrintToString(std::wstring(caption));
        ChooseFile(dialog, path);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
        Settle();
    }
    void Open(const std::wstring& path) { Choose(ID_mnuOpen, kOpenCaption, path); }
    void SaveAs(const std::wstring& path) { Choose(ID_mnuSaveAs, kSaveCaption, path); }
    void Run(int command) {
        DWORD_PTR result = 0;
        ASSERT_TRUE(SendMessageTimeoutW(Main(), WM_COMMAND, command, 0, SMTO_NORMAL, 20000, &result));
    }

    TovikProcess tovik_;
};

TEST_F(FileCommands, SaveWritesTheCaptureAsBmpOrThroughTheConverterAsJpegAndTheFolderIsRemembered) {
    TempFolder temp(L"tovik 保存");
    const std::wstring folder = temp.path() + L"キャプチャ 写真\\";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    PatternWindow pattern(400, 300, 300, 200);   // away from the main window, which a desktop capture hides
    ASSERT_TRUE(pattern.WaitUntilOnScreen());
    ASSERT_TRUE(tovik_.Start());
    Run(ID_mnuDesktop);
    const auto captured = ReadClipboardBitmap();
    ASSERT_TRUE(captured);

    SaveAs(folder + L"shot.bmp");
    const auto bmp = ReadPictureFile(folder + L"shot.bmp");
    ASSERT_TRUE(bmp) << "no readable BMP";
    EXPECT_EQ(bmp->width, captured->width);
    EXPECT_EQ(bmp->height, captured->height);
    EXPECT_TRUE(bmp->data == captured->data) << "the BMP is not the capture, pixel for pixel";
    const int patternX = 450, patternY = 350;   // inside the pattern window, on the screen
    EXPECT_EQ(captured->At(patternX, patternY), PatternWindow::PatternAt(50, 50));

    // Two JPEG saves in quick succession, of two different pictures: the
    // second must not overwrite temp.bmp before the first converter read it.
    SaveAs(folder + L"a.JPG");
    Run(ID_mnuClear);
    SaveAs(folder + L"b.jpg");
    std::optional<Pixels> a, b;
    ASSERT_TRUE(WaitUntil([&] { return (a = ReadPictureFile(folder + L"a.JPG")) && (b = ReadPictureFile(folder + L"b.jpg")); }))
        << "the converter wrote no JPEG";
    EXPECT_EQ(a->width, captured->width);
    EXPECT_EQ(b->height, captured->height);
    EXPECT_NE(a->At(patternX, patternY) & 0xF0F0F0, 0x808080u) << "the first JPEG lost its picture";
    EXPECT_EQ(Mismatches(*b, [](int, int) -> std::uint32_t { return 0x808080; }, 4), 0) << "the cleared picture";
    EXPECT_FALSE(Exists(folder + L"shot.jpg"));

    ASSERT_TRUE(tovik_.CloseAndWait());
    EXPECT_EQ(Stored(L"Startup", L"InitDir"), folder);
    EXPECT_FALSE(Exists(DistFolder() + L"temp.bmp")) << "the temporary bitmap outlives the program";
}

TEST_F(FileCommands, OpenedPicturesReachTheImageAndTheClipboardAndTheRecentListSurvivesARestart) {
    TempFolder temp(L"tovik 開く 画像");
    const GoodPictures good = WriteGoodPictures(temp.path());
    ASSERT_TRUE(tovik_.Start());
    const struct { std::wstring path; std::uint32_t (*pattern)(int, int); int tolerance; } pictures[] = {
        {good.bmp, PicturePatternAt, 0}, {good.gif, GifPatternAt, 0}, {good.png, PicturePatternAt, 0},
        {good.jpg, PicturePatternAt, 48}, {good.png, PicturePatternAt, 0}};   // the PNG again: listed once
    for (const auto& picture : pictures) {
        PutMarkerOnClipboard();
        Open(picture.path);
        const auto clip = ReadClipboardBitmap();
        ASSERT_TRUE(clip);
        ASSERT_EQ(clip->width, kPictureWidth) << testing::PrintToString(picture.path);
        ASSERT_EQ(clip->height, kPictureHeight);
        // JPEG is lossy: most pixels near the pattern is the picture; a wrong one misses nearly all.
        EXPECT_LE(Mismatches(*clip, picture.pattern, picture.tolerance), picture.tolerance ? clip->width * clip->height / 10 : 0)
            << testing::PrintToString(picture.path);
    }
    Open(good.alphaPng);
    ASSERT_TRUE(tovik_.CloseAndWait());
    EXPECT_EQ(Stored(L"Startup", L"MRU  1"), good.gif);
    EXPECT_EQ(Stored(L"Startup", L"MRU  2"), good.png);
    EXPECT_EQ(Stored(L"Startup", L"MRU  3"), good.jpg);
    EXPECT_EQ(Stored(L"Startup", L"MRU  4"), good.alphaPng);
    EXPECT_EQ(Stored(L"Startup", L"InitDir"), temp.path());

    // Without the clipboard option, the first recent entry (the GIF) is loaded
    // into the image and the clipboard keeps what it held.
    WriteSetting(L"Startup", L"TransClipboard", L"0");
    ASSERT_TRUE(tovik_.Start());
    PutMarkerOnClipboard();
    Run(ID_mnuFileArray + 1);
    Settle();
    const auto marker = ReadClipboardBitmap();
    ASSERT_TRUE(marker);
    EXPECT_TRUE(marker->width == 3 && marker->height == 2) << "the clipboard was replaced";
    SaveAs(temp.path() + L"back.bmp");
    const auto back = ReadPictureFile(temp.path() + L"back.bmp");
    ASSERT_TRUE(back);
    EXPECT_EQ(back->width, kPictureWidth);
    EXPECT_EQ(Mismatches(*back, GifPatternAt), 0) << "the image is not the GIF";
}

TEST_F(FileCommands, DamagedOrMissingPicturesEachGiveOneErrorAndChangeNothing) {
    TempFolder temp(L"tovik 壊れた画像");
    const GoodPictures good = WriteGoodPictures(temp.path());
    const std::vector<std::wstring> damaged = WriteDamagedPictures(temp.path() + L"");
    ASSERT_GE(damaged.size(), 30u);
    ASSERT_TRUE(tovik_.Start());
    Open(good.bmp);
    PutMarkerOnClipboard();
    const MessageBoxes boxes(tovik_.ProcessId());
    size_t expected = 0;
    for (const auto& path : damaged) {
        Open(path);
        ++expected;
        ASSERT_EQ(boxes.Seen().size(), expected) << testing::PrintToString(path);
        EXPECT_EQ(boxes.Seen().back().title, L"Error");
        ASSERT_TRUE(tovik_.IsRunning()) << testing::PrintToString(path);
    }
    Open(temp.path() + L"ない.bmp");
    ASSERT_EQ(boxes.Seen().size(), expected + 1);
    const auto marker = ReadClipboardBitmap();
    ASSERT_TRUE(marker);
    EXPECT_TRUE(marker->width == 3 && marker->height == 2) << "the clipboard was replaced";
    SaveAs(temp.path() + L"still.bmp");
    const auto still = ReadPictureFile(temp.path() + L"still.bmp");
    ASSERT_TRUE(still);
    EXPECT_EQ(Mismatches(*still, PicturePatternAt), 0) << "the image changed";
    ASSERT_TRUE(tovik_.CloseAndWait());
    EXPECT_EQ(Stored(L"Startup", L"MRU  1"), good.bmp);
    EXPECT_EQ(Stored(L"Startup", L"MRU  2"), L"<absent>");
}

// A JPEG save where the converter is missing says so in its own words and
// keeps the temporary bitmap; one whose temporary bitmap cannot be written
// gives one "Error" and leaves the dialogs' folder where it was.
TEST_F(FileCommands, JpegSaveWithoutTheConverterOrWithAnUnwritableTemporaryBitmapIsReported) {
    TempFolder program(L"tovik 変換なし");
    ASSERT_TRUE(CopyFileW((DistFolder() + L"Tovik.exe").c_str(), (program.path() + L"Tovik.exe").c_str(), FALSE));
    TempFolder out(L"tovik 出力");
    const std::wstring other = out.path() + L"別\\";
    ASSERT_TRUE(CreateDirectoryW(other.c_str(), nullptr));
    ASSERT_TRUE(tovik_.Start(program.path() + L"Tovik.exe"));
    Run(ID_mnuDesktop);
    const MessageBoxes boxes(tovik_.ProcessId());

    SaveAs(out.path() + L"x.jpg");
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].title, L"ｴﾗｰ");
    EXPECT_EQ(boxes.Seen()[0].text, L"The specified file was not found.");
    const std::wstring bitmap = program.path() + L"temp.bmp";
    EXPECT_TRUE(Exists(bitmap));

    ASSERT_TRUE(SetFileAttributesW(bitmap.c_str(), FILE_ATTRIBUTE_READONLY));
    SaveAs(other + L"y.jpg");
    ASSERT_EQ(boxes.Seen().size(), 2u);
    EXPECT_EQ(boxes.Seen()[1].title, L"Error");
    ASSERT_TRUE(tovik_.CloseAndWait());
    EXPECT_EQ(Stored(L"Startup", L"InitDir"), out.path()) << "a failed save moved the dialogs' folder";
    SetFileAttributesW(bitmap.c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
