#include "message_box.h"

#include <cwchar>

#include "app_info.h"

namespace orvanel {
namespace {

HWND* noting = nullptr;  // where the box being opened notes its window

// The box is the first dialog window made once it is asked for.
LRESULT CALLBACK NoteBox(int code, WPARAM wparam, LPARAM lparam) {
    const auto window = reinterpret_cast<HWND>(wparam);
    wchar_t name[8] = L"";
    if (code == HCBT_CREATEWND && noting != nullptr && ::GetClassNameW(window, name, 8) &&
        std::wcscmp(name, L"#32770") == 0) {
        *noting = window;
        noting = nullptr;
    }
    return ::CallNextHookEx(nullptr, code, wparam, lparam);
}

int ShowBox(HWND owner, const std::wstring& text, UINT buttons, HWND* shown) {
    if (shown == nullptr) return ::MessageBoxW(owner, text.c_str(), kAppTitle, buttons);
    noting = shown;
    const HHOOK hook = ::SetWindowsHookExW(WH_CBT, NoteBox, nullptr, ::GetCurrentThreadId());
    const int answer = ::MessageBoxW(owner, text.c_str(), kAppTitle, buttons);
    if (hook != nullptr) ::UnhookWindowsHookEx(hook);
    noting = nullptr;
    *shown = nullptr;
    return answer;
}

}  // namespace

void ShowAppMessage(HWND owner, const std::wstring& text, HWND* shown) { ShowBox(owner, text, MB_OK, shown); }

bool AskAppQuestion(HWND owner, const std::wstring& text, HWND* shown) {
    return ShowBox(owner, text, MB_YESNO, shown) == IDYES;
}

}  // namespace orvanel
