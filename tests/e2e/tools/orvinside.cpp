// Loaded into the program under test by a message hook that the probe sets on
// a window's thread: only there can the fonts its controls hold and the items
// of its open menu be read (Wine keeps both in the process that made them).
// It answers the probe's window with WM_COPYDATA.
#include <windows.h>

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
HGDIOBJ FontOf(HWND window) { return reinterpret_cast<HGDIOBJ>(SendMessageW(window, WM_GETFONT, 0, 0)); }

SIZE Measure(HWND window, const std::wstring& text, UINT format, int wrap_width = 0) {
    HDC dc = GetDC(window);
    const HGDIOBJ font = FontOf(window), before = SelectObject(dc, font ? font : GetStockObject(SYSTEM_FONT));
    RECT box{0, 0, wrap_width, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, format | DT_CALCRECT);
    SelectObject(dc, before);
    ReleaseDC(window, dc);
    return {box.right - box.left, box.bottom - box.top};
}

// Each control's text against the room it has, in its own font:
// "ID<tab>CLASS<tab>fits|CUT<tab>need WxH room WxH<tab>TEXT".
std::wstring Fits(HWND window) {
    std::wstring report;
    const UINT dpi = GetDpiForWindow(window);
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t cls[64] = L"";
        GetClassNameW(child, cls, 64);
        const std::wstring text = TextOf(child);
        const auto style = static_cast<DWORD>(GetWindowLongPtrW(child, GWL_STYLE));
        RECT room;
        GetClientRect(child, &room);
        SIZE need{};
        if (!IsWindowVisible(child) || text.empty()) continue;
        if (_wcsicmp(cls, L"Static") == 0) {
            const DWORD type = style & SS_TYPEMASK;
            const bool wraps = type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT;
            if (!wraps && type != SS_LEFTNOWORDWRAP && type != SS_SIMPLE) continue;
            need = Measure(child, text, DT_EXPANDTABS | (wraps ? DT_WORDBREAK : 0) |
                                            ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0), room.right);
        } else if (_wcsicmp(cls, L"Button") == 0) {
            if ((style & BS_TYPEMASK) > BS_DEFPUSHBUTTON) continue;
            // Inside the face's edge and the focus rectangle drawn within it.
            InflateRect(&room, -(2 * GetSystemMetricsForDpi(SM_CXEDGE, dpi) + GetSystemMetricsForDpi(SM_CXBORDER, dpi)),
                        -(2 * GetSystemMetricsForDpi(SM_CYEDGE, dpi) + GetSystemMetricsForDpi(SM_CYBORDER, dpi)));
            need = Measure(child, text, DT_SINGLELINE);
        } else if (_wcsicmp(cls, L"Edit") == 0) {
            const auto margins = static_cast<DWORD>(SendMessageW(child, EM_GETMARGINS, 0, 0));
            room.right -= LOWORD(margins) + HIWORD(margins) + 1;  // and the caret after the text
            need = Measure(child, text, DT_SINGLELINE | DT_NOPREFIX);
        } else {
            continue;
        }
        const LONG w = room.right - room.left, h = room.bottom - room.top;
        wchar_t line[120];
        swprintf(line, 120, L"%d\t%ls\t%ls\tneed %ldx%ld room %ldx%ld\t", GetDlgCtrlID(child), cls,
                 need.cx <= w && need.cy <= h ? L"fits" : L"CUT", need.cx, need.cy, w, h);
        report += line + text + L"\n";
    }
    return report;
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
        fonts_gone += held != nullptr && GetObjectType(held) != OBJ_FONT;
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

std::wstring DpiChange(HWND window, UINT dpi) {
    watched = window;
    fonts_set = fonts_gone = 0;
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, WatchSetFont, module_instance, GetCurrentThreadId());
    RECT suggested;
    GetWindowRect(window, &suggested);
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    UnhookWindowsHookEx(hook);
    wchar_t line[80];
    swprintf(line, 80, L"fonts set %d, replaced while still held %d\n", fonts_set, fonts_gone);
    return line;
}

// The open popup menu, a line per item: position, text ("-" for a
// separator), state and the item's centre on the screen.
std::wstring MenuItems(HWND menu_window) {
    const auto menu = reinterpret_cast<HMENU>(SendMessageW(menu_window, MN_GETHMENU, 0, 0));
    std::wstring lines;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
        wchar_t text[256] = L"-", line[400];
        if (!(state & MF_SEPARATOR)) GetMenuStringW(menu, static_cast<UINT>(i), text, 256, MF_BYPOSITION);
        RECT r{};
        GetMenuItemRect(nullptr, menu, static_cast<UINT>(i), &r);
        swprintf(line, 400, L"%d\t%ls\t%ls\t%ld %ld\n", i, text,
                 (state & MF_SEPARATOR) ? L"separator" : (state & MF_GRAYED) ? L"greyed" : L"enabled",
                 (r.left + r.right) / 2, (r.top + r.bottom) / 2);
        lines += line;
    }
    return lines;
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

// The probe's request: LOWORD of lParam 1 measures, 2 changes the DPI to its HIWORD, 3 reads the menu.
extern "C" __declspec(dllexport) LRESULT CALLBACK ProbeGetMessage(int code, WPARAM wparam, LPARAM lparam) {
    static const UINT request = RegisterWindowMessageW(L"OrvanelProbeRequest");
    auto* msg = reinterpret_cast<MSG*>(lparam);
    if (code == HC_ACTION && wparam == PM_REMOVE && msg->message == request) {
        const auto reply = reinterpret_cast<HWND>(msg->wParam);
        const WORD command = LOWORD(msg->lParam);
        msg->message = WM_NULL;  // the window never sees the request
        Answer(reply, msg->hwnd, command == 1 ? Fits(msg->hwnd)
                                 : command == 2 ? DpiChange(msg->hwnd, HIWORD(msg->lParam))
                                                : MenuItems(msg->hwnd));
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) module_instance = instance;
    return TRUE;
}
