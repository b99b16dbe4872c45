// The about box's fonts: the installed faces nearest the design's, at the
// window's DPI.
#pragma once

#include <windows.h>

#include "handles.h"

namespace orvanel {

struct AboutFonts {
    UniqueGdiObject title;   // lblTitle, bold
    UniqueGdiObject label;   // the other labels, bold
    UniqueGdiObject button;  // the buttons' captions
};

AboutFonts MakeAboutFonts(UINT dpi);

}  // namespace orvanel
