#include "printing/Placement.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using printing::placement::PlacePicture;
using printing::placement::Rectangle;

constexpr printing::placement::Size kA4At300{2480, 3508};   // printable area of an A4 page at 300 dpi

void ExpectRect(const Rectangle& r, int x, int y, int width, int height) {
    EXPECT_EQ(r.x, x);
    EXPECT_EQ(r.y, y);
    EXPECT_EQ(r.width, width);
    EXPECT_EQ(r.height, height);
}

TEST(Placement, PictureThatFitsKeepsItsSizeOnTheScreenAtTheTopLeft) {
    struct Case { int screen, printer, width, height; };
    for (const Case c : {Case{96, 144, 288, 192}, Case{96, 300, 600, 400}, Case{96, 600, 1200, 800},
                         Case{144, 300, 400, 267}, Case{144, 600, 800, 533}}) {
        SCOPED_TRACE(testing::Message() << c.screen << " dpi screen, " << c.printer << " dpi printer");
        const auto r = PlacePicture({192, 128}, {c.screen, c.screen}, {c.printer, c.printer},
                                    {c.printer * 8, c.printer * 10});
        ExpectRect(r, 0, 0, c.width, c.height);
    }
    // Each axis has its own scale.
    ExpectRect(PlacePicture({100, 100}, {96, 96}, {600, 300}, kA4At300), 0, 0, 625, 313);
    // A single pixel stays visible even on a coarse printer.
    ExpectRect(PlacePicture({1, 1}, {144, 144}, {72, 72}, kA4At300), 0, 0, 1, 1);
}

TEST(Placement, LargerPictureIsShrunkToThePrintableAreaWithItsProportionsKept) {
    // 1920 x 1080 at 96 dpi is 20 x 11.25 inches: the width limits it.
    ExpectRect(PlacePicture({1920, 1080}, {96, 96}, {300, 300}, kA4At300), 0, 0, 2480, 1395);
    ExpectRect(PlacePicture({1920, 1080}, {96, 96}, {600, 600}, {4960, 7016}), 0, 0, 4960, 2790);
    // A tall picture: the height limits it.
    ExpectRect(PlacePicture({400, 4000}, {96, 96}, {144, 144}, {1190, 1684}), 0, 0, 168, 1684);
    // Exactly the printable area is not shrunk.
    ExpectRect(PlacePicture({2480, 3508}, {300, 300}, {300, 300}, kA4At300), 0, 0, 2480, 3508);
}

TEST(Placement, HugeOrDegenerateInputsNeitherOverflowNorLeaveThePage) {
    ExpectRect(PlacePicture({INT_MAX, INT_MAX}, {1, 1}, {INT_MAX, INT_MAX}, kA4At300), 0, 0, 2480, 2480);
    ExpectRect(PlacePicture({INT_MAX, 1}, {96, 96}, {600, 600}, kA4At300), 0, 0, 2480, 1);
    ExpectRect(PlacePicture({1, INT_MAX}, {96, 96}, {600, 600}, {INT_MAX, INT_MAX}), 0, 0, 1, INT_MAX);
    // A resolution the printer or screen cannot have counts as 1 dpi.
    ExpectRect(PlacePicture({10, 10}, {0, -5}, {96, 96}, kA4At300), 0, 0, 960, 960);
    // Nothing to place, or nowhere to place it.
    ExpectRect(PlacePicture({0, 100}, {96, 96}, {300, 300}, kA4At300), 0, 0, 0, 0);
    ExpectRect(PlacePicture({100, 100}, {96, 96}, {300, 300}, {0, 3508}), 0, 0, 0, 0);
}

}  // namespace
