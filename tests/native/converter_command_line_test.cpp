#include "CommandLine.h"

#include <gtest/gtest.h>

namespace {

using converter::CommandLineKind;
using converter::SkipProgramName;
using converter::SplitArguments;

TEST(ConverterCommandLine, ProgramNameIsSkippedAsTheSystemDoes) {
    EXPECT_EQ(SkipProgramName(L"\"C:\\Program Files\\Tovik\\bmp2jpg.exe\" a.bmp b.jpg"), L"a.bmp b.jpg");
    EXPECT_EQ(SkipProgramName(L"C:\\PROGRA~1\\bmp2jpg.exe \t a.bmp b.jpg"), L"a.bmp b.jpg");
    EXPECT_EQ(SkipProgramName(L"C:\\\"My Tools\"\\bmp2jpg.exe a.bmp b.jpg"), L"a.bmp b.jpg");
    EXPECT_EQ(SkipProgramName(L"bmp2jpg.exe"), L"");
    EXPECT_EQ(SkipProgramName(L""), L"");
}

TEST(ConverterCommandLine, DestinationIsEverythingAfterTheFirstSpace) {
    // What Tovik passes: the short temp path, one space, the destination as chosen.
    auto a = SplitArguments(L"C:\\PROGRA~1\\CAPTUR~1\\temp.bmp D:\\My Pictures\\写真 2.jpg");
    EXPECT_EQ(a.kind, CommandLineKind::Convert);
    EXPECT_EQ(a.source, L"C:\\PROGRA~1\\CAPTUR~1\\temp.bmp");
    EXPECT_EQ(a.destination, L"D:\\My Pictures\\写真 2.jpg");

    // Quotes around either path are removed; spaces inside the destination stay.
    a = SplitArguments(L"\"C:\\Capture Tool\\temp.bmp\" \"D:\\a  b .jpg\"");
    EXPECT_EQ(a.kind, CommandLineKind::Convert);
    EXPECT_EQ(a.source, L"C:\\Capture Tool\\temp.bmp");
    EXPECT_EQ(a.destination, L"D:\\a  b .jpg");

    // Only the first space separates: a second one belongs to the destination.
    a = SplitArguments(L"t.bmp  x.jpg");
    EXPECT_EQ(a.kind, CommandLineKind::Convert);
    EXPECT_EQ(a.destination, L" x.jpg");
}

TEST(ConverterCommandLine, AnythingButTwoPathsIsRefused) {
    EXPECT_EQ(SplitArguments(L"").kind, CommandLineKind::Empty);
    EXPECT_EQ(SplitArguments(L"/?").kind, CommandLineKind::Help);
    EXPECT_EQ(SplitArguments(L"/? ").kind, CommandLineKind::Help);
    for (const wchar_t* bad : {L"temp.bmp", L"temp.bmp ", L" temp.bmp b.jpg", L"\"temp.bmp b.jpg",
                               L"\"temp.bmp\"b.jpg", L"\"\" b.jpg", L"t.bmp \"\"", L"t.bmp a\"b.jpg",
                               L"t.bmp a\tb.jpg"}) {
        const auto a = SplitArguments(bad);
        EXPECT_EQ(a.kind, CommandLineKind::Bad) << testing::PrintToString(std::wstring(bad));
        EXPECT_TRUE(a.source.empty() && a.destination.empty());
    }
}

}  // namespace
