#include "dialog_dpi.h"

namespace orvanel {

void TakeOverDpiChanges(HWND dialog) {
    using SetBehavior = BOOL(WINAPI*)(HWND, DIALOG_DPI_CHANGE_BEHAVIORS, DIALOG_DPI_CHANGE_BEHAVIORS);
    const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    const FARPROC found = user32 ? ::GetProcAddress(user32, "SetDialogDpiChangeBehavior") : nullptr;
    if (found == nullptr) return;
    reinterpret_cast<SetBehavior>(reinterpret_cast<void*>(found))(dialog, DDC_DISABLE_ALL, DDC_DISABLE_ALL);
}

SIZE WindowSizeForClient(HWND dialog, UINT dpi, PixelSize client) {
    RECT frame{0, 0, client.width, client.height};
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(dialog, GWL_STYLE));
    const auto ex_style = static_cast<DWORD>(::GetWindowLongPtrW(dialog, GWL_EXSTYLE));
    ::AdjustWindowRectExForDpi(&frame, style, FALSE, ex_style, dpi);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

}  // namespace orvanel
