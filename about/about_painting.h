// What the about box paints on its client area: the logo, the labels with
// their shadows, the sunken frame and the etched separator.
#pragma once

#include <windows.h>

#include <string>

#include "about_fonts.h"
#include "logo_picture.h"

namespace orvanel {

// Each shadow shows its main label's text.
struct LabelTexts {
    std::wstring title;
    std::wstring version;
    std::wstring copyright;
    std::wstring declaration;
};

void PaintAboutBox(HDC dc, UINT dpi, const LogoPicture& logo, const LabelTexts& texts,
                   const AboutFonts& fonts);

}  // namespace orvanel
