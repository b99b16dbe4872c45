// The floor Orvanel's start-up is measured against: the least a tray program
// does. One hidden window, one notification-area icon, a message loop, and
// the same manifest and build flags as Orvanel.
#include <windows.h>
#include <shellapi.h>

namespace {

constexpr wchar_t kClassName[] = L"MinimalTrayWindow";
constexpr UINT kIconId = 1;
constexpr int kIconResource = 101;

NOTIFYICONDATAA tray_data{};

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    if (msg == WM_DESTROY) {
        ::Shell_NotifyIconA(NIM_DELETE, &tray_data);
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(hwnd, msg, wparam, lparam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = kClassName;
    ::RegisterClassExW(&wc);
    HWND hwnd = ::CreateWindowExW(WS_EX_TOOLWINDOW, kClassName, L"", WS_OVERLAPPED, 0, 0, 0, 0,
                                  nullptr, nullptr, instance, nullptr);

    tray_data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    tray_data.hWnd = hwnd;
    tray_data.uID = kIconId;
    tray_data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    tray_data.uCallbackMessage = WM_APP;
    tray_data.hIcon = static_cast<HICON>(
        ::LoadImageW(instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON,
                     ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), 0));
    lstrcpynA(tray_data.szTip, "Minimal", sizeof(tray_data.szTip));
    ::Shell_NotifyIconA(NIM_ADD, &tray_data);

    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}
