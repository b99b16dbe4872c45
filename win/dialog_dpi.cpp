#include "dialog_dpi.h"

namespace orvanel {

void TakeOverDpiChanges(HWND dialog) {
    using SetBehavior = BOOL(WINAPI*)(HWND, DIALOG_DPI_CHANGE_BEHAVIORS, DIALOG_DPI_CHANGE_BEHAVIORS);
    const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    const FARPROC found = user32 ? ::GetProcAddress(user32, "SetDialogDpiChangeBehavior") : nullptr;
    if (found == nullptr) return;
    reinterpret_cast<SetBehavior>(reinterpret_cast<void*>(found))(dialog, DDC_DISABLE_ALL, DDC_DISABLE_ALL);
}

}  // namespace orvanel
