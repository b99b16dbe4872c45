// The room a control's text needs, measured with the font the control draws
// it in, so that dialogs can grow their controls where the design's room is
// too small for the fonts at hand.
#pragma once

#include <windows.h>

#include <string>

#include "fitted_layout.h"

namespace orvanel {

// DrawText's DT_CALCRECT size of `text` in `font`; with DT_WORDBREAK in
// `format`, wrapped at `wrap_width`.
PixelSize TextSize(HWND window, HGDIOBJ font, const std::wstring& text, UINT format, int wrap_width = 0);

// A static control's text in its font, wrapped at `wrap_width` when its
// style wraps, as the control draws it.
PixelSize LabelNeed(HWND label, int wrap_width);

// A push button's caption in its font, with room for the button's edges and
// focus rectangle and a margin either side.
PixelSize ButtonNeed(HWND button, UINT dpi);

// A check box: its box, a gap and its caption in its font, with room for
// the focus rectangle around the caption.
PixelSize CheckBoxNeed(HWND box, UINT dpi);

// A single-line edit box showing `sample` in its font, inside its border and
// margins.
PixelSize EditNeed(HWND edit, const std::wstring& sample);

// The least client width that shows the window's caption in full beside its
// icon and caption buttons, in the caption font at `dpi`.
int CaptionClientWidth(HWND window, UINT dpi);

}  // namespace orvanel
