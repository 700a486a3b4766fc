// Printing and print setup inside the test process, on the test bench's two
// PDF printers.
#include "platform/system/Printer.h"
#include "platform/system/Screen.h"
#include "platform/ui/Surface.h"
#include "printing/PrintCommands.h"
#include "support/DialogPresser.h"
#include "support/Driver.h"
#include "support/PrintedPdf.h"
#include "support/Resources.h"

#include <gtest/gtest.h>

#include <winspool.h>

#include <algorithm>
#include <array>
#include <cstdlib>

namespace {

using namespace tovik_test;

// 4 x 4 blocks of distinct colours, none of them near white, so that the
// printed picture's position, size and orientation all show on the page.
constexpr int kBlockW = 60, kBlockH = 40, kPictureW = 4 * kBlockW, kPictureH = 4 * kBlockH;
constexpr std::array<COLORREF, 16> kBlockColours{
    RGB(0, 0, 0),     RGB(128, 0, 0),   RGB(255, 0, 0),   RGB(0, 128, 0),
    RGB(0, 255, 0),   RGB(0, 0, 128),   RGB(0, 0, 255),   RGB(128, 128, 0),
    RGB(255, 255, 0), RGB(0, 128, 128), RGB(0, 255, 255), RGB(128, 0, 128),
    RGB(255, 0, 255), RGB(128, 128, 128), RGB(255, 128, 0), RGB(0, 128, 255)};

bool Near(std::uint32_t pixel, COLORREF expected, int tolerance = 48) {
    const int r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
    return std::abs(r - GetRValue(expected)) <= tolerance && std::abs(g - GetGValue(expected)) <= tolerance &&
           std::abs(b - GetBValue(expected)) <= tolerance;
}

bool IsPaper(std::uint32_t pixel) { return Near(pixel, RGB(255, 255, 255), 24); }

std::string BenchVariable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::wstring DefaultPrinter() {
    wchar_t name[256] = {};
    DWORD length = 256;
    return GetDefaultPrinterW(name, &length) ? name : L"";
}

class Printing : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(picture_.Resize(kPictureW, kPictureH));
        for (int i = 0; i < 16; ++i) {
            const RECT block{(i % 4) * kBlockW, (i / 4) * kBlockH, (i % 4 + 1) * kBlockW, (i / 4 + 1) * kBlockH};
            platform::FillSolid(picture_.hDC(), block, kBlockColours[i]);
        }
        owner_ = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300, 200,
                                 nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(owner_);
    }
    void TearDown() override { DestroyWindow(owner_); }

    // Runs print setup while a user picks `printer` (or nothing) and presses `button`.
    HRESULT RunPrintSetup(platform::PrinterChoice& choice, int button, const wchar_t* printer = nullptr) {
        bool chosen = true;
        HRESULT error;
        HWND dialogOwner = nullptr;
        {
            DialogPresser user([&](HWND dialog) {
                dialogOwner = GetWindow(dialog, GW_OWNER);
                if (printer) chosen = ChooseComboItem(dialog, printer);
                PressButton(dialog, button);
            });
            error = printing::PrintSetup(owner_, choice);
            EXPECT_TRUE(user.Dialog()) << "no print-setup dialog appeared";
        }
        EXPECT_TRUE(chosen) << "the dialog does not list the printer";
        EXPECT_EQ(dialogOwner, owner_);
        return error;
    }

    platform::Surface picture_;
    HWND owner_ = nullptr;
};

