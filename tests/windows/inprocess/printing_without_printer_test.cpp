// Printing and print setup on a system without printers. ctest runs this
// with CUPS out of reach, so Wine finds no printer at all.
#include "platform/system/Printer.h"
#include "platform/ui/Messages.h"
#include "platform/ui/Surface.h"
#include "printing/PrintCommands.h"
#include "support/DialogPresser.h"

#include <gtest/gtest.h>

#include <winspool.h>

namespace {

using namespace tovik_test;

TEST(PrintingWithoutPrinter, PrintAndSetupEachGiveOneErrorThatSaysSoAndDoNothingElse) {
    wchar_t name[256];
    DWORD length = 256;
    ASSERT_FALSE(GetDefaultPrinterW(name, &length)) << "this test needs a system without printers";

    platform::Surface picture;
    ASSERT_TRUE(picture.Resize(64, 48));
    platform::PrinterChoice choice;
    EXPECT_EQ(printing::PrintPicture(picture.hDC(), 64, 48, choice, L"TovikNoPrinter"),
              platform::FailureOf(platform::kNoPrinterError));

    // Should a dialog or message appear after all, it is closed rather than left to hang the test.
    DialogPresser user([](HWND dialog) { PostMessageW(dialog, WM_CLOSE, 0, 0); }, GetCurrentThreadId(), 5000);
    EXPECT_EQ(printing::PrintSetup(nullptr, choice), platform::FailureOf(platform::kNoPrinterError));
    EXPECT_FALSE(user.Dialog());
    EXPECT_TRUE(choice.empty());

    // The "Error" message shows the system's own words for it, not a bare number.
    const std::wstring text = platform::SystemErrorText(platform::kNoPrinterError);
    EXPECT_FALSE(text.empty());
    EXPECT_NE(text.rfind(L"0x", 0), 0u);
}

}  // namespace
