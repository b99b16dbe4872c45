// Loaded into the program under test by a message hook that the probe sets
// on a window's thread: there, unlike in the probe, the fonts the controls
// hold can be read (GDI objects belong to their process). It measures every
// text of the window with the font it is drawn in, or changes the window's
// DPI, and answers the probe's window with WM_COPYDATA.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

HINSTANCE module_instance = nullptr;

std::wstring TextOf(HWND window) {
    std::vector<wchar_t> text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    const int length = GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
    return std::wstring(text.data(), static_cast<size_t>(std::max(length, 0)));
}
DWORD StyleOf(HWND window) { return static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)); }
HGDIOBJ FontOf(HWND window) { return reinterpret_cast<HGDIOBJ>(SendMessageW(window, WM_GETFONT, 0, 0)); }
LRESULT Send(HWND window, UINT message, WPARAM wparam = 0, LPARAM lparam = 0) {
    return SendMessageW(window, message, wparam, lparam);
}

SIZE Measure(HWND window, HGDIOBJ font, const std::wstring& text, UINT format, int wrap_width = 0) {
    HDC dc = GetDC(window);
    const HGDIOBJ before = SelectObject(dc, font ? font : GetStockObject(SYSTEM_FONT));
    RECT box{0, 0, wrap_width, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, format | DT_CALCRECT);
    SelectObject(dc, before);
    ReleaseDC(window, dc);
    return {box.right - box.left, box.bottom - box.top};
}

// One line per text: "ID<tab>WHAT<tab>fits|CUT<tab>need WxH room WxH<tab>TEXT".
struct Report {
    std::wstring text;
    void Add(int id, const wchar_t* what, SIZE need, SIZE room, const std::wstring& shown) {
        const bool fits = need.cx <= room.cx && need.cy <= room.cy;
        wchar_t line[160];
        swprintf(line, 160, L"%d\t%ls\t%ls\tneed %ldx%ld room %ldx%ld\t", id, what, fits ? L"fits" : L"CUT", need.cx,
                 need.cy, room.cx, room.cy);
        text += line + shown + L"\n";
    }
};

// Wine's caption: the text from 2 pixels past the icon, if any, to the
// close button, which is as wide as the caption is high.
void MeasureCaption(HWND window, UINT dpi, Report& report) {
    const DWORD style = StyleOf(window);
    if ((style & WS_CAPTION) != WS_CAPTION) return;
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi);
    const HFONT font = CreateFontIndirectW(&metrics.lfCaptionFont);
    const std::wstring text = TextOf(window);
    const SIZE need = Measure(window, font, text, DT_SINGLELINE | DT_NOPREFIX);
    DeleteObject(font);
    RECT inner;
    GetClientRect(window, &inner);
    int width = inner.right - 2;  // the frame lies outside the client area on both sides alike
    if (Send(window, WM_GETICON, ICON_SMALL2)) width -= GetSystemMetricsForDpi(SM_CXSMICON, dpi) + 2;
    if (style & WS_SYSMENU) width -= GetSystemMetricsForDpi(SM_CYCAPTION, dpi) - 1;
    report.Add(0, L"caption", need, SIZE{width, need.cy}, text);
}

// Draws one row of an owner-drawn combo box the way the dialog draws it, on
// a wide bitmap filled first, and returns how far right it drew: whatever
// differs from the row's far end.
int DrawnRowWidth(HWND combo, int item, int height, UINT state) {
    const int width = 2000;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ before = SelectObject(dc, bitmap);
    const auto id = static_cast<UINT>(GetDlgCtrlID(combo));
    const auto data = static_cast<ULONG_PTR>(Send(combo, CB_GETITEMDATA, static_cast<WPARAM>(item)));
    DRAWITEMSTRUCT draw{ODT_COMBOBOX, id, static_cast<UINT>(item), ODA_DRAWENTIRE, state, combo, dc,
                        RECT{0, 0, width, height}, data};
    Send(GetParent(combo), WM_DRAWITEM, id, reinterpret_cast<LPARAM>(&draw));
    GdiFlush();
    const auto* pixels = static_cast<const DWORD*>(bits);
    int drawn = 0;
    for (int i = 0; i < width * height; ++i) {
        if (pixels[i] != pixels[width - 1]) drawn = std::max(drawn, i % width);
    }
    SelectObject(dc, before);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return drawn + 1;
}

// The closed field shows the selected row; the open list, at the width the
// dialog set for it (the system widens it to the combo box's width, which
// would hide a width left from another DPI) and inside its border, shows
// every row.
void MeasureCombo(HWND combo, UINT dpi, Report& report) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    if ((StyleOf(combo) & CBS_OWNERDRAWFIXED) == 0 || !GetComboBoxInfo(combo, &info)) return;
    const int id = GetDlgCtrlID(combo);
    const LRESULT count = Send(combo, CB_GETCOUNT);
    const LRESULT selected = Send(combo, CB_GETCURSEL);
    const auto field_height = static_cast<int>(Send(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1)));
    const auto row_height = static_cast<int>(Send(combo, CB_GETITEMHEIGHT));
    const bool scrolls = count > Send(combo, CB_GETMINVISIBLE);
    const int list_room = static_cast<int>(Send(combo, CB_GETDROPPEDWIDTH)) - 2 * GetSystemMetricsForDpi(SM_CXBORDER, dpi) -
                          (scrolls ? GetSystemMetricsForDpi(SM_CXVSCROLL, dpi) : 0);
    const int field_room = (info.rcItem.right - info.rcItem.left) - 2;  // Wine's field draws one pixel inside
    for (int item = 0; item < count; ++item) {
        std::vector<wchar_t> text(static_cast<size_t>(Send(combo, CB_GETLBTEXTLEN, item)) + 1, L'\0');
        Send(combo, CB_GETLBTEXT, item, reinterpret_cast<LPARAM>(text.data()));
        report.Add(id, L"ComboBox-list", SIZE{DrawnRowWidth(combo, item, row_height, ODS_SELECTED), 0},
                   SIZE{list_room, 0}, text.data());
        if (item != selected) continue;
        report.Add(id, L"ComboBox", SIZE{DrawnRowWidth(combo, item, field_height, ODS_SELECTED | ODS_COMBOBOXEDIT), 0},
                   SIZE{field_room, 0}, text.data());
    }
}

