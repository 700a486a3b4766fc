#include "imagefiles/FileNames.h"
#include "CommandLine.h"

#include <gtest/gtest.h>

namespace {

using namespace imagefiles;

TEST(FileNames, OnlyTheLastThreeCharactersDecideJpeg) {
    for (const wchar_t* jpeg : {L"shot.jpg", L"SHOT.JPG", L"Shot.Jpg", L"photojpg", L"C:\\写真\\a.jPg", L"jpg"})
        EXPECT_TRUE(IsJpegName(jpeg)) << jpeg;
    for (const wchar_t* bmp : {L"shot.jpeg", L"shot", L"shot.bmp", L"", L"pg", L"shot.ｊｐｇ", L"shot.jpg "})
        EXPECT_FALSE(IsJpegName(bmp)) << bmp;
}

TEST(FileNames, OnlyALastDotPngInAnyCaseDecidesPng) {
    for (const wchar_t* png : {L"shot.png", L"SHOT.PNG", L"C:\\写真\\a.pNg", L".png"})
        EXPECT_TRUE(IsPngName(png)) << png;
    for (const wchar_t* bmp : {L"shot.png.bmp", L"png", L"shotpng", L"shot.png ", L"shot.ｐｎｇ", L"", L"shot.jpg"})
        EXPECT_FALSE(IsPngName(bmp)) << bmp;
}

TEST(FileNames, FolderIsThePathWithoutItsTitle) {
    EXPECT_EQ(FolderOf(L"D:\\pics\\a.bmp", L"a.bmp"), L"D:\\pics\\");
    EXPECT_EQ(FolderOf(L"C:\\a.bmp", L"a.bmp"), L"C:\\");
    EXPECT_EQ(FolderOf(L"C:\\画像 フォルダ\\スクリーン.jpg", L"スクリーン.jpg"), L"C:\\画像 フォルダ\\");
    EXPECT_EQ(FolderOf(L"a.bmp", L"longer title.bmp"), L"");
}

TEST(FileNames, ConverterCallUsesTheShortFolderAndTheDestinationAsChosen) {
    const ConverterCall call = MakeConverterCall(
        ConverterFolder(L"C:\\PROGRA~1\\CAPTUR~1", L"C:\\Program Files\\Capture Tool"), L"D:\\My Pictures\\a.jpg");
    EXPECT_EQ(call.program, L"C:\\PROGRA~1\\CAPTUR~1\\bmp2jpg.exe");
    EXPECT_EQ(call.directory, L"C:\\PROGRA~1\\CAPTUR~1\\");
    EXPECT_EQ(call.bitmap, L"C:\\PROGRA~1\\CAPTUR~1\\temp.bmp");
    EXPECT_EQ(call.parameters, L"C:\\PROGRA~1\\CAPTUR~1\\temp.bmp D:\\My Pictures\\a.jpg");
    // A drive root keeps its one backslash; a folder without a short form is used as it is.
    EXPECT_EQ(MakeConverterCall(ConverterFolder(L"C:\\", L"C:\\"), L"x.jpg").program, L"C:\\bmp2jpg.exe");
    EXPECT_EQ(ConverterFolder(L"", L"D:\\ツール\\Tovik"), L"D:\\ツール\\Tovik\\");

    // A volume without short names gives the long folder back: the bitmap's
    // path, which the converter would end at its first space, is quoted.
    const ConverterCall spaced = MakeConverterCall(
        L"D:\\My Tools\\Tovik", L"E:\\My Pictures\\a.jpg", [](const std::wstring& path) { return path; });
    EXPECT_EQ(spaced.program, L"D:\\My Tools\\Tovik\\bmp2jpg.exe");
    EXPECT_EQ(spaced.bitmap, L"D:\\My Tools\\Tovik\\temp.bmp");
    EXPECT_EQ(spaced.parameters, L"\"D:\\My Tools\\Tovik\\temp.bmp\" E:\\My Pictures\\a.jpg");
    const converter::ConverterArguments read = converter::SplitArguments(spaced.parameters);
    EXPECT_EQ(read.source, spaced.bitmap);
    EXPECT_EQ(read.destination, L"E:\\My Pictures\\a.jpg");
}

}  // namespace
