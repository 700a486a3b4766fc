// The commands of the real Tovik.exe, from its menu, shortcuts and toolbar:
// files through its real dialogs, printing, the editor, the simple ones.
// Checked where the user sees them: on disk, the clipboard, the printer, the
// settings.
#include "support/CommandRecorder.h"
#include "support/Dialogs.h"
#include "support/Driver.h"
#include "support/MessageBoxes.h"
#include "support/Mouse.h"
#include "support/Pictures.h"
#include "support/PrintedPdf.h"
#include "support/Programs.h"
#include "support/RealProgram.h"
#include "support/Windows.h"

#include "resources/resource.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <dlgs.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

namespace {

using namespace tovik_test;

constexpr wchar_t kOpenCaption[] = L"開く";
constexpr wchar_t kSaveCaption[] = L"名前を付けて保存";

class Commands : public RealProgram {
protected:
    // Waits until the command that last ran has ended: no dialog or message
    // box of the program is up and it answers messages.
    void Settle() {
        for (int round = 0; round < 2; ++round) {
            EXPECT_TRUE(WaitUntil([&] { return !FindAnyDialog(tovik_.ProcessId()); }, 20000));
            SendMessageTimeoutW(Main(), WM_NULL, 0, 0, SMTO_NORMAL, 20000, nullptr);
        }
    }
    // Runs Open or Save As and chooses the path in its dialog, after the
    // file type (1-based) when one is given.
    void Choose(int command, const wchar_t* caption, const std::wstring& path, int type = 0) {
        HWND dialog = OpenDialog(command, caption);
        ASSERT_TRUE(dialog) << "no dialog " << testing::PrintToString(std::wstring(caption));
        shownType_ = SelectedFileType(dialog);
        if (type) PickFileType(dialog, type);
        ChooseFile(dialog, path);
        ASSERT_TRUE(WaitClosed(dialog));
        Settle();
    }
    // The question a save dialog asks before it replaces a file; nullptr if none comes.
    HWND WaitForReplaceQuestion(HWND dialog) {
        HWND question = nullptr;
        WaitUntil([&] {
            return (question = FindShownWindowOf(tovik_.ProcessId(), kDialogClass, [&](HWND box) {
                        return box != dialog && GetDlgItem(box, kMessageTextId) && TextOf(box) == kSaveCaption;
                    })) != nullptr;
        });
        return question;
    }
    void Open(const std::wstring& path) { Choose(ID_mnuOpen, kOpenCaption, path); }
    void SaveAs(const std::wstring& path) { Choose(ID_mnuSaveAs, kSaveCaption, path); }
    void Run(int command) { ASSERT_TRUE(tovik_.CommandAndWait(command)); }
    // The toolbar button's click, as the toolbar reports it to the main window.
    void Click(int button) {
        HWND toolbar = FindChild(Main(), TOOLBARCLASSNAMEW);
        PostMessageW(Main(), WM_COMMAND, MAKEWPARAM(ID_Toolbar1 + button, BN_CLICKED), reinterpret_cast<LPARAM>(toolbar));
    }
    bool Hidden() const { return !IsWindowVisible(Main()); }

