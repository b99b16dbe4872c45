// Where the settings dialog's controls stand: designed in twips, laid out in
// pixels for the window's DPI and grown where their texts need more room.
#pragma once

#include <array>
#include <cstddef>

#include "fitted_layout.h"
#include "twips.h"

namespace orvanel {

enum class SettingsControl { Drive1, Label1, TxtDriveLetter, Dir1, CmdOK, CmdCancel };

struct PlacedControl {
    SettingsControl control;
    TwipsRect twips;
    RightEdge right;  // when the dialog grows wider
};

// The client area, and every control within it, as designed. The letter box
// keeps to the right edge, and the folder list and Cancel stretch to it, so
// that the three still end together when the dialog grows wider.
constexpr TwipsRect kSettingsClient{0, 0, 3030, 3645};
constexpr std::array<PlacedControl, 6> kSettingsLayout{{
    {SettingsControl::Drive1, {120, 120, 855, 315}, RightEdge::Stays},
    {SettingsControl::Label1, {1080, 150, 1335, 255}, RightEdge::Stays},
    {SettingsControl::TxtDriveLetter, {2400, 120, 495, 285}, RightEdge::Moves},
    {SettingsControl::Dir1, {120, 600, 2775, 2340}, RightEdge::Follows},
    {SettingsControl::CmdOK, {120, 3000, 1455, 495}, RightEdge::Stays},
    {SettingsControl::CmdCancel, {1560, 3000, 1335, 495}, RightEdge::Follows},
}};

// The room each control's content needs at the DPI, in the order of
// kSettingsLayout; 0 where the design's size is enough.
using SettingsNeeds = std::array<PixelSize, kSettingsLayout.size()>;

struct SettingsPlacement {
    std::array<PixelRect, kSettingsLayout.size()> controls;  // in the order of kSettingsLayout
    PixelSize client;
};

// The design at `dpi`, grown to the needs; `client_need` is the least
// client area besides (the caption's text).
SettingsPlacement FitSettingsLayout(unsigned dpi, const SettingsNeeds& needs, PixelSize client_need = {});

// The index of a control in kSettingsLayout.
std::size_t SettingsIndex(SettingsControl control);

// A length of `pixels_at_96` design pixels (icon sizes, gaps) at `dpi`,
// halves rounded away from zero.
int ScaleForDpi(int pixels_at_96, unsigned dpi);

}  // namespace orvanel
