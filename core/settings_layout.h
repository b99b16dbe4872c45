// Where the settings dialog's controls stand: designed in twips, laid out in
// pixels for the window's DPI.
#pragma once

#include <array>

#include "twips.h"

namespace orvanel {

enum class SettingsControl { Drive1, Label1, TxtDriveLetter, Dir1, CmdOK, CmdCancel };

struct PlacedControl {
    SettingsControl control;
    TwipsRect twips;
};

// The client area, and every control within it, as designed.
constexpr TwipsRect kSettingsClient{0, 0, 3030, 3645};
constexpr std::array<PlacedControl, 6> kSettingsLayout{{
    {SettingsControl::Drive1, {120, 120, 855, 315}},
    {SettingsControl::Label1, {1080, 150, 1335, 255}},
    {SettingsControl::TxtDriveLetter, {2400, 120, 495, 285}},
    {SettingsControl::Dir1, {120, 600, 2775, 2340}},
    {SettingsControl::CmdOK, {120, 3000, 1455, 495}},
    {SettingsControl::CmdCancel, {1560, 3000, 1335, 495}},
}};

// A length of `pixels_at_96` design pixels (icon sizes, gaps) at `dpi`,
// halves rounded away from zero.
int ScaleForDpi(int pixels_at_96, unsigned dpi);

}  // namespace orvanel
