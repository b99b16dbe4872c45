#include "text_room.h"

#include <algorithm>

#include "handles.h"
#include "text.h"
#include "twips.h"

namespace orvanel {
namespace {

// Design pixels at 96 DPI.
constexpr int kButtonTextMargin = 6;  // between a button's focus rectangle and its caption
constexpr int kCaptionGap = 8;        // between a caption's text and its buttons
constexpr int kCheckGap = 6;          // between a check box's box and its text, the focus rectangle within

HGDIOBJ FontOf(HWND window) { return reinterpret_cast<HGDIOBJ>(::SendMessageW(window, WM_GETFONT, 0, 0)); }

// What the window's border and scroll bars take from its size.
SIZE NonClient(HWND window) {
    RECT outer{};
    RECT inner{};
    ::GetWindowRect(window, &outer);
    ::GetClientRect(window, &inner);
    return {(outer.right - outer.left) - inner.right, (outer.bottom - outer.top) - inner.bottom};
}

}  // namespace

PixelSize TextSize(HWND window, HGDIOBJ font, const std::wstring& text, UINT format, int wrap_width) {
    const MeasuringDc dc(window, font);
    RECT box{0, 0, (format & DT_WORDBREAK) != 0 ? wrap_width : 0, 0};
    // An empty text still takes one line.
    const std::wstring measured = text.empty() ? std::wstring(L" ") : text;
    ::DrawTextW(dc.get(), measured.c_str(), static_cast<int>(measured.size()), &box, format | DT_CALCRECT);
    return {box.right - box.left, box.bottom - box.top};
}

PixelSize LabelNeed(HWND label, int wrap_width) {
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(label, GWL_STYLE));
    const DWORD type = style & SS_TYPEMASK;
    UINT format = DT_EXPANDTABS;
    if (type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT) format |= DT_WORDBREAK;
    if ((style & SS_NOPREFIX) != 0) format |= DT_NOPREFIX;
    const PixelSize text = TextSize(label, FontOf(label), WindowText(label), format, wrap_width);
    const SIZE border = NonClient(label);
    return {text.width + border.cx, text.height + border.cy};
}

PixelSize ButtonNeed(HWND button, UINT dpi) {
    const PixelSize text = TextSize(button, FontOf(button), WindowText(button), DT_SINGLELINE);
    // The face's edge and, inside it, the focus rectangle.
    const int edge_x = 2 * ::GetSystemMetricsForDpi(SM_CXEDGE, dpi) + ::GetSystemMetricsForDpi(SM_CXBORDER, dpi);
    const int edge_y = 2 * ::GetSystemMetricsForDpi(SM_CYEDGE, dpi) + ::GetSystemMetricsForDpi(SM_CYBORDER, dpi);
    return {text.width + 2 * (edge_x + ScaleForDpi(kButtonTextMargin, dpi)), text.height + 2 * (edge_y + ScaleForDpi(1, dpi))};
}

PixelSize CheckBoxNeed(HWND box, UINT dpi) {
    const PixelSize text = TextSize(box, FontOf(box), WindowText(box), DT_SINGLELINE);
    const int check = ::GetSystemMetricsForDpi(SM_CXMENUCHECK, dpi);
    return {check + ScaleForDpi(kCheckGap, dpi) + text.width + ScaleForDpi(2, dpi),
            std::max(check, text.height) + ScaleForDpi(2, dpi)};
}

PixelSize EditNeed(HWND edit, const std::wstring& sample) {
    const PixelSize text = TextSize(edit, FontOf(edit), sample, DT_SINGLELINE | DT_NOPREFIX);
    const auto margins = static_cast<DWORD>(::SendMessageW(edit, EM_GETMARGINS, 0, 0));
    const SIZE border = NonClient(edit);
    // One more pixel across for the caret after the text.
    return {text.width + LOWORD(margins) + HIWORD(margins) + border.cx + 1, text.height + border.cy};
}

int CaptionClientWidth(HWND window, UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (!::SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi)) return 0;
    const HFONT font = ::CreateFontIndirectW(&metrics.lfCaptionFont);
    const PixelSize text = TextSize(window, font, WindowText(window), DT_SINGLELINE | DT_NOPREFIX);
    ::DeleteObject(font);
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE));
    int buttons = 0;
    if ((style & WS_SYSMENU) != 0) buttons = (style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) != 0 ? 3 : 1;
    const int button_width = std::max(::GetSystemMetricsForDpi(SM_CXSIZE, dpi), ::GetSystemMetricsForDpi(SM_CYCAPTION, dpi));
    const bool icon = ::SendMessageW(window, WM_GETICON, ICON_SMALL, 0) != 0 ||
                      ::SendMessageW(window, WM_GETICON, ICON_BIG, 0) != 0;
    const int icon_width = icon ? ::GetSystemMetricsForDpi(SM_CXSMICON, dpi) + ScaleForDpi(4, dpi) : 0;
    return ScaleForDpi(kCaptionGap, dpi) + icon_width + text.width + ScaleForDpi(kCaptionGap, dpi) + buttons * button_width;
}

}  // namespace orvanel
