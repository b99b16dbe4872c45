// Rows of a shell icon and a text, as both owner-drawn lists of the settings
// dialog show them.
#pragma once

#include <windows.h>

#include <string>

#include "handles.h"

namespace orvanel {

// Design pixels at 96 DPI, scaled for the window's DPI.
constexpr int kIconSize = 16;
constexpr int kIconGap = 3;    // between an icon and its text
constexpr int kRowMargin = 2;  // left of the first level's icon

int TextWidth(HDC dc, const std::wstring& text);

// The shell's icon for a file system item at `size` pixels; `open_flag` is
// 0 or SHGFI_OPENICON. Empty when the shell has none.
UniqueIcon LoadShellIcon(const std::wstring& path, UINT open_flag, int size);

// Icon, then text, `indent` pixels in; only the text is highlighted, as in
// the classic lists. `font` and `dpi` are the dialog's.
void DrawIconRow(const DRAWITEMSTRUCT& item, int indent, HICON icon, const std::wstring& text,
                 HGDIOBJ font, UINT dpi);

}  // namespace orvanel
