#include "fitted_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "about_layout.h"
#include "settings_layout.h"

namespace orvanel {
namespace {

using S = SettingsControl;
using A = AboutPart;
using Rect = std::array<int, 4>;

Rect R(const PixelRect& r) { return {r.left, r.top, r.right, r.bottom}; }
Rect Designed(S control, unsigned dpi = 96) { return R(ToPixels(kSettingsLayout[IndexOf(kSettingsLayout, control)].twips, dpi)); }
Rect Designed(A part, unsigned dpi = 96) { return R(ToPixels(kAboutLayout[AboutIndex(part)].twips, dpi)); }
Rect Placed(const SettingsPlacement& p, S control) { return R(p.boxes[IndexOf(kSettingsLayout, control)]); }
Rect Placed(const AboutPlacement& p, A part) { return R(p.boxes[AboutIndex(part)]); }
Rect Client(PixelSize size) { return {0, 0, size.width, size.height}; }
// The rectangle with its left, top, right and bottom edges moved by the given amounts.
Rect Plus(Rect r, int l, int t, int rt, int b) { return {r[0] + l, r[1] + t, r[2] + rt, r[3] + b}; }

TEST(FitLayout, AWiderLabelPushesItsRowRightAndTheDialogGrowsWithIt) {
    SettingsNeeds needs{};
    const Rect label = Designed(S::Label1);
    needs[IndexOf(kSettingsLayout, S::Label1)] = {label[2] - label[0] + 20, label[3] - label[1]};
    const SettingsPlacement placed = FitSettingsLayout(96, needs);
    EXPECT_EQ(Placed(placed, S::Label1), Plus(label, 0, 0, 20, 0));
    EXPECT_EQ(Placed(placed, S::TxtDriveLetter), Plus(Designed(S::TxtDriveLetter), 20, 0, 20, 0));
    EXPECT_EQ(Placed(placed, S::Drive1), Designed(S::Drive1));
    // The list and Cancel still end where the letter box ends; OK and Cancel
    // share their row, 103 pixels each, overlapping by the designed pixel.
    EXPECT_EQ(Placed(placed, S::Dir1), Plus(Designed(S::Dir1), 0, 0, 20, 0));
    EXPECT_EQ(Placed(placed, S::CmdOK), Plus(Designed(S::CmdOK), 0, 0, 6, 0));
    EXPECT_EQ(Placed(placed, S::CmdCancel), Plus(Designed(S::CmdCancel), 6, 0, 20, 0));
    EXPECT_EQ(Client(placed.client), Plus(R(ToPixels(kSettingsClient, 96)), 0, 0, 20, 0));

    // A text wider than half the row gets that room in both buttons.
    needs = {};
    needs[IndexOf(kSettingsLayout, S::CmdOK)] = {150, 0};
    const SettingsPlacement wide = FitSettingsLayout(96, needs);
    EXPECT_EQ(Placed(wide, S::CmdOK), (Rect{8, 240, 158, 273}));
    EXPECT_EQ(Placed(wide, S::CmdCancel), (Rect{157, 240, 307, 273}));
}

TEST(FitLayout, ATallerTextPushesWhatLiesBelowAndItsParentsGrowAroundIt) {
    AboutNeeds needs{};
    const Rect statement = Designed(A::LblDeclration);
    needs[AboutIndex(A::LblDeclration)] = {statement[2] - statement[0], statement[3] - statement[1] + 13};
    const AboutPlacement placed = FitAboutLayout(96, needs);
    EXPECT_EQ(Placed(placed, A::LblDeclration), Plus(statement, 0, 0, 0, 13));
    // The logo behind it keeps its margin below the statement.
    EXPECT_EQ(Placed(placed, A::Image1), Plus(Designed(A::Image1), 0, 0, 0, 13));
    for (const A button : {A::CmdEmail, A::CmdHomePage, A::CmdOK})
        EXPECT_EQ(Placed(placed, button), Plus(Designed(button), 0, 13, 0, 13));
    for (const A part : {A::Label1, A::LblTitle, A::Separator}) EXPECT_EQ(Placed(placed, part), Designed(part));
    EXPECT_EQ(Client(placed.client), (Rect{0, 0, 563, 296 + 13}));
}

TEST(FitLayout, ACaptionWiderThanTheDesignWidensTheDialog) {
    const SettingsPlacement placed = FitSettingsLayout(144, SettingsNeeds{}, {400, 0});
    EXPECT_EQ(placed.client.width, 400);
    const int grown = 400 - ToPixels(kSettingsClient, 144).right;
    EXPECT_EQ(Placed(placed, S::TxtDriveLetter), Plus(Designed(S::TxtDriveLetter, 144), grown, 0, grown, 0));
    EXPECT_EQ(Placed(placed, S::Dir1), Plus(Designed(S::Dir1, 144), 0, 0, grown, 0));
    EXPECT_EQ(Placed(placed, S::Label1), Designed(S::Label1, 144));
}

bool Overlap(const PixelRect& a, const PixelRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// Whatever the texts need: nothing shrinks or moves up or left, every box
// gets its need, stays within its parent, and boxes apart by design stay apart.
void CheckFitted(const std::vector<LayoutBox>& boxes, const TwipsRect& client_twips, unsigned dpi, PixelSize caption) {
    const PixelRect designed = ToPixels(client_twips, dpi);
    const FittedLayout fitted = FitLayout(boxes, {designed.right, designed.bottom}, caption);
    ASSERT_EQ(fitted.boxes.size(), boxes.size());
    const PixelRect client{0, 0, fitted.client.width, fitted.client.height};
    EXPECT_GE(fitted.client.width, std::max(designed.right, caption.width));
    EXPECT_GE(fitted.client.height, designed.bottom);
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const PixelRect &d = boxes[i].designed, &p = fitted.boxes[i];
        EXPECT_TRUE(p.left >= d.left && p.top >= d.top) << i;
        EXPECT_GE(p.right - p.left, std::max(d.right - d.left, boxes[i].need.width)) << i;
        EXPECT_GE(p.bottom - p.top, std::max(d.bottom - d.top, boxes[i].need.height)) << i;
        const PixelRect& parent = boxes[i].parent < 0 ? client : fitted.boxes[static_cast<std::size_t>(boxes[i].parent)];
        EXPECT_TRUE(p.left >= parent.left && p.top >= parent.top && p.right <= parent.right && p.bottom <= parent.bottom)
            << i << " lies outside its parent";
        for (std::size_t j = 0; j < i; ++j) {
            if (boxes[j].parent != boxes[i].parent || Overlap(boxes[j].designed, d)) continue;
            EXPECT_FALSE(Overlap(fitted.boxes[j], p)) << j << " and " << i << " came to overlap";
        }
    }
}

TEST(FitLayout, WhateverTheTextsNeedNothingShrinksLeavesItsParentOrRunsIntoAnother) {
    std::mt19937 random(20260101);  // fixed, so that a failure repeats
    const auto below = [&random](int limit) { return static_cast<int>(random() % static_cast<unsigned>(limit)); };
    const auto random_boxes = [&below](const auto& design, unsigned dpi, bool some_unmeasured) {
        std::vector<LayoutBox> boxes;
        for (const auto& part : design) {
            const PixelRect r = ToPixels(part.twips, dpi);
            PixelSize need{below(3 * (r.right - r.left)), below(3 * (r.bottom - r.top) + 1)};
            if (some_unmeasured && below(3) == 0) need = {};
            boxes.push_back({r, need, part.parent, part.right});
        }
        return boxes;
    };
    for (const unsigned dpi : {96u, 120u, 144u, 192u}) {
        for (int round = 0; round < 200 && !HasFailure(); ++round) {
            CheckFitted(random_boxes(kAboutLayout, dpi, true), kAboutClient, dpi, {below(2 * ToPixels(kAboutClient, dpi).right), 0});
            CheckFitted(random_boxes(kSettingsLayout, dpi, false), kSettingsClient, dpi, {});
        }
    }
}

TEST(AboutLayout, ShadowsKeepTheirDesignedOffsetFromTheirLabelsAndOkStretchesWithTheBox) {
    // At 1440 DPI a twip is a pixel: the designed offsets themselves.
    const Rect offsets[] = {{30, 30, 30, 30}, {45, 29, 45, 29}, {30, 30, 30, 30}, {21, 34, 21, 34}};
    for (std::size_t i = 0; i < kAboutShadows.size(); ++i)
        EXPECT_EQ(R(ShadowRect(kAboutShadows[i], {0, 0, 100, 40}, 1440)), Plus(offsets[i], 0, 0, 100, 40)) << i;
    EXPECT_EQ(R(ShadowRect(kAboutShadows[0], {10, 20, 110, 60}, 144)), (Rect{13, 23, 113, 63})) << "halves away from zero";
    const AboutPlacement wide = FitAboutLayout(96, AboutNeeds{}, {700, 0});
    EXPECT_EQ(Placed(wide, A::CmdOK), Plus(Designed(A::CmdOK), 0, 0, 700 - 563, 0));
    EXPECT_EQ(Placed(wide, A::CmdEmail), Designed(A::CmdEmail));
}

TEST(FitLayout, BoxesThatOnlyTouchAreNotInEachOthersWayAndGrowthAcrossAndDownMovesEachNeighbourItsOwnWay) {
    // C touches A's bottom right corner only: A growing across leaves it.
    const FittedLayout touching = FitLayout({{{0, 0, 50, 10}, {70, 10}}, {{50, 10, 90, 20}, {}}}, {100, 30});
    EXPECT_EQ(R(touching.boxes[1]), (Rect{50, 10, 90, 20}));
    // A grows 20 across and 20 down: B beside it moves across only, D below it down only, and E,
    // beside A's grown rows but not below its columns, across only.
    const FittedLayout both = FitLayout(
        {{{0, 0, 50, 10}, {70, 30}}, {{60, 0, 100, 10}, {}}, {{0, 20, 50, 30}, {}}, {{60, 20, 100, 30}, {}}}, {120, 40});
    EXPECT_EQ(R(both.boxes[1]), (Rect{80, 0, 120, 10}));
    EXPECT_EQ(R(both.boxes[2]), (Rect{0, 40, 50, 50}));
    EXPECT_EQ(R(both.boxes[3]), (Rect{80, 20, 120, 30}));
    // A box that follows a wider parent's right edge takes its own followers along; one that moves, its contents.
    const FittedLayout nested = FitLayout({{{0, 0, 50, 10}, {}, -1, RightEdge::Follows}, {{10, 0, 40, 10}, {}, 0, RightEdge::Follows},
                                           {{60, 0, 90, 10}, {}, -1, RightEdge::Moves}, {{65, 0, 85, 10}, {}, 2, RightEdge::Stays}},
                                          {100, 20}, {140, 0});
    EXPECT_EQ(R(nested.boxes[1]), (Rect{10, 0, 80, 10}));
    EXPECT_EQ(R(nested.boxes[3]), (Rect{105, 0, 125, 10}));
}

}  // namespace
}  // namespace orvanel
