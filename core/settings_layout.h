// Where the settings dialog's controls stand: designed in twips, laid out in
// pixels for the window's DPI and grown where their texts need more room.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>

#include "fitted_layout.h"
#include "twips.h"

namespace orvanel {

enum class SettingsControl {
    Drive1, Label1, TxtDriveLetter, Dir1, ChkMountAtStart, ChkStartAtSignIn, CmdOK, CmdCancel
};

// The client area, and every control within it, as designed. The letter box
// keeps to the right edge, and the folder list and Cancel stretch to it, so
// that the three still end together when the dialog grows wider; OK and
// Cancel then share their row (FitSettingsLayout). The two options stand
// below the folder list, one a row.
constexpr TwipsRect kSettingsClient{0, 0, 3030, 4245};
constexpr std::array<DesignedBox<SettingsControl>, 8> kSettingsLayout{{
    {SettingsControl::Drive1, {120, 120, 855, 315}, -1, RightEdge::Stays},
    {SettingsControl::Label1, {1080, 150, 1335, 255}, -1, RightEdge::Stays},
    {SettingsControl::TxtDriveLetter, {2400, 120, 495, 285}, -1, RightEdge::Moves},
    {SettingsControl::Dir1, {120, 600, 2775, 2340}, -1, RightEdge::Follows},
    {SettingsControl::ChkMountAtStart, {120, 3015, 2775, 255}, -1, RightEdge::Stays},
    {SettingsControl::ChkStartAtSignIn, {120, 3300, 2775, 255}, -1, RightEdge::Stays},
    {SettingsControl::CmdOK, {120, 3600, 1455, 495}, -1, RightEdge::Stays},
    {SettingsControl::CmdCancel, {1560, 3600, 1335, 495}, -1, RightEdge::Follows},
}};

using SettingsNeeds = std::array<PixelSize, kSettingsLayout.size()>;
using SettingsPlacement = Placement<kSettingsLayout.size()>;

// OK and Cancel each get room for the wider of their two texts, so that
// sharing their row in halves leaves both readable.
inline SettingsPlacement FitSettingsLayout(unsigned dpi, SettingsNeeds needs, PixelSize client_need = {}) {
    const std::size_t ok = IndexOf(kSettingsLayout, SettingsControl::CmdOK);
    const std::size_t cancel = IndexOf(kSettingsLayout, SettingsControl::CmdCancel);
    needs[ok].width = needs[cancel].width = std::max(needs[ok].width, needs[cancel].width);
    SettingsPlacement placement = FitDesign(kSettingsLayout, kSettingsClient, dpi, needs, client_need);
    ShareRow(placement.boxes[ok], placement.boxes[cancel], ToPixels(kSettingsLayout[ok].twips, dpi),
             ToPixels(kSettingsLayout[cancel].twips, dpi));
    return placement;
}

}  // namespace orvanel
