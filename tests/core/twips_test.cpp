#include "twips.h"

#include <gtest/gtest.h>

namespace orvanel {
namespace {

TEST(Twips, FifteenAPixelAt96DpiFollowingTheDpiHalvesAwayFromZero) {
    struct Case { int twips; unsigned dpi; int pixels; };
    const Case cases[] = {
        {8445, 96, 563}, {1440, 96, 96}, {0, 96, 0}, {1440, 120, 120}, {4440, 144, 444}, {4440, 192, 592},
        {1594, 96, 106},  // 106.27
        {1600, 96, 107},  // 106.67
        {7, 96, 0},       // 0.47
        {8, 96, 1},       // 0.53
        {8445, 144, 845}, {3750, 120, 313}, {165, 144, 17},  // halves
        {-8445, 144, -845}, {-7, 96, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(TwipsToPixels(c.twips, c.dpi), c.pixels) << c.twips << " at " << c.dpi;
}

TEST(Twips, RectanglesScaleTheirEdges) {
    const PixelRect r = ToPixels(TwipsRect{3000, 3960, 2775, 375}, 144);
    EXPECT_EQ(r.left, 300);
    EXPECT_EQ(r.top, 396);
    EXPECT_EQ(r.right, 578);   // 577.5
    EXPECT_EQ(r.bottom, 434);  // 433.5
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
