#include "capture/Selection.h"

#include <gtest/gtest.h>

using namespace capture;

namespace {

TEST(Selection, AnyDragDirectionGivesTheSameRegion) {
    using selection::Normalise;
    const selection::Region expected{10, 20, 110, 70};
    for (auto [start, end] : {std::pair<selection::Point, selection::Point>{{10, 20}, {110, 70}},
                              {{110, 70}, {10, 20}},
                              {{10, 70}, {110, 20}},
                              {{110, 20}, {10, 70}}}) {
        const auto r = Normalise(start, end);
        EXPECT_EQ(r.left, expected.left);
        EXPECT_EQ(r.top, expected.top);
        EXPECT_EQ(r.right, expected.right);
        EXPECT_EQ(r.bottom, expected.bottom);
    }
    const auto dot = Normalise({5, 5}, {5, 5});
    EXPECT_EQ(dot.right - dot.left, 0);
    EXPECT_EQ(dot.bottom - dot.top, 0);
}

TEST(Selection, SizeCaptionShowsAbsoluteSizesInItsFormat) {
    constexpr wchar_t kFormat[] = L"%ls \u00D7 %ls";
    EXPECT_EQ(selection::SizeCaption({0, 0}, {0, 0}, kFormat), L"0 \u00D7 0");
    EXPECT_EQ(selection::SizeCaption({100, 50}, {20, 10}, kFormat), L"80 \u00D7 40");
    EXPECT_EQ(selection::SizeCaption({-5, 3}, {1915, 1083}, kFormat), L"1920 \u00D7 1080");
}

}  // namespace

namespace {

// A second monitor left of the primary puts the virtual screen's corner at
// negative coordinates; overlay pixels always count from that corner.
TEST(Selection, OverlayPixelsCountFromTheVirtualScreensCorner) {
    using selection::ToOverlay;
    using selection::ToScreen;
    for (const selection::Point origin : {selection::Point{0, 0}, {-1024, 0}, {0, -768}, {-1920, -300}}) {
        const selection::Point corner = ToOverlay(origin, origin);
        EXPECT_EQ(corner.x, 0);
        EXPECT_EQ(corner.y, 0);
        const selection::Point primary = ToOverlay({0, 0}, origin);
        EXPECT_EQ(primary.x, -origin.x);
        EXPECT_EQ(primary.y, -origin.y);
        const selection::Point back = ToScreen(ToOverlay({-5, 7}, origin), origin);
        EXPECT_EQ(back.x, -5);
        EXPECT_EQ(back.y, 7);
    }
    const selection::Region r = selection::RegionToOverlay(selection::Region{-1000, -10, 300, 200}, {-1024, -100});
    EXPECT_EQ(r.left, 24);
    EXPECT_EQ(r.top, 90);
    EXPECT_EQ(r.right, 1324);
    EXPECT_EQ(r.bottom, 300);
}

TEST(Selection, SizeBoxStaysWholeOnThePointersMonitor) {
    using selection::SizeBoxPlace;
    const selection::Extent box{89, 25};
    const selection::Region primary{0, 0, 1280, 800}, right{1280, 0, 2304, 768}, left{-1024, 0, 0, 768};
    auto at = [&](selection::Point pointer, selection::Region monitor) {
        const selection::Point p = SizeBoxPlace(pointer, box, monitor);
        return std::pair{p.x, p.y};
    };
    // Room to the right and below: 10 pixels right of and below the pointer.
    EXPECT_EQ(at({100, 100}, primary), std::pair(110L, 110L));
    EXPECT_EQ(at({1500, 300}, right), std::pair(1510L, 310L));
    EXPECT_EQ(at({-1000, 10}, left), std::pair(-990L, 20L));
    // Near the primary's right edge, with a monitor beyond it: left of the
    // pointer, not across the edge; the box may just touch it.
    EXPECT_EQ(at({1181, 100}, primary), std::pair(1191L, 110L));
    EXPECT_EQ(at({1182, 100}, primary), std::pair(1083L, 110L));
    EXPECT_EQ(at({-20, 100}, left), std::pair(-119L, 110L));
    // Near the bottom, each monitor its own edge: the right monitor is shorter.
    EXPECT_EQ(at({1500, 740}, right), std::pair(1510L, 705L));
    EXPECT_EQ(at({1000, 740}, primary), std::pair(1010L, 750L));
    // Both edges at the corner.
    EXPECT_EQ(at({2300, 766}, right), std::pair(2201L, 731L));
}

}  // namespace
