#include "icon_rows.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>

#include "drives.h"
#include "twips.h"

namespace orvanel {
namespace {

// Draws the icon vertically centred and returns its right edge; a short
// selection field shrinks it.
int DrawRowIcon(const DRAWITEMSTRUCT& item, int indent, HICON icon, UINT dpi) {
    const int row_height = item.rcItem.bottom - item.rcItem.top;
    const int drawn = std::min(ScaleForDpi(kIconSize, dpi), row_height);
    const int x = item.rcItem.left + ScaleForDpi(kRowMargin, dpi) + indent;
    const int y = item.rcItem.top + (row_height - drawn) / 2;
    if (icon != nullptr) ::DrawIconEx(item.hDC, x, y, icon, drawn, drawn, 0, nullptr, DI_NORMAL);
    return x + drawn;
}

void DrawRowText(const DRAWITEMSTRUCT& item, int left, const std::wstring& text, HGDIOBJ font, UINT dpi) {
    const HDC dc = item.hDC;
    const int gap = ScaleForDpi(kIconGap, dpi);
    SelectedObject selected_font(dc, font);
    RECT text_rect = item.rcItem;
    text_rect.left = left + gap;
    text_rect.right = std::min(item.rcItem.right, text_rect.left + TextWidth(dc, text) + gap);
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    ::FillRect(dc, &text_rect, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(disabled ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    RECT inner = text_rect;
    inner.left += ScaleForDpi(1, dpi);
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &inner,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) ::DrawFocusRect(dc, &text_rect);
}

}  // namespace

int TextWidth(HDC dc, const std::wstring& text) {
    SIZE extent{};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    return extent.cx;
}

// Extracted at the wanted size from where the shell keeps the item's icon,
// so that a scaled display gets a sharp one; else the shell's small icon,
// drawn scaled.
UniqueIcon LoadShellIcon(const std::wstring& path, UINT open_flag, int size) {
    QuietDriveErrors quiet;
    SHFILEINFOW info{};
    UniqueIcon icon;
    if (::SHGetFileInfoW(path.c_str(), 0, &info, sizeof(info), SHGFI_ICONLOCATION | open_flag) &&
        info.szDisplayName[0] != L'\0') {
        HICON extracted = nullptr;
        const UINT sizes = MAKELONG(size, size);
        if (::SHDefExtractIconW(info.szDisplayName, info.iIcon, 0, &extracted, nullptr, sizes) == S_OK) {
            icon.reset(extracted);
        }
    }
    if (!icon && ::SHGetFileInfoW(path.c_str(), 0, &info, sizeof(info), SHGFI_ICON | SHGFI_SMALLICON | open_flag)) {
        icon.reset(info.hIcon);
    }
    return icon;
}

void DrawIconRow(const DRAWITEMSTRUCT& item, int indent, HICON icon, const std::wstring& text,
                 HGDIOBJ font, UINT dpi) {
    ::FillRect(item.hDC, &item.rcItem, ::GetSysColorBrush(COLOR_WINDOW));
    const int icon_right = DrawRowIcon(item, indent, icon, dpi);
    DrawRowText(item, icon_right, text, font, dpi);
}

}  // namespace orvanel
