// Taken into the program by a message hook on its menu's thread, where alone
// the open menu's items can be read (under Wine): writes them, once whole, to
// %TEMP%\orvanel-e2e-menu.txt, a line an item: "TEXT<tab>STATE<tab>X<tab>Y".
#include <windows.h>

#include <filesystem>
#include <fstream>

extern "C" __declspec(dllexport) LRESULT CALLBACK ReadMenuHook(int code, WPARAM wparam, LPARAM lparam) {
    static const UINT request = ::RegisterWindowMessageW(L"OrvanelE2EReadMenu");
    auto* msg = reinterpret_cast<MSG*>(lparam);
    if (code != HC_ACTION || wparam != PM_REMOVE || msg->message != request) return ::CallNextHookEx(nullptr, code, wparam, lparam);
    msg->message = WM_NULL;  // the menu never sees the request
    const auto menu = reinterpret_cast<HMENU>(::SendMessageW(msg->hwnd, MN_GETHMENU, 0, 0));
    std::error_code ignored;  // nothing may be thrown into the program's own thread
    const std::filesystem::path file = std::filesystem::temp_directory_path(ignored) / L"orvanel-e2e-menu.txt";
    std::wofstream(std::filesystem::path(file) += L".new") << [menu] {
        std::wstring lines;
        for (UINT i = 0; i < static_cast<UINT>(::GetMenuItemCount(menu)); ++i) {
            const UINT state = ::GetMenuState(menu, i, MF_BYPOSITION);
            wchar_t text[256] = L"-";
            if (!(state & MF_SEPARATOR)) ::GetMenuStringW(menu, i, text, 256, MF_BYPOSITION);
            RECT r{};
            ::GetMenuItemRect(nullptr, menu, i, &r);
            lines += std::wstring(text) + L"\t" + (state & MF_SEPARATOR ? L"separator" : state & MF_GRAYED ? L"greyed" : L"enabled") +
                     L"\t" + std::to_wstring((r.left + r.right) / 2) + L"\t" + std::to_wstring((r.top + r.bottom) / 2) + L"\n";
        }
        return lines;
    }();
    std::filesystem::rename(std::filesystem::path(file) += L".new", file, ignored);
    return ::CallNextHookEx(nullptr, code, wparam, lparam);
}
