#include "fitted_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "about_layout.h"
#include "settings_layout.h"

namespace orvanel {
namespace {

std::size_t At(SettingsControl control) { return SettingsIndex(control); }
std::size_t At(AboutPart part) { return AboutIndex(part); }

PixelRect Designed(SettingsControl control, unsigned dpi) { return ToPixels(kSettingsLayout[At(control)].twips, dpi); }
PixelRect Designed(AboutPart part, unsigned dpi) { return ToPixels(kAboutLayout[At(part)].twips, dpi); }

PixelRect Moved(PixelRect r, int dx, int dy) { return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }

void ExpectRect(const PixelRect& actual, const PixelRect& expected, const char* what) {
    EXPECT_EQ(actual.left, expected.left) << what;
    EXPECT_EQ(actual.top, expected.top) << what;
    EXPECT_EQ(actual.right, expected.right) << what;
    EXPECT_EQ(actual.bottom, expected.bottom) << what;
}

TEST(FitLayout, KeepsTheDesignWhereTheTextsFitInIt) {
    for (const unsigned dpi : {96u, 144u}) {
        SettingsNeeds needs{};
        needs[At(SettingsControl::Label1)] = {40, 10};  // less than designed
        const SettingsPlacement placed = FitSettingsLayout(dpi, needs);
        for (std::size_t i = 0; i < kSettingsLayout.size(); ++i) {
            ExpectRect(placed.boxes[i], ToPixels(kSettingsLayout[i].twips, dpi), "settings control");
        }
        const PixelRect client = ToPixels(kSettingsClient, dpi);
        EXPECT_EQ(placed.client.width, client.right);
        EXPECT_EQ(placed.client.height, client.bottom);
    }
}

TEST(FitLayout, AWiderLabelPushesItsRowRightAndTheDialogGrowsWithIt) {
    SettingsNeeds needs{};
    const PixelRect label = Designed(SettingsControl::Label1, 96);
    needs[At(SettingsControl::Label1)] = {label.right - label.left + 20, label.bottom - label.top};
    const SettingsPlacement placed = FitSettingsLayout(96, needs);

    ExpectRect(placed.boxes[At(SettingsControl::Label1)], {label.left, label.top, label.right + 20, label.bottom},
               "the label grows to the right");
    ExpectRect(placed.boxes[At(SettingsControl::TxtDriveLetter)],
               Moved(Designed(SettingsControl::TxtDriveLetter, 96), 20, 0), "the letter box moves along");
    ExpectRect(placed.boxes[At(SettingsControl::Drive1)], Designed(SettingsControl::Drive1, 96),
               "the drive list before it stays");
    ExpectRect(placed.boxes[At(SettingsControl::CmdOK)], Designed(SettingsControl::CmdOK, 96), "OK stays");
    // The list and Cancel still end where the letter box ends.
    const int right = placed.boxes[At(SettingsControl::TxtDriveLetter)].right;
    EXPECT_EQ(placed.boxes[At(SettingsControl::Dir1)].right, right);
    EXPECT_EQ(placed.boxes[At(SettingsControl::CmdCancel)].right, right);
    EXPECT_EQ(placed.boxes[At(SettingsControl::CmdCancel)].left, Designed(SettingsControl::CmdCancel, 96).left);
    EXPECT_EQ(placed.client.width, 202 + 20);
    EXPECT_EQ(placed.client.height, 243);
}

TEST(FitLayout, ATallerTextPushesWhatLiesBelowAndItsParentsGrowAroundIt) {
    AboutNeeds needs{};
    const PixelRect statement = Designed(AboutPart::LblDeclration, 96);
    needs[At(AboutPart::LblDeclration)] = {statement.right - statement.left, statement.bottom - statement.top + 13};
    const AboutPlacement placed = FitAboutLayout(96, needs);

    ExpectRect(placed.boxes[At(AboutPart::LblDeclration)],
               {statement.left, statement.top, statement.right, statement.bottom + 13}, "the statement grows down");
    // The logo behind it keeps its margin of 9 pixels below the statement.
    const PixelRect image = Designed(AboutPart::Image1, 96);
    EXPECT_EQ(image.bottom - statement.bottom, 9);
    ExpectRect(placed.boxes[At(AboutPart::Image1)], {image.left, image.top, image.right, image.bottom + 13},
               "the logo grows around it");
    for (const AboutPart button : {AboutPart::CmdEmail, AboutPart::CmdHomePage, AboutPart::CmdOK}) {
        ExpectRect(placed.boxes[At(button)], Moved(Designed(button, 96), 0, 13), "the buttons move down");
    }
    for (const AboutPart part : {AboutPart::Label1, AboutPart::LblTitle, AboutPart::Separator}) {
        ExpectRect(placed.boxes[At(part)], Designed(part, 96), "what lies above stays");
    }
    EXPECT_EQ(placed.client.height, 296 + 13);
    EXPECT_EQ(placed.client.width, 563);

    // A copyright reaching into the frame's margin widens the frame, whose
    // separator follows it; the logo keeps its part beside the frame, and
    // the box and its button row widen with it.
    const PixelRect frame = Designed(AboutPart::Label1, 96);
    const PixelRect copyright = Designed(AboutPart::LblCopyright, 96);
    needs = {};
    needs[At(AboutPart::LblCopyright)] = {frame.right - copyright.left, copyright.bottom - copyright.top};
    const AboutPlacement wide = FitAboutLayout(96, needs);
    const int widened = wide.boxes[At(AboutPart::Label1)].right - frame.right;
    EXPECT_EQ(widened, frame.right - Designed(AboutPart::Separator, 96).right);
    EXPECT_EQ(wide.boxes[At(AboutPart::Separator)].right, Designed(AboutPart::Separator, 96).right + widened);
    EXPECT_EQ(wide.boxes[At(AboutPart::Image1)].right, Designed(AboutPart::Image1, 96).right + widened);
    EXPECT_EQ(wide.boxes[At(AboutPart::CmdOK)].right, Designed(AboutPart::CmdOK, 96).right + widened);
    EXPECT_EQ(wide.client.width, 563 + widened);
}

TEST(FitLayout, ACaptionWiderThanTheDesignWidensTheDialog) {
    const SettingsPlacement placed = FitSettingsLayout(144, SettingsNeeds{}, {400, 0});
    EXPECT_EQ(placed.client.width, 400);
    const int grown = 400 - ToPixels(kSettingsClient, 144).right;
    ExpectRect(placed.boxes[At(SettingsControl::TxtDriveLetter)],
               Moved(Designed(SettingsControl::TxtDriveLetter, 144), grown, 0), "the letter box keeps to the edge");
    EXPECT_EQ(placed.boxes[At(SettingsControl::Dir1)].right, Designed(SettingsControl::Dir1, 144).right + grown);
    ExpectRect(placed.boxes[At(SettingsControl::Label1)], Designed(SettingsControl::Label1, 144), "the label stays");
}

// Deterministic pseudo-random numbers, so that a failure repeats.
class Numbers {
public:
    int Below(int limit) {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<int>((state_ >> 33) % static_cast<std::uint64_t>(limit));
    }

private:
    std::uint64_t state_ = 20260101;
};

bool Overlap(const PixelRect& a, const PixelRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// Whatever the texts need: nothing shrinks or moves up or left, every box
// gets its need, stays within its parent, and boxes apart by design stay apart.
void CheckFitted(const std::vector<LayoutBox>& boxes, const FittedLayout& fitted, PixelSize designed_client) {
    ASSERT_EQ(fitted.boxes.size(), boxes.size());
    const PixelRect client{0, 0, fitted.client.width, fitted.client.height};
    EXPECT_GE(fitted.client.width, designed_client.width);
    EXPECT_GE(fitted.client.height, designed_client.height);
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const PixelRect& d = boxes[i].designed;
        const PixelRect& p = fitted.boxes[i];
        EXPECT_GE(p.left, d.left) << i;
        EXPECT_GE(p.top, d.top) << i;
        EXPECT_GE(p.right - p.left, std::max(d.right - d.left, boxes[i].need.width)) << i;
        EXPECT_GE(p.bottom - p.top, std::max(d.bottom - d.top, boxes[i].need.height)) << i;
        const PixelRect& parent = boxes[i].parent < 0 ? client : fitted.boxes[static_cast<std::size_t>(boxes[i].parent)];
        EXPECT_TRUE(p.left >= parent.left && p.top >= parent.top && p.right <= parent.right &&
                    p.bottom <= parent.bottom)
            << i << " lies outside its parent";
        for (std::size_t j = 0; j < i; ++j) {
            if (boxes[j].parent != boxes[i].parent || Overlap(boxes[j].designed, d)) continue;
            EXPECT_FALSE(Overlap(fitted.boxes[j], p)) << j << " and " << i << " came to overlap";
        }
    }
}

TEST(FitLayout, WhateverTheTextsNeedNothingShrinksLeavesItsParentOrRunsIntoAnother) {
    Numbers numbers;
    for (const unsigned dpi : {96u, 120u, 144u, 192u}) {
        for (int round = 0; round < 200; ++round) {
            std::vector<LayoutBox> boxes;
            for (const auto& part : kAboutLayout) {
                const PixelRect r = ToPixels(part.twips, dpi);
                const bool measured = numbers.Below(3) != 0;
                const PixelSize need = measured ? PixelSize{numbers.Below(3 * (r.right - r.left)),
                                                            numbers.Below(3 * (r.bottom - r.top) + 1)}
                                                : PixelSize{};
                boxes.push_back({r, need, part.parent, part.right});
            }
            const PixelRect client = ToPixels(kAboutClient, dpi);
            const PixelSize caption{numbers.Below(2 * client.right), 0};
            CheckFitted(boxes, FitLayout(boxes, {client.right, client.bottom}, caption), {client.right, client.bottom});

            boxes.clear();
            for (const auto& control : kSettingsLayout) {
                const PixelRect r = ToPixels(control.twips, dpi);
                boxes.push_back({r, {numbers.Below(3 * (r.right - r.left)), numbers.Below(3 * (r.bottom - r.top))},
                                 -1, control.right});
            }
            const PixelRect settings = ToPixels(kSettingsClient, dpi);
            CheckFitted(boxes, FitLayout(boxes, {settings.right, settings.bottom}), {settings.right, settings.bottom});
            if (HasFailure()) return;
        }
    }
}

TEST(AboutLayout, ShadowsKeepTheirDesignedOffsetFromTheirLabels) {
    const LabelShadow& title = kAboutShadows[0];
    ASSERT_EQ(title.label, AboutPart::LblTitle);
    // 30 twips right and down: 2 pixels at 96 DPI, 3 at 144.
    ExpectRect(ShadowRect(title, {10, 20, 110, 60}, 96), {12, 22, 112, 62}, "title shadow at 96 DPI");
    ExpectRect(ShadowRect(title, {10, 20, 110, 60}, 144), {13, 23, 113, 63}, "title shadow at 144 DPI");
}

}  // namespace
}  // namespace orvanel
