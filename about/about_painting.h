// What the about box paints on its client area: the logo, the sunken frame,
// the etched separator and the labels' shadows. The labels themselves are
// static controls that draw their text over it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "logo_picture.h"

namespace orvanel {

// The labels' text colour.
constexpr COLORREF kLabelGold = RGB(221, 173, 49);

// Where the painted parts stand, as laid out at the window's DPI.
struct AboutPainting {
    RECT image;      // the logo
    RECT frame;      // the sunken frame
    RECT separator;  // the etched line; its lowest row is the line's
};

// A label's text in its font and format, drawn at the shadow's place.
struct LabelShadowText {
    std::wstring text;
    HGDIOBJ font;
    RECT box;
    bool wraps;
};

void PaintAboutBox(HDC dc, UINT dpi, const LogoPicture& logo, const AboutPainting& parts,
                   const std::vector<LabelShadowText>& shadows);

}  // namespace orvanel
