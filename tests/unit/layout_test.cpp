#include <gtest/gtest.h>

#include <string_view>

#include "window/layout.h"

namespace nudgewick {
namespace {

TEST(TwipsToPixelsTest, FifteenTwipsAPixelAt96Dpi) {
    EXPECT_EQ(TwipsToPixels(kClientWidthTwips, 96), 275);
    EXPECT_EQ(TwipsToPixels(kClientHeightTwips, 96), 195);
    EXPECT_EQ(TwipsToPixels(1575, 96), 105);
}

TEST(TwipsToPixelsTest, RoundsToTheNearestPixelAtOtherResolutions) {
    EXPECT_EQ(TwipsToPixels(1575, 144), 158);  // 157.5
    EXPECT_EQ(TwipsToPixels(255, 120), 21);    // 21.25
    EXPECT_EQ(TwipsToPixels(285, 120), 24);    // 23.75
    EXPECT_EQ(TwipsToPixels(0, 96), 0);
}

TEST(LayoutTest, EveryControlFitsTheClientArea) {
    for (const auto& control : kControls) {
        EXPECT_LE(control.left + control.width, kClientWidthTwips) << control.text;
        EXPECT_LE(control.top + control.height, kClientHeightTwips) << control.text;
    }
}

// A font whose characters are half as wide as its size: "Interval
// (Milliseconds)", 23 characters, needs size 9 to fit 105 pixels at 96 dpi.
TEST(FittingFontSizeTest, ShrinksUntilTheWidestCaptionFits) {
    const auto halfWidth = [](const char* caption, int size) {
        return static_cast<int>(std::string_view(caption).size()) * size / 2;
    };
    EXPECT_EQ(FittingFontSize(14, 6, 96, 0, halfWidth), 9);
    EXPECT_EQ(FittingFontSize(8, 6, 96, 0, halfWidth), 8);     // already fits
    EXPECT_EQ(FittingFontSize(14, 6, 96, 30, halfWidth), 6);   // never fits: the smallest
    EXPECT_EQ(FittingFontSize(20, 6, 144, 0, halfWidth), 13);  // 158 pixels of room
}

}  // namespace
}  // namespace nudgewick
