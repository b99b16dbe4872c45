// The settings dialog at a DPI: its font, the lists' row height, where each
// control stands and how big the window is.
#pragma once

#include <windows.h>

#include "handles.h"

namespace orvanel {

// The shell's dialog face at 8 points.
UniqueGdiObject CreateDialogFont(UINT dpi);
// The taller of an icon and a line of text, plus a little padding.
int ListRowHeight(HWND dialog, HGDIOBJ font, UINT dpi);
// Every control where the design puts it; `Drive1` is fitted so that it is
// as high closed as designed.
void PlaceControls(HWND dialog, UINT dpi, int row_height);
// The window size that gives the designed client area.
SIZE WindowSizeForClient(HWND dialog, UINT dpi);

}  // namespace orvanel
