// The probe's "menu" hooks the menu window's thread with this library (Wine keeps
// a menu's items in the process that made it) and sends OrvanelProbeReadMenu;
// the answer, by WM_COPYDATA to the window in wParam, is a line per item:
// position, text ("-" for a separator), state, " checked" and its screen centre.
#include <windows.h>

#include <cwchar>
#include <string>

extern "C" __declspec(dllexport) LRESULT CALLBACK ReadMenuHook(int code, WPARAM wparam, LPARAM lparam) {
    const CWPSTRUCT* sent = reinterpret_cast<const CWPSTRUCT*>(lparam);
    if (code == HC_ACTION && sent->message == RegisterWindowMessageW(L"OrvanelProbeReadMenu")) {
        const HMENU menu = reinterpret_cast<HMENU>(SendMessageW(sent->hwnd, MN_GETHMENU, 0, 0));
        std::wstring lines;
        for (UINT i = 0; static_cast<int>(i) < GetMenuItemCount(menu); ++i) {
            const UINT state = GetMenuState(menu, i, MF_BYPOSITION);
            wchar_t text[256] = L"-", line[400];
            if (!(state & MF_SEPARATOR)) GetMenuStringW(menu, i, text, 256, MF_BYPOSITION);
            RECT r{};
            GetMenuItemRect(nullptr, menu, i, &r);
            swprintf(line, 400, L"%u\t%ls\t%ls%ls\t%ld %ld\n", i, text,
                     (state & MF_SEPARATOR) ? L"separator" : (state & MF_GRAYED) ? L"greyed"
                                                          : (state & MF_DISABLED) ? L"disabled" : L"enabled",
                     (state & MF_CHECKED) ? L" checked" : L"", (r.left + r.right) / 2, (r.top + r.bottom) / 2);
            lines += line;
        }
        COPYDATASTRUCT data{0, static_cast<DWORD>(lines.size() * sizeof(wchar_t)), lines.data()};
        SendMessageW(reinterpret_cast<HWND>(sent->wParam), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}
