#include "capture/Selection.h"

#include <gtest/gtest.h>

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

TEST(Selection, SizeCaptionShowsAbsoluteSizesWithTheMultiplicationSign) {
    EXPECT_EQ(selection::SizeCaption({0, 0}, {0, 0}), L"0 \u00D7 0");
    EXPECT_EQ(selection::SizeCaption({100, 50}, {20, 10}), L"80 \u00D7 40");
    EXPECT_EQ(selection::SizeCaption({-5, 3}, {1915, 1083}), L"1920 \u00D7 1080");
}

}  // namespace
