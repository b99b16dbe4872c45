#include "settings_layout.h"

#include <gtest/gtest.h>

namespace orvanel {
namespace {

// Where each control stands in pixels is read from the screen end to end,
// at 96 and 144 DPI; here the edges the design shares, at every scale.
int RightEdge(SettingsControl control, unsigned dpi) {
    for (const auto& placed : kSettingsLayout) {
        if (placed.part == control) return ToPixels(placed.twips, dpi).right;
    }
    ADD_FAILURE() << "control missing from the layout";
    return 0;
}

TEST(SettingsLayout, LetterBoxFolderListAndCancelShareTheirRightEdgeAtEveryScale) {
    for (const unsigned dpi : {96u, 120u, 144u, 168u, 192u}) {
        const int right = RightEdge(SettingsControl::Dir1, dpi);
        EXPECT_EQ(RightEdge(SettingsControl::TxtDriveLetter, dpi), right) << dpi;
        EXPECT_EQ(RightEdge(SettingsControl::CmdCancel, dpi), right) << dpi;
    }
}

TEST(SettingsLayout, DesignPixelsScaleWithHalvesRoundedUp) {
    EXPECT_EQ(ScaleForDpi(16, 144), 24);
    EXPECT_EQ(ScaleForDpi(5, 144), 8);  // 7.5
}

}  // namespace
}  // namespace orvanel
