#include "dialog_driver.h"

#include <algorithm>
#include <cstdint>

#include "text.h"

namespace orvanel::test {
namespace {

// As the program's manifest makes it: per-monitor aware, so that the dialogs
// open at the session's scale here as they do in the program.
const bool kDpiAware = ::SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2) != FALSE;

const wchar_t* g_title = nullptr;
const std::function<void(HWND)>* g_inspect = nullptr;
std::wstring g_message;

HWND ShownDialog(const wchar_t* title) {
    const HWND dialog = ::FindWindowW(L"#32770", title);
    return dialog != nullptr && ::IsWindowVisible(dialog) ? dialog : nullptr;
}

void CALLBACK LookOnce(HWND, UINT, UINT_PTR timer, DWORD) {
    const HWND dialog = ShownDialog(g_title);
    if (dialog == nullptr) return;  // not up yet
    ::KillTimer(nullptr, timer);
    (*g_inspect)(dialog);
    if (::IsWindow(dialog)) ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
}

void CALLBACK AnswerMessage(HWND, UINT, UINT_PTR timer, DWORD) {
    const HWND box = ShownDialog(L"Orvanel");
    if (box == nullptr) return;
    ::KillTimer(nullptr, timer);
    for (HWND c = ::GetWindow(box, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        wchar_t cls[16] = L"";
        ::GetClassNameW(c, cls, 16);
        if (::_wcsicmp(cls, L"Static") == 0) g_message += WindowText(c);
    }
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
}

// The control drawn by itself, at `size`, on a background no text has.
std::vector<std::uint32_t> Drawn(HWND control, SIZE size) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), size.cx, -size.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const HDC screen = ::GetDC(nullptr);
    const HDC dc = ::CreateCompatibleDC(screen);
    const HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ before = ::SelectObject(dc, bitmap);
    const auto n = static_cast<std::size_t>(size.cx) * static_cast<std::size_t>(size.cy);
    std::fill_n(static_cast<std::uint32_t*>(bits), n, 0x00FF00FFu);
    ::SendMessageW(control, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_NONCLIENT | PRF_ERASEBKGND);
    ::GdiFlush();
    std::vector<std::uint32_t> pixels(static_cast<std::uint32_t*>(bits), static_cast<std::uint32_t*>(bits) + n);
    ::SelectObject(dc, before);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    return pixels;
}

// How many pixels of the control, drawn at `size`, its text changes.
long TextPixels(HWND control, SIZE size) {
    constexpr UINT kQuiet = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW;
    RECT placed{};
    ::GetWindowRect(control, &placed);
    const std::wstring text = WindowText(control);
    ::SetWindowPos(control, nullptr, 0, 0, size.cx, size.cy, kQuiet);
    const std::vector<std::uint32_t> with = Drawn(control, size);
    ::SetWindowTextW(control, L" ");  // a blank lays a check box out as a text does
    const std::vector<std::uint32_t> without = Drawn(control, size);
    ::SetWindowTextW(control, text.c_str());
    ::SetWindowPos(control, nullptr, 0, 0, placed.right - placed.left, placed.bottom - placed.top, kQuiet);
    long changed = 0;
    for (std::size_t i = 0; i < with.size(); ++i) changed += with[i] != without[i];
    return changed;
}

bool DrawsText(HWND control, const wchar_t* cls) {
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(control, GWL_STYLE));
    if (::_wcsicmp(cls, L"Edit") == 0) return true;
    if (::_wcsicmp(cls, L"Button") == 0) return (style & BS_TYPEMASK) != BS_OWNERDRAW;
    const DWORD type = style & SS_TYPEMASK;
    return ::_wcsicmp(cls, L"Static") == 0 && (type <= SS_RIGHT || type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP);
}

FontHandOver* g_fonts = nullptr;
HWND g_watched = nullptr;

LRESULT CALLBACK WatchSetFont(int code, WPARAM wparam, LPARAM lparam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lparam);
    if (code == HC_ACTION && call->message == WM_SETFONT && ::GetParent(call->hwnd) == g_watched) {
        ++g_fonts->set;
        const auto held = reinterpret_cast<HGDIOBJ>(::SendMessageW(call->hwnd, WM_GETFONT, 0, 0));
        g_fonts->replaced_deleted += held != nullptr && ::GetObjectType(held) != OBJ_FONT;
    }
    return ::CallNextHookEx(nullptr, code, wparam, lparam);
}

}  // namespace

void WhileOpen(const wchar_t* title, const std::function<void()>& show, const std::function<void(HWND)>& inspect) {
    g_title = title;
    g_inspect = &inspect;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 30, LookOnce);
    show();
    ::KillTimer(nullptr, timer);
}

std::vector<std::wstring> CutTexts(HWND dialog) {
    std::vector<std::wstring> cut;
    for (HWND c = ::GetWindow(dialog, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        wchar_t cls[16] = L"";
        ::GetClassNameW(c, cls, 16);
        const std::wstring text = WindowText(c);
        if (text.empty() || !::IsWindowVisible(c) || !DrawsText(c, cls)) continue;
        RECT r{};
        ::GetWindowRect(c, &r);
        const SIZE placed{r.right - r.left, r.bottom - r.top};
        if (TextPixels(c, placed) != TextPixels(c, {2 * placed.cx + 200, 2 * placed.cy + 40})) {
            cut.push_back(std::to_wstring(::GetDlgCtrlID(c)) + L": " + text);
        }
    }
    return cut;
}

FontHandOver ChangeDpi(HWND dialog, UINT dpi) {
    FontHandOver fonts;
    g_fonts = &fonts;
    g_watched = dialog;
    const HHOOK hook = ::SetWindowsHookExW(WH_CALLWNDPROC, WatchSetFont, nullptr, ::GetCurrentThreadId());
    RECT suggested{};
    ::GetWindowRect(dialog, &suggested);
    ::SendMessageW(dialog, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    ::UnhookWindowsHookEx(hook);
    return fonts;
}

std::wstring Press(HWND dialog, int id) {
    g_message.clear();
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 30, AnswerMessage);
    ::SendMessageW(::GetDlgItem(dialog, id), BM_CLICK, 0, 0);
    ::KillTimer(nullptr, timer);
    return g_message;
}

}  // namespace orvanel::test
