// The dialog procedure of a dialog object: the object arrives with
// WM_INITDIALOG, and every message after it goes to its Dispatch. The
// dialog class befriends DialogProcFor and has `HWND hwnd_` and
// `INT_PTR Dispatch(UINT, WPARAM, LPARAM)`.
#pragma once

#include <windows.h>

namespace orvanel {

template <typename Dialog>
INT_PTR CALLBACK DialogProcFor(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    if (msg == WM_INITDIALOG) {
        ::SetWindowLongPtrW(hwnd, DWLP_USER, lparam);
        reinterpret_cast<Dialog*>(lparam)->hwnd_ = hwnd;
    }
    auto* self = reinterpret_cast<Dialog*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
    if (self == nullptr) return FALSE;  // owner-drawn controls measure before WM_INITDIALOG
    try {
        return self->Dispatch(msg, wparam, lparam);
    } catch (...) {
        // Nothing may unwind into the dialog manager (out of memory, say):
        // the dialog closes as cancelled, nothing saved.
        ::EndDialog(hwnd, IDCANCEL);
        return TRUE;
    }
}

}  // namespace orvanel