    int shownType_ = 0;   // the file type the last dialog of Choose selected at first (1-based)
};

TEST_F(Commands, SaveWritesTheCaptureAsBmpOrThroughTheConverterAsJpegAndTheFolderIsRemembered) {
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

    // ".png" in any case is PNG, pixel-exact; a name merely holding it is BMP.
    for (const std::wstring& name : {folder + L"shot.png", temp.path() + L"SHOT.PNG", folder + L"shot.png.bmp",
                                     folder + L"png"}) {
        SaveAs(name);
        const auto bytes = ReadFileBytes(name);
        const bool png = _wcsicmp(name.c_str() + name.size() - 4, L".png") == 0;
        ASSERT_GE(bytes.size(), 8u) << testing::PrintToString(name);
        EXPECT_EQ(bytes[0], png ? 0x89 : 'B') << testing::PrintToString(name);
        EXPECT_EQ(bytes[1], png ? 'P' : 'M') << testing::PrintToString(name);
        const auto read = ReadPictureFile(name);
        ASSERT_TRUE(read) << testing::PrintToString(name);
        EXPECT_TRUE(read->width == captured->width && read->data == captured->data)
            << testing::PrintToString(name) << " is not the capture, pixel for pixel";
    }

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
    EXPECT_EQ(Mismatches(*b, Solid(0x808080), 4), 0) << "the cleared picture";
    EXPECT_FALSE(Exists(folder + L"shot.jpg"));

    ASSERT_TRUE(tovik_.CloseAndWait());
    EXPECT_EQ(Stored(L"Startup", L"InitDir"), folder);
    EXPECT_FALSE(Exists(DistFolder() + L"temp.bmp")) << "the temporary bitmap outlives the program";
}

// Replacing a picture on a disk too full for the PNG: one "Error", and the
// old picture is still there, whole.
TEST_F(Commands, PngSaveOntoAFullDiskKeepsTheOldPicture) {
    SmallDisk disk;
    ASSERT_TRUE(disk.ready()) << "no small disk could be mounted";
    const std::wstring old = disk.path() + L"old.png";
    const std::vector<std::uint8_t> oldBytes(20000, 0x42);
    ASSERT_TRUE(WriteFileBytes(old, oldBytes));
    disk.Fill();
    ASSERT_TRUE(tovik_.Start());
    Run(ID_mnuDesktop);

    HWND dialog = OpenDialog(ID_mnuSaveAs, kSaveCaption);
    ASSERT_TRUE(dialog);
    // The file types offered: PNG after the bitmap and JPEG entries.
    HWND types = GetDlgItem(dialog, cmb1);
    ASSERT_EQ(SendMessageW(types, CB_GETCOUNT, 0, 0), 3);
    wchar_t type[64] = {};
    SendMessageW(types, CB_GETLBTEXT, 2, reinterpret_cast<LPARAM>(type));
    EXPECT_EQ(std::wstring(type), L"PNG(*.png)");
    ChooseFile(dialog, old);
    // The dialog asks before it replaces the file: yes.
    HWND question = WaitForReplaceQuestion(dialog);
    ASSERT_TRUE(question) << "no question before replacing the file";
    PostMessageW(question, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
    ASSERT_TRUE(WaitClosed(question));
    const MessageBoxes boxes(tovik_.ProcessId());
    ASSERT_TRUE(boxes.WaitForCount(1, 20000));
    EXPECT_EQ(boxes.Seen()[0].title, L"Error") << testing::PrintToString(boxes.Seen()[0].text);
    Settle();
    EXPECT_EQ(ReadFileBytes(old), oldBytes);
    EXPECT_TRUE(FilesMatching(disk.path() + L"tvk*").empty()) << "a temporary file was left behind";
}

// Holds files open for a moment through the helper file_holder.exe, the
// way a virus scanner, the indexer or a sync client opens a file that was
// just written or is about to be replaced: each file for its milliseconds,
// all from the moment the holder exists.
using Holds = std::vector<std::pair<int, std::wstring>>;
std::wstring FileHolderArguments(const Holds& holds) {
    std::wstring arguments;
    for (const auto& [ms, file] : holds) arguments += std::to_wstring(ms) + L" \"" + file + L"\" ";
    return arguments;
}

// A file another program holds open for a moment without letting it be
// replaced is waited for, in the BMP, PNG and JPEG saves alike (the
// converter's too): the save succeeds and nothing is said.
TEST_F(Commands, SavesWaitForAFileAnotherProgramHoldsForAMoment) {
    TempFolder out(L"tovik 使用中");
    ASSERT_TRUE(tovik_.Start());
    Run(ID_mnuDesktop);
    const auto captured = ReadClipboardBitmap();
    ASSERT_TRUE(captured);
    SaveAs(out.path() + L"first.jpg");   // leaves temp.bmp beside the program, for the next JPEG save to replace
    const std::wstring bitmap = DistFolder() + L"temp.bmp";
    ASSERT_TRUE(Exists(bitmap));
    for (const std::wstring name : {L"held.bmp", L"held.png", L"held.jpg"}) {
        SCOPED_TRACE(testing::PrintToString(name));
        const std::wstring path = out.path() + name;
        ASSERT_TRUE(WriteFileBytes(path, std::vector<std::uint8_t>(100, 0x42)));
        HWND dialog = OpenDialog(ID_mnuSaveAs, kSaveCaption);
        ASSERT_TRUE(dialog);
        ChooseFile(dialog, path);
        HWND question = WaitForReplaceQuestion(dialog);
        ASSERT_TRUE(question) << "no question before replacing the file";
        const bool jpeg = name.ends_with(L".jpg");
        // The JPEG's temp.bmp for a moment, its destination long enough for
        // the converter to meet it too.
        const HelperProgram holder(L"file_holder.exe",
                                   FileHolderArguments(jpeg ? Holds{{400, bitmap}, {1200, path}} : Holds{{600, path}}),
                                   L"TovikTestFilesHeld");
        ASSERT_TRUE(holder.ready());
        PostMessageW(question, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
        ASSERT_TRUE(WaitClosed(question));
        const MessageBoxes boxes(tovik_.ProcessId());   // the boxes after the question
        Settle();
        EXPECT_TRUE(boxes.Seen().empty()) << testing::PrintToString(boxes.Seen().empty() ? L"" : boxes.Seen()[0].text);
        const auto saved = ReadPictureFile(path);
        ASSERT_TRUE(saved) << "the held file was not replaced";
        EXPECT_EQ(saved->width, captured->width);
        EXPECT_EQ(saved->height, captured->height);
        EXPECT_TRUE(jpeg || saved->data == captured->data) << "not the capture, pixel for pixel";
    }
    EXPECT_EQ(out.FileNames().size(), 4u) << "a temporary file was left behind: " << testing::PrintToString(out.FileNames());
}

TEST_F(Commands, OpenedPicturesReachTheImageAndTheClipboardAndTheRecentListSurvivesARestart) {
    TempFolder temp(L"tovik 開く 画像");
    const GoodPictures good = WriteGoodPictures(temp.path());
    ASSERT_TRUE(tovik_.Start());
    // The GIF is chosen with the GIF file type, which the dialog selects
    // again from then on.
    constexpr int kGifType = 2;
    const struct { std::wstring path; std::uint32_t (*pattern)(int, int); int tolerance; int type; } pictures[] = {
        {good.bmp, PicturePatternAt, 0, 0}, {good.gif, GifPatternAt, 0, kGifType}, {good.png, PicturePatternAt, 0, 0},
        {good.jpg, PicturePatternAt, 48, 0}, {good.png, PicturePatternAt, 0, 0}};   // the PNG again: listed once
    for (const auto& picture : pictures) {
        PutMarkerOnClipboard();
        const bool afterTheGif = &picture > &pictures[1];
        Choose(ID_mnuOpen, kOpenCaption, picture.path, picture.type);
        EXPECT_EQ(shownType_, afterTheGif ? kGifType : 1) << "the file type chosen last is not selected";
        const auto clip = ReadClipboardBitmap();
        ASSERT_TRUE(clip);
        ASSERT_EQ(clip->width, kPictureWidth) << testing::PrintToString(picture.path);
        ASSERT_EQ(clip->height, kPictureHeight);
        // JPEG is lossy: most pixels near the pattern is the picture; a wrong one misses nearly all.
        EXPECT_LE(Mismatches(*clip, picture.pattern, picture.tolerance), picture.tolerance ? clip->width * clip->height / 10 : 0)
            << testing::PrintToString(picture.path);
    }
    Open(good.alphaPng);
    // The save dialog keeps a file type of its own: the GIF type is another one there.
    SaveAs(temp.path() + L"saved.bmp");
    EXPECT_EQ(shownType_, 1) << "the save dialog took the open dialog's file type";
    ASSERT_TRUE(tovik_.CloseAndWait());
    ExpectStored({{L"Startup", L"MRU  1", good.gif}, {L"Startup", L"MRU  2", good.png},
                  {L"Startup", L"MRU  3", good.jpg}, {L"Startup", L"MRU  4", good.alphaPng},
                  {L"Startup", L"InitDir", temp.path()}});

    // Without the clipboard option, the first recent entry (the GIF) is loaded
    // into the image and the clipboard keeps what it held.
    WriteSetting(L"Startup", L"TransClipboard", L"0");
    ASSERT_TRUE(tovik_.Start());
    PutMarkerOnClipboard();
    Run(ID_mnuFileArray + 1);
    Settle();
    EXPECT_TRUE(MarkerOnClipboard()) << "the clipboard was replaced";
    SaveAs(temp.path() + L"back.bmp");
    const auto back = ReadPictureFile(temp.path() + L"back.bmp");
    ASSERT_TRUE(back);
    EXPECT_EQ(back->width, kPictureWidth);
    EXPECT_EQ(Mismatches(*back, GifPatternAt), 0) << "the image is not the GIF";
}

TEST_F(Commands, DamagedOrMissingPicturesEachGiveOneErrorAndChangeNothing) {
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
    EXPECT_TRUE(MarkerOnClipboard()) << "the clipboard was replaced";
    SaveAs(temp.path() + L"still.bmp");
    const auto still = ReadPictureFile(temp.path() + L"still.bmp");
    ASSERT_TRUE(still);
    EXPECT_EQ(Mismatches(*still, PicturePatternAt), 0) << "the image changed";
    ASSERT_TRUE(tovik_.CloseAndWait());
    EXPECT_EQ(Stored(L"Startup", L"MRU  1"), good.bmp);
    EXPECT_EQ(Stored(L"Startup", L"MRU  2"), L"<absent>");
}

// A copy of the program in a folder of its own, with what a test puts beside it.
class ProgramCopy {
public:
    explicit ProgramCopy(const std::wstring& name) : folder_(name) {
        copied_ = CopyFileW((DistFolder() + L"Tovik.exe").c_str(), Exe().c_str(), FALSE);
    }
    bool ready() const { return copied_; }
    std::wstring Exe() const { return File(L"Tovik.exe"); }
    std::wstring File(const std::wstring& name) const { return folder_.path() + name; }
    // Puts a copy of `from` beside the program as `name`.
    bool Put(const std::wstring& from, const std::wstring& name) const {
        return CopyFileW(from.c_str(), File(name).c_str(), FALSE);
    }

private:
    TempFolder folder_;
    bool copied_ = false;
};

// A JPEG save where the converter is missing says so in its own words and
// keeps the temporary bitmap; one whose temporary bitmap cannot be written
// gives one "Error" and leaves the dialogs' folder where it was.
TEST_F(Commands, JpegSaveWithoutTheConverterOrWithAnUnwritableTemporaryBitmapIsReported) {
    const ProgramCopy program(L"tovik 変換なし");
    ASSERT_TRUE(program.ready());
    TempFolder out(L"tovik 出力");
    const std::wstring other = out.path() + L"別\\";
    ASSERT_TRUE(CreateDirectoryW(other.c_str(), nullptr));
    ASSERT_TRUE(tovik_.Start(program.Exe()));
    Run(ID_mnuDesktop);
    const MessageBoxes boxes(tovik_.ProcessId());

    SaveAs(out.path() + L"x.jpg");
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0], (SeenMessage{L"ｴﾗｰ", L"The specified file was not found."}));
    const std::wstring bitmap = program.File(L"temp.bmp");
    EXPECT_TRUE(Exists(bitmap));

    ASSERT_TRUE(SetFileAttributesW(bitmap.c_str(), FILE_ATTRIBUTE_READONLY));
    SaveAs(other + L"y.jpg");
    ASSERT_EQ(boxes.Seen().size(), 2u);
    EXPECT_EQ(boxes.Seen()[1].title, L"Error");
    ASSERT_TRUE(tovik_.CloseAndWait());
    EXPECT_EQ(Stored(L"Startup", L"InitDir"), out.path()) << "a failed save moved the dialogs' folder";
    SetFileAttributesW(bitmap.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// A copy of the program whose converter is the stand-in: it answers with
// the exit code and after the delay the test gives it.
class StandInProgram : public ProgramCopy {
public:
    StandInProgram() : ProgramCopy(L"tovik 代わり") {
        withStandIn_ = ProgramCopy::ready() && Put(TestFolder() + L"converter_stand_in.exe", L"bmp2jpg.exe");
    }
    bool ready() const { return withStandIn_; }
    std::wstring Bitmap() const { return File(L"temp.bmp"); }
    void Answer(int exitCode, int delayMs) const {
        const std::string text = std::to_string(exitCode) + " " + std::to_string(delayMs);
        WriteFileBytes(File(L"stand-in.txt"), {text.begin(), text.end()});
    }

private:
    bool withStandIn_ = false;
};

// A converter that fails is reported by its exit code, in one message each.
TEST_F(Commands, JpegSaveReportsWhyTheConverterCouldNotWriteTheJpeg) {
    const StandInProgram program;
    ASSERT_TRUE(program.ready());
    TempFolder out(L"tovik 変換失敗");
    ASSERT_TRUE(tovik_.Start(program.Exe()));
    Run(ID_mnuDesktop);
    const MessageBoxes boxes(tovik_.ProcessId());
    const wchar_t* texts[] = {
        L"JPEG ファイルを保存できませんでした。変換プログラムへの指定が正しくありません。",
        L"JPEG ファイルを保存できませんでした。一時ファイルのビットマップを読み込めません。",
        L"JPEG ファイルを保存できませんでした。保存先に書き込めません (書き込みが禁止されているか、ディスクがいっぱいです)。",
        L"JPEG ファイルを保存できませんでした。メモリが足りません。"};
    for (int code = 1; code <= 4; ++code) {
        program.Answer(code, 200);
        SaveAs(out.path() + L"n.jpg");
        ASSERT_EQ(boxes.Seen().size(), static_cast<size_t>(code)) << "exit code " << code;
        EXPECT_EQ(boxes.Seen().back(), (SeenMessage{L"ｴﾗｰ", texts[code - 1]}));
    }
    program.Answer(0, 0);
    SaveAs(out.path() + L"n.jpg");
    EXPECT_FALSE(boxes.WaitForCount(5, 500)) << "a message for a converter that succeeded";
}

// The program ends while the converter still works on temp.bmp: the JPEG
// arrives whole, and temp.bmp is gone once both have ended.
TEST_F(Commands, ExitRightAfterAJpegSaveLetsTheConverterFinish) {
    const StandInProgram program;
    ASSERT_TRUE(program.ready());
    TempFolder out(L"tovik 終了前");
    program.Answer(0, 5000);   // longer than the save waits for it
    ASSERT_TRUE(tovik_.Start(program.Exe()));
    Run(ID_mnuDesktop);
    const auto captured = ReadClipboardBitmap();
    ASSERT_TRUE(captured);
    SaveAs(out.path() + L"last.jpg");
    ASSERT_TRUE(tovik_.CloseAndWait(20000));
    const auto written = ReadPictureFile(out.path() + L"last.jpg");   // the stand-in copies the bitmap itself
    ASSERT_TRUE(written) << "the converter found no temp.bmp";
    EXPECT_TRUE(written->data == captured->data);
    EXPECT_FALSE(Exists(program.Bitmap())) << "temp.bmp outlives the program";
}

// Two copies of the program in one folder save a JPEG at the same moment:
// each JPEG is the copy's own picture, although both go through the one
// temp.bmp; and the copy that ends first, while the other's converter has
// yet to read temp.bmp, leaves the file to it.
TEST_F(Commands, TwoCopiesSavingJpegAtOnceEachWriteTheirOwnPicture) {
    const StandInProgram program;
    ASSERT_TRUE(program.ready());
    program.Answer(0, 1500);   // each converter reads temp.bmp only after this
    TempFolder temp(L"tovik 二つ");
    const GoodPictures good = WriteGoodPictures(temp.path());
    TovikProcess other;
    // Without hotkeys: the second copy would find the first one's held, and say so.
    for (const wchar_t* command : {L"Rectangle", L"ActiveWindow", L"Desktop"}) WriteSetting(L"Hotkeys", command, L"");
    WriteSetting(L"Startup", L"MRU  1", good.bmp);
    ASSERT_TRUE(tovik_.Start(program.Exe()));
    WriteSetting(L"Startup", L"MRU  1", good.gif);
    ASSERT_TRUE(other.Start(program.Exe()));
    ASSERT_TRUE(tovik_.CommandAndWait(ID_mnuFileArray + 1));
    ASSERT_TRUE(other.CommandAndWait(ID_mnuFileArray + 1));
    const MessageBoxes boxes(tovik_.ProcessId()), otherBoxes(other.ProcessId());
    tovik_.Command(ID_mnuSaveAs);
    other.Command(ID_mnuSaveAs);
    HWND dialog = WaitForDialog(tovik_.ProcessId(), kSaveCaption), otherDialog = WaitForDialog(other.ProcessId(), kSaveCaption);
    ASSERT_TRUE(dialog && otherDialog);
    SetTextOf(FileNameBox(dialog), temp.path() + L"first.jpg");
    SetTextOf(FileNameBox(otherDialog), temp.path() + L"second.jpg");
    PressButton(dialog, IDOK);
    PressButton(otherDialog, IDOK);

    std::optional<Pixels> first, second;
    ASSERT_TRUE(WaitUntil([&] { return (first = ReadPictureFile(temp.path() + L"first.jpg")).has_value(); }, 20000));
    ASSERT_TRUE(tovik_.CloseAndWait(20000));
    ASSERT_TRUE(WaitUntil([&] { return (second = ReadPictureFile(temp.path() + L"second.jpg")).has_value(); }, 20000))
        << "the other copy's converter found no temp.bmp";
    EXPECT_EQ(first->width, kPictureWidth);
    EXPECT_EQ(Mismatches(*first, PicturePatternAt), 0) << "the first JPEG is not the first copy's picture";
    EXPECT_EQ(second->width, kPictureWidth);
    EXPECT_EQ(Mismatches(*second, GifPatternAt), 0) << "the second JPEG is not the other copy's picture";
    ASSERT_TRUE(other.CloseAndWait(20000));
    EXPECT_TRUE(boxes.Seen().empty() && otherBoxes.Seen().empty());
    EXPECT_FALSE(Exists(program.Bitmap())) << "temp.bmp outlives both copies";
}

// Another program holds the clipboard for a moment when a picture is opened:
// the picture still reaches the clipboard, and nothing is reported.
TEST_F(Commands, OpenWhileAnotherProgramHoldsTheClipboardForAMomentStillCopiesThePicture) {
    TempFolder temp(L"tovik 転送");
    const GoodPictures good = WriteGoodPictures(temp.path());
    WriteSetting(L"Startup", L"MRU  1", good.bmp);
    ASSERT_TRUE(tovik_.Start());
    PutMarkerOnClipboard();
    const MessageBoxes boxes(tovik_.ProcessId());
    const HelperProgram holder(L"clipboard_holder.exe", L"100", L"TovikTestClipboardHeld");
    ASSERT_TRUE(holder.ready()) << "the clipboard holder did not start";
    tovik_.Command(ID_mnuFileArray + 1);
    holder.WaitForExit();
    Settle();
    EXPECT_TRUE(boxes.Seen().empty()) << testing::PrintToString(boxes.Seen().empty() ? L"" : boxes.Seen()[0].text);
    const auto clip = ReadClipboardBitmap();
    ASSERT_TRUE(clip);
    EXPECT_EQ(clip->width, kPictureWidth) << "the clipboard kept what it held";
    EXPECT_EQ(Mismatches(*clip, PicturePatternAt), 0);
}

// The editor is the command line the user set: its arguments reach it
// unchanged; a program that cannot be started is named in one message.
TEST_F(Commands, EditorStartsWithItsArgumentsUnchangedOrOneMessageNamesIt) {
    const CommandRecorder editor;
    const std::wstring arguments = L"/n \"キャプチャ 1.bmp\"  -x";
    WriteSetting(L"Capture", L"EditerName", L"\"" + CommandRecorder::Program() + L"\" " + arguments);
    ASSERT_TRUE(tovik_.Start());
    tovik_.Command(ID_mnuPbrush);
    std::optional<std::wstring> got;
    ASSERT_TRUE(WaitUntil([&] { return (got = editor.Arguments()).has_value(); })) << "the editor did not start";
    EXPECT_EQ(*got, arguments);
    ASSERT_TRUE(tovik_.CloseAndWait());
    for (const std::wstring name : {L"C:\\nowhere\\nothing.exe", L""}) {
        WriteSetting(L"Capture", L"EditerName", name);
        ASSERT_TRUE(tovik_.Start());
        const MessageBoxes boxes(tovik_.ProcessId());
        tovik_.Command(ID_mnuPbrush);
        ASSERT_TRUE(boxes.WaitForCount(1));
        EXPECT_EQ(boxes.Seen()[0], (SeenMessage{L"Error", name + L" の起動に失敗しました。"}));
        EXPECT_FALSE(boxes.WaitForCount(2, 500));
        ASSERT_TRUE(tovik_.CloseAndWait());
    }
}

// Print puts the picture at its screen size at the top-left of the printable
// area of one page; a print setup the user cancels says nothing.
TEST_F(Commands, PrintSendsThePictureOnOnePageAndACancelledSetupSaysNothing) {
    TempFolder temp(L"tovik 印刷");
    const GoodPictures good = WriteGoodPictures(temp.path());
    RunUnixShell("rm -f \"$TOVIK_PDF_DIR\"/Tovik*.pdf");
    ASSERT_TRUE(tovik_.Start());
    Open(good.bmp);
    tovik_.Command(ID_mnuPrint);
    const auto pdf = PrintedPdf::WaitFor(L"Tovik");
    ASSERT_TRUE(pdf) << "nothing was printed";
    EXPECT_EQ(pdf->Pages(), 1);
    const auto page = pdf->Render(96, 300, 200);   // at 96 dpi the picture has its size on the screen
    ASSERT_TRUE(page);
    int left = page->width, top = page->height, right = -1, bottom = -1;
    for (int y = 0; y < page->height; ++y)
        for (int x = 0; x < page->width; ++x)
            if ((page->At(x, y) & 0xE0E0E0) != 0xE0E0E0)
                left = std::min(left, x), top = std::min(top, y), right = std::max(right, x), bottom = std::max(bottom, y);
    ASSERT_GE(right, 0) << "the page is blank";
    EXPECT_NEAR(right - left + 1, kPictureWidth, 2);
    EXPECT_NEAR(bottom - top + 1, kPictureHeight, 2);
    EXPECT_LT(left, 60);   // within the margin the printer cannot print on, not further in
    EXPECT_LT(top, 60);
    EXPECT_FALSE(FindAnyDialog(tovik_.ProcessId())) << "a message came with the print";

    tovik_.Command(ID_mnuPrintSetup);
    HWND setup = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (setup = FindAnyDialog(tovik_.ProcessId())) != nullptr; }));
    ASSERT_TRUE(PressToClose(setup, IDCANCEL));
    EXPECT_FALSE(WaitUntil([&] { return FindAnyDialog(tovik_.ProcessId()) != nullptr; }, 1000))
        << "a message after a cancelled print setup";
}

