// Read by the probe's "menu" command from inside the program: Wine keeps a
// menu's items in the process that made it, so MN_GETHMENU's handle is of
// no use elsewhere. The probe hooks the menu window's thread with this
// library and sends it kReadMenu; the hook answers with WM_COPYDATA to the
// window in wParam, one line per item: position, text ("-" for a
// separator), state (enabled, greyed, disabled or separator, then " checked"
// when it is) and the item's centre on the screen.
#include <windows.h>

#include <cwchar>
#include <string>

extern "C" __declspec(dllexport) LRESULT CALLBACK ReadMenuHook(int code, WPARAM wparam, LPARAM lparam) {
    const CWPSTRUCT* sent = reinterpret_cast<const CWPSTRUCT*>(lparam);
    if (code == HC_ACTION && sent->message == RegisterWindowMessageW(L"OrvanelProbeReadMenu")) {
        const HMENU menu = reinterpret_cast<HMENU>(SendMessageW(sent->hwnd, MN_GETHMENU, 0, 0));
        std::wstring lines;
        for (int i = 0, count = GetMenuItemCount(menu); i < count; ++i) {
            const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
            const bool separator = (state & MF_SEPARATOR) != 0;
            wchar_t text[256] = L"-";
            if (!separator) GetMenuStringW(menu, static_cast<UINT>(i), text, 256, MF_BYPOSITION);
            RECT r{};
            GetMenuItemRect(nullptr, menu, static_cast<UINT>(i), &r);
            wchar_t line[400];
            swprintf(line, 400, L"%d\t%ls\t%ls%ls\t%ld %ld\n", i, text,
                     separator ? L"separator" : (state & MF_GRAYED) ? L"greyed" : (state & MF_DISABLED) ? L"disabled" : L"enabled",
                     (state & MF_CHECKED) ? L" checked" : L"", (r.left + r.right) / 2, (r.top + r.bottom) / 2);
            lines += line;
        }
        COPYDATASTRUCT data{0, static_cast<DWORD>(lines.size() * sizeof(wchar_t)), lines.data()};
        SendMessageW(reinterpret_cast<HWND>(sent->wParam), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}
