#include "twips.h"

#include <gtest/gtest.h>

namespace orvanel {
namespace {

TEST(Twips, FifteenTwipsAreOnePixelAtNinetySixDpi) {
    EXPECT_EQ(TwipsToPixels(8445, 96), 563);
    EXPECT_EQ(TwipsToPixels(4440, 96), 296);
    EXPECT_EQ(TwipsToPixels(1440, 96), 96);
    EXPECT_EQ(TwipsToPixels(0, 96), 0);
}

TEST(Twips, FollowsTheDpi) {
    EXPECT_EQ(TwipsToPixels(1440, 120), 120);
    EXPECT_EQ(TwipsToPixels(1440, 144), 144);
    EXPECT_EQ(TwipsToPixels(4440, 144), 444);
    EXPECT_EQ(TwipsToPixels(4440, 192), 592);
}

TEST(Twips, RoundsToTheNearestPixelWithHalvesAwayFromZero) {
    EXPECT_EQ(TwipsToPixels(1594, 96), 106);  // 106.27
    EXPECT_EQ(TwipsToPixels(1600, 96), 107);  // 106.67
    EXPECT_EQ(TwipsToPixels(7, 96), 0);       // 0.47
    EXPECT_EQ(TwipsToPixels(8, 96), 1);       // 0.53
    EXPECT_EQ(TwipsToPixels(8445, 144), 845); // 844.5
    EXPECT_EQ(TwipsToPixels(3750, 120), 313); // 312.5
    EXPECT_EQ(TwipsToPixels(-8445, 144), -845);
    EXPECT_EQ(TwipsToPixels(-7, 96), 0);
}

TEST(Twips, PointSizesInTwips) {
    EXPECT_EQ(TwipsToPixels(18 * kTwipsPerPoint, 96), 24);
    EXPECT_EQ(TwipsToPixels(165, 96), 11);   // 8.25 pt
    EXPECT_EQ(TwipsToPixels(165, 144), 17);  // 16.5
}

TEST(Twips, RectangleKeepsItsPlaceAndSize) {
    const PixelRect r = ToPixels(TwipsRect{3000, 3960, 2775, 375}, 96);
    EXPECT_EQ(r.left, 200);
    EXPECT_EQ(r.top, 264);
    EXPECT_EQ(r.right, 385);
    EXPECT_EQ(r.bottom, 289);
    const PixelRect big = ToPixels(TwipsRect{3000, 3960, 2775, 375}, 144);
    EXPECT_EQ(big.left, 300);
    EXPECT_EQ(big.top, 396);
    EXPECT_EQ(big.right, 578);   // 577.5
    EXPECT_EQ(big.bottom, 434);  // 433.5
}

TEST(Twips, ControlsThatMeetByDesignMeetAtEveryScale) {
    for (unsigned dpi = 96; dpi <= 288; dpi += 8) {
        for (int width = 1; width < 200; width += 7) {
            const TwipsRect a{100, 0, width, 10};
            const TwipsRect b{100 + width, 0, 2775, 10};
            EXPECT_EQ(ToPixels(a, dpi).right, ToPixels(b, dpi).left) << dpi << " " << width;
        }
    }
}

}  // namespace
}  // namespace orvanel