TEST_F(Printing, PrintPuts1PageWithThePictureAtItsScreenSizeAtTheTopLeftAndLeavesNoHandles) {
    int dpiX, dpiY, offsetX, offsetY, width, height;
    {
        const platform::PrinterDC printer{platform::PrinterChoice{}};
        ASSERT_TRUE(printer) << "the bench has no default printer";
        dpiX = printer.DpiX(), dpiY = printer.DpiY();
        offsetX = GetDeviceCaps(printer.get(), PHYSICALOFFSETX);
        offsetY = GetDeviceCaps(printer.get(), PHYSICALOFFSETY);
        width = kPictureW * dpiX / platform::ScreenDpiX();
        height = kPictureH * dpiY / platform::ScreenDpiY();
        ASSERT_LE(width, printer.PrintableWidth());   // this picture is not shrunk
    }

    // An empty picture gives an empty page; the first job also fills the
    // printing system's caches, so the handle count after the second one is fair.
    const std::wstring emptyName = UniqueDocumentName();
    ASSERT_EQ(printing::PrintPicture(picture_.hDC(), 0, 0, platform::PrinterChoice{}, emptyName), S_OK);
    const unsigned gdiBefore = GdiObjectCount();
    const std::wstring name = UniqueDocumentName();
    ASSERT_EQ(printing::PrintPicture(picture_.hDC(), kPictureW, kPictureH, platform::PrinterChoice{}, name), S_OK);
    EXPECT_EQ(GdiObjectCount(), gdiBefore);

    const auto empty = PrintedPdf::WaitFor(emptyName);
    ASSERT_TRUE(empty) << "the empty picture's job did not come out";
    EXPECT_EQ(empty->Pages(), 1);
    const auto blank = empty->Render(dpiX, 400, 400);
    ASSERT_TRUE(blank);
    EXPECT_TRUE(std::all_of(blank->data.begin(), blank->data.end(), IsPaper));

    const auto pdf = PrintedPdf::WaitFor(name);
    ASSERT_TRUE(pdf) << "the job did not come out";
    EXPECT_EQ(pdf->Pages(), 1);
    EXPECT_EQ(pdf->Queue(), BenchVariable("TOVIK_PRINTER"));
    const auto page = pdf->Render(dpiX, offsetX + width + 100, offsetY + height + 100);
    ASSERT_TRUE(page);
    // Where the ink is: exactly the picture's rectangle, give or take the
    // rounding of points to pixels.
    int left = page->width, top = page->height, right = -1, bottom = -1;
    for (int y = 0; y < page->height; ++y)
        for (int x = 0; x < page->width; ++x)
            if (!IsPaper(page->At(x, y))) {
                left = std::min(left, x), top = std::min(top, y);
                right = std::max(right, x), bottom = std::max(bottom, y);
            }
    EXPECT_NEAR(left, offsetX, 2);
    EXPECT_NEAR(top, offsetY, 2);
    EXPECT_NEAR(right + 1, offsetX + width, 2);
    EXPECT_NEAR(bottom + 1, offsetY + height, 2);
    for (int i = 0; i < 16; ++i) {
        const int x = offsetX + ((i % 4) * kBlockW + kBlockW / 2) * width / kPictureW;
        const int y = offsetY + ((i / 4) * kBlockH + kBlockH / 2) * height / kPictureH;
        EXPECT_TRUE(Near(page->At(x, y), kBlockColours[i]))
            << "block " << i << " at " << x << "," << y << " is " << std::hex << page->At(x, y);
    }
}

TEST_F(Printing, SetupCancelChangesNothingAndOkWithAnotherPrinterSendsTheNextPrintThere) {
    const std::wstring defaultPrinter = DefaultPrinter();
    const std::string second = BenchVariable("TOVIK_PRINTER2");
    ASSERT_FALSE(second.empty()) << "the bench has no second printer";
    ASSERT_NE(std::wstring(second.begin(), second.end()), defaultPrinter);
    const std::wstring secondPrinter(second.begin(), second.end());

    platform::PrinterChoice choice;
    EXPECT_EQ(RunPrintSetup(choice, IDCANCEL), S_OK);
    EXPECT_TRUE(choice.empty());

    EXPECT_EQ(RunPrintSetup(choice, IDOK, secondPrinter.c_str()), S_OK);
    EXPECT_EQ(choice.DeviceName(), secondPrinter);
    // Cancel after another choice in the dialog keeps the one made before.
    EXPECT_EQ(RunPrintSetup(choice, IDCANCEL, defaultPrinter.c_str()), S_OK);
    EXPECT_EQ(choice.DeviceName(), secondPrinter);
    // The choice is the program's own: the system's default printer stays.
    EXPECT_EQ(DefaultPrinter(), defaultPrinter);

    const std::wstring name = UniqueDocumentName();
    ASSERT_EQ(printing::PrintPicture(picture_.hDC(), kPictureW, kPictureH, choice, name), S_OK);
    const auto pdf = PrintedPdf::WaitFor(name);
    ASSERT_TRUE(pdf) << "the job did not come out";
    EXPECT_EQ(pdf->Pages(), 1);
    EXPECT_EQ(pdf->Queue(), second);
}

}  // namespace