// Wine loads a library from beside a program before its own, as Windows
// does, only for the libraries named so in its settings for that program.
class LibrariesBesideTheProgramFirst {
public:
    LibrariesBesideTheProgramFirst(const std::wstring& program, std::initializer_list<const wchar_t*> libraries)
        : key_(L"Software\\Wine\\AppDefaults\\" + program) {
        for (const wchar_t* library : libraries) {
            const std::wstring order = L"native,builtin";
            RegSetKeyValueW(HKEY_CURRENT_USER, (key_ + L"\\DllOverrides").c_str(), library, REG_SZ, order.c_str(),
                            static_cast<DWORD>((order.size() + 1) * sizeof(wchar_t)));
        }
    }
    ~LibrariesBesideTheProgramFirst() { RegDeleteTreeW(HKEY_CURRENT_USER, key_.c_str()); }

private:
    std::wstring key_;
};

// A library that a system library loads by name while the program runs
// (the spooler's, when print setup opens) comes from the system folder,
// never from beside the program, where anyone able to put a file there
// could plant one. (Wine's own libraries import the version library, the
// spooler and shcore, so Wine loads those from beside any program; that the
// program imports none of them is checked on its headers.)
TEST_F(Commands, ALibraryPlantedBesideTheProgramIsNeverLoaded) {
    const ProgramCopy program(L"tovik 植え込み");
    ASSERT_TRUE(program.ready());
    const LibrariesBesideTheProgramFirst beside(L"Tovik.exe", {L"spoolss", L"localspl"});
    for (const wchar_t* name : {L"spoolss.dll", L"localspl.dll"})
        ASSERT_TRUE(program.Put(TestFolder() + L"planted_library.dll", name));
    ASSERT_TRUE(tovik_.Start(program.Exe()));
    tovik_.Command(ID_mnuPrintSetup);
    HWND setup = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (setup = FindAnyDialog(tovik_.ProcessId())) != nullptr; }));
    ASSERT_TRUE(PressToClose(setup, IDCANCEL));
    ASSERT_TRUE(tovik_.CloseAndWait());
    const auto mark = ReadFileBytes(program.File(L"planted-library-ran.txt"));
    EXPECT_TRUE(mark.empty()) << "loaded: "
                              << testing::PrintToString(std::wstring(reinterpret_cast<const wchar_t*>(mark.data()),
                                                                     mark.size() / sizeof(wchar_t)));
}

