// Dialogs that place their controls themselves at every DPI.
#pragma once

#include <windows.h>

#include "fitted_layout.h"

namespace orvanel {

// Windows 10 1703 and later rescale a dialog and its controls on a DPI
// change by themselves, which would fight the dialog's own layout. Looked up
// at run time: older systems and Wine lack it.
void TakeOverDpiChanges(HWND dialog);

// The window size, for its style at `dpi`, around a client area of `client`.
SIZE WindowSizeForClient(HWND dialog, UINT dpi, PixelSize client);

}  // namespace orvanel