void MeasureChild(HWND child, UINT dpi, Report& report) {
    if (!IsWindowVisible(child)) return;
    wchar_t cls[64] = L"";
    GetClassNameW(child, cls, 64);
    const std::wstring text = TextOf(child);
    const DWORD style = StyleOf(child);
    const int id = GetDlgCtrlID(child);
    RECT client;
    GetClientRect(child, &client);
    if (_wcsicmp(cls, L"Static") == 0) {
        const DWORD type = style & SS_TYPEMASK;
        const bool wraps = type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT;
        if (text.empty() || !(wraps || type == SS_LEFTNOWORDWRAP || type == SS_SIMPLE)) return;
        const UINT format = DT_EXPANDTABS | (wraps ? DT_WORDBREAK : 0) | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0);
        report.Add(id, L"Static", Measure(child, FontOf(child), text, format, client.right),
                   SIZE{client.right, client.bottom}, text);
    } else if (_wcsicmp(cls, L"Button") == 0) {
        const DWORD type = style & BS_TYPEMASK;
        if (text.empty() || (type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON)) return;
        // Inside the face's edge and the focus rectangle drawn within it.
        const int inset_x = 2 * GetSystemMetricsForDpi(SM_CXEDGE, dpi) + GetSystemMetricsForDpi(SM_CXBORDER, dpi);
        const int inset_y = 2 * GetSystemMetricsForDpi(SM_CYEDGE, dpi) + GetSystemMetricsForDpi(SM_CYBORDER, dpi);
        report.Add(id, L"Button", Measure(child, FontOf(child), text, DT_SINGLELINE),
                   SIZE{client.right - 2 * inset_x, client.bottom - 2 * inset_y}, text);
    } else if (_wcsicmp(cls, L"Edit") == 0) {
        const auto margins = static_cast<DWORD>(Send(child, EM_GETMARGINS));
        SIZE need = Measure(child, FontOf(child), text.empty() ? L" " : text, DT_SINGLELINE | DT_NOPREFIX);
        need.cx += 1;  // the caret after the text
        report.Add(id, L"Edit", need, SIZE{client.right - LOWORD(margins) - HIWORD(margins), client.bottom}, text);
    } else if (_wcsicmp(cls, L"ComboBox") == 0) {
        MeasureCombo(child, dpi, report);
    }
}

std::wstring Fits(HWND window) {
    Report report;
    const UINT dpi = GetDpiForWindow(window);
    MeasureCaption(window, dpi, report);
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        MeasureChild(child, dpi, report);
    }
    return report.text;
}

// While the window takes its new DPI: each font a control is given, and
// whether the one it held until then was still a font at that moment.
HWND watched = nullptr;
int fonts_set = 0, fonts_gone = 0;

LRESULT CALLBACK WatchSetFont(int code, WPARAM wparam, LPARAM lparam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lparam);
    if (code == HC_ACTION && call->message == WM_SETFONT && GetParent(call->hwnd) == watched) {
        ++fonts_set;
        const HGDIOBJ held = FontOf(call->hwnd);
        if (held != nullptr && GetObjectType(held) != OBJ_FONT) ++fonts_gone;
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

std::wstring DpiChange(HWND window, UINT dpi) {
    watched = window;
    fonts_set = fonts_gone = 0;
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, WatchSetFont, module_instance, GetCurrentThreadId());
    RECT suggested;
    GetWindowRect(window, &suggested);
    Send(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    UnhookWindowsHookEx(hook);
    wchar_t line[80];
    swprintf(line, 80, L"fonts set %d, replaced while still held %d\n", fonts_set, fonts_gone);
    return line;
}

void Answer(HWND reply, HWND window, const std::wstring& text) {
    std::string utf8(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr)),
                     '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr);
    COPYDATASTRUCT data{1, static_cast<DWORD>(utf8.size()), utf8.data()};
    DWORD_PTR result = 0;
    SendMessageTimeoutW(reply, WM_COPYDATA, reinterpret_cast<WPARAM>(window), reinterpret_cast<LPARAM>(&data),
                        SMTO_ABORTIFHUNG, 5000, &result);
}

}  // namespace

// The probe's request: LOWORD of lParam 1 measures, 2 changes the DPI to its HIWORD.
extern "C" __declspec(dllexport) LRESULT CALLBACK ProbeGetMessage(int code, WPARAM wparam, LPARAM lparam) {
    static const UINT request = RegisterWindowMessageW(L"OrvanelProbeRequest");
    auto* msg = reinterpret_cast<MSG*>(lparam);
    if (code == HC_ACTION && wparam == PM_REMOVE && msg->message == request) {
        const auto reply = reinterpret_cast<HWND>(msg->wParam);
        const WORD command = LOWORD(msg->lParam);
        msg->message = WM_NULL;  // the window never sees the request
        if (command == 1) Answer(reply, msg->hwnd, Fits(msg->hwnd));
        if (command == 2) Answer(reply, msg->hwnd, DpiChange(msg->hwnd, HIWORD(msg->lParam)));
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) module_instance = instance;
    return TRUE;
}