// Every shortcut of the menus and every button of the toolbar reaches its
// command, each seen by what the command does.
TEST_F(Commands, EveryShortcutAndToolbarButtonRunsItsCommand) {
    WriteSetting(L"Capture", L"DelayTime", L"300");
    WriteSetting(L"Capture", L"EditerName", L"\"" + CommandRecorder::Program() + L"\"");
    TempFolder temp(L"tovik キー");
    ASSERT_TRUE(tovik_.Start());
    const DWORD pid = tovik_.ProcessId();
    auto key = [&](WORD modifier, WORD vk) {
        return [=, this] {
            ASSERT_TRUE(BringToFront(Main()));
            TypeKey(modifier, vk);
        };
    };
    auto button = [&](int index) { return [=, this] { Click(index); }; };
    auto cancelsDialog = [&](const wchar_t* caption) {
        return [=, this] {
            HWND dialog = WaitForDialog(pid, caption);
            ASSERT_TRUE(dialog) << "no dialog " << testing::PrintToString(std::wstring(caption));
            ASSERT_TRUE(PressToClose(dialog, IDCANCEL));
        };
    };
    auto hidesAndReturns = [&] {
        ASSERT_TRUE(WaitUntil([&] { return Hidden(); })) << "the main window did not hide";
        ASSERT_TRUE(WaitUntil([&] { return !Hidden(); })) << "the main window did not come back";
    };
    auto showsTheOverlay = [&] {
        HWND overlay = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (overlay = tovik_.FindTopLevel(TOVIK_CLASS_DESKTOP)) != nullptr; }))
            << "no overlay";
        ASSERT_TRUE(MoveMouseTo(500, 400));   // a click ends the selection
        PressMouse(MouseButton::Left);
        ReleaseMouse(MouseButton::Left);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(overlay) && !Hidden(); }));
    };
    DWORD marked = 0;   // the clipboard's sequence number with the marker on it
    auto capturesToTheClipboard = [&] {
        // The command pumps messages while it runs, so a round trip to the
        // main window can come back before the capture is written. The
        // capture is over once the clipboard has changed and the main window
        // is back; the clipboard is read once, not during it.
        ASSERT_TRUE(WaitUntil([&] { return GetClipboardSequenceNumber() != marked && !Hidden(); }))
            << "no capture reached the clipboard";
        Settle();
        const auto clip = ReadClipboardBitmap();
        ASSERT_TRUE(clip && !(clip->width == 3 && clip->height == 2)) << "no capture reached the clipboard";
    };
    const struct {
        const char* way;
        std::function<void()> run, check;
    } ways[] = {
        {"Ctrl+O", key(VK_CONTROL, 'O'), cancelsDialog(kOpenCaption)},
        {"Open button", button(2), cancelsDialog(kOpenCaption)},
        {"Ctrl+A", key(VK_CONTROL, 'A'), cancelsDialog(kSaveCaption)},
        {"Save button", button(3), cancelsDialog(kSaveCaption)},
        {"Ctrl+R", key(VK_CONTROL, 'R'), showsTheOverlay},
        {"Rect button", button(6), showsTheOverlay},
        {"Ctrl+W", key(VK_CONTROL, 'W'), hidesAndReturns},
        {"Window button", button(7), hidesAndReturns},
        {"Ctrl+T", key(VK_CONTROL, 'T'), capturesToTheClipboard},
        {"DeskTop button", button(8), capturesToTheClipboard},
        {"Ctrl+V", key(VK_CONTROL, 'V'), hidesAndReturns},
        {"Delay button", button(9), hidesAndReturns},
        {"Ctrl+D", key(VK_CONTROL, 'D'), hidesAndReturns},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.way);
        PutMarkerOnClipboard();
        marked = GetClipboardSequenceNumber();
        way.run();
        way.check();
        Settle();
    }
    {
        SCOPED_TRACE("Pbrush button");
        const CommandRecorder editor;
        Click(11);
        EXPECT_TRUE(WaitUntil([&] { return editor.Arguments().has_value(); })) << "the editor did not start";
    }
    {
        SCOPED_TRACE("F1");
        const PagesOpenWithRecorder browser;
        key(0, VK_F1)();
        EXPECT_TRUE(WaitUntil([&] { return browser.Opened().has_value(); })) << "the help did not open";
    }
    {
        SCOPED_TRACE("Mouse button");
        HWND toolbar = FindChild(Main(), TOOLBARCLASSNAMEW);
        auto pressed = [&] { return SendMessageW(toolbar, TB_ISBUTTONCHECKED, ID_Toolbar1 + 13, 0) != 0; };
        Run(ID_mnuOptionMouseCapt);
        EXPECT_TRUE(pressed()) << "the menu's option does not press the button";
        Run(ID_mnuOptionMouseCapt);
        EXPECT_FALSE(pressed());
    }
    {
        // Clear (Del) keeps the picture's size: a save writes it all gray.
        SCOPED_TRACE("Del");
        Run(ID_mnuDesktop);
        const auto captured = ReadClipboardBitmap();
        ASSERT_TRUE(captured);
        key(0, VK_DELETE)();
        Settle();
        SaveAs(temp.path() + L"cleared.bmp");
        const auto cleared = ReadPictureFile(temp.path() + L"cleared.bmp");
        ASSERT_TRUE(cleared);
        EXPECT_EQ(cleared->width, captured->width);
        EXPECT_EQ(cleared->height, captured->height);
        EXPECT_EQ(Mismatches(*cleared, Solid(0x808080)), 0);
    }
}

