#include "settings_layout.h"

#include <gtest/gtest.h>

namespace orvanel {
namespace {

PixelRect At(SettingsControl control, unsigned dpi) {
    for (const PlacedControl& placed : kSettingsLayout) {
        if (placed.control == control) return ToPixels(placed.twips, dpi);
    }
    ADD_FAILURE() << "control missing from the layout";
    return {};
}

// Compared as left, top, width, height, the way the design lists them.
void ExpectRect(const PixelRect& r, int left, int top, int width, int height) {
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right - r.left, width);
    EXPECT_EQ(r.bottom - r.top, height);
}

TEST(SettingsLayout, At96DpiEveryControlStandsAtItsPixelPosition) {
    ExpectRect(ToPixels(kSettingsClient, 96), 0, 0, 202, 243);
    ExpectRect(At(SettingsControl::Drive1, 96), 8, 8, 57, 21);
    ExpectRect(At(SettingsControl::Label1, 96), 72, 10, 89, 17);
    ExpectRect(At(SettingsControl::TxtDriveLetter, 96), 160, 8, 33, 19);
    ExpectRect(At(SettingsControl::Dir1, 96), 8, 40, 185, 156);
    ExpectRect(At(SettingsControl::CmdOK, 96), 8, 200, 97, 33);
    ExpectRect(At(SettingsControl::CmdCancel, 96), 104, 200, 89, 33);
}

TEST(SettingsLayout, ScalesWithTheDpiAndKeepsSharedEdges) {
    ExpectRect(ToPixels(kSettingsClient, 144), 0, 0, 303, 365);  // 364.5 rounds up
    ExpectRect(At(SettingsControl::Dir1, 144), 12, 60, 278, 234);
    ExpectRect(At(SettingsControl::CmdOK, 192), 16, 400, 194, 66);
    // The letter box, the folder list and Cancel share their right edge in
    // the design; it stays shared at every scale.
    for (const unsigned dpi : {96u, 120u, 144u, 168u, 192u}) {
        const int right = At(SettingsControl::Dir1, dpi).right;
        EXPECT_EQ(At(SettingsControl::TxtDriveLetter, dpi).right, right) << dpi;
        EXPECT_EQ(At(SettingsControl::CmdCancel, dpi).right, right) << dpi;
    }
}

TEST(SettingsLayout, ScalesDesignPixels) {
    EXPECT_EQ(ScaleForDpi(16, 96), 16);
    EXPECT_EQ(ScaleForDpi(16, 144), 24);
    EXPECT_EQ(ScaleForDpi(5, 144), 8);  // 7.5 rounds up
    EXPECT_EQ(ScaleForDpi(16, 120), 20);
}

}  // namespace
}  // namespace orvanel
