// The settings dialog at a DPI: its font, the lists' row height and where
// each control stands.
#pragma once

#include <windows.h>

#include "fitted_layout.h"
#include "handles.h"

namespace orvanel {

// The shell's dialog face at 8 points.
UniqueGdiObject CreateDialogFont(UINT dpi);
// The taller of an icon and a line of text, plus a little padding.
int ListRowHeight(HWND dialog, HGDIOBJ font, UINT dpi);
// Every control where the design puts it, grown where its text needs more
// room in the font it holds (`drive_row`: what the widest drive's row takes
// in `Drive1`); `Drive1` is fitted so that it is as high closed as placed.
// Returns the client area's size.
PixelSize PlaceControls(HWND dialog, UINT dpi, int row_height, int drive_row);

}  // namespace orvanel
