#include <gtest/gtest.h>

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

}  // namespace
}  // namespace nudgewick