// Exit from the File menu ends the program as the close box does, writing
// the same settings.
TEST_F(Commands, ExitFromTheMenuWritesWhatTheCloseBoxWrites) {
    std::vector<std::pair<std::wstring, std::wstring>> written[2];
    for (int way = 0; way < 2; ++way) {
        ClearSettings();
        ASSERT_TRUE(tovik_.Start());
        SetWindowPos(Main(), nullptr, 40, 30, 420, 310, SWP_NOZORDER);
        ASSERT_TRUE(WaitUntil([&] { RECT r{}; GetWindowRect(Main(), &r); return r.left == 40; }));
        if (way == 0) tovik_.Command(ID_mnuExit);
        else PostMessageW(Main(), WM_CLOSE, 0, 0);
        ASSERT_TRUE(tovik_.WaitForExit(10000));
        for (const auto& [section, name] : {std::pair{L"Startup", L"Top"}, {L"Startup", L"Left"}, {L"Startup", L"Width"},
                                            {L"Startup", L"Height"}, {L"Capture", L"DelayTime"},
                                            {L"Capture", L"EditerName"}, {L"Startup", L"InitDir"},
                                            {L"Startup", L"TransClipboard"}, {L"Startup", L"MRU  1"}})
            written[way].emplace_back(name, Stored(section, name));
    }
    EXPECT_EQ(written[0], written[1]);
    EXPECT_NE(written[0][0].second, L"<absent>");
}

}  // namespace
