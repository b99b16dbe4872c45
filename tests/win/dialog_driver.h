// Opens the program's real dialogs inside the test process and looks at them
// while they are up: fonts and menus are the process's own here, so no
// second process is needed to measure a text or to watch a font change.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace orvanel::test {

// Runs `show` (which opens a modal dialog titled `title` on this thread);
// once the dialog is up, `inspect` gets it, and the dialog is then closed
// with IDCANCEL unless `inspect` closed it.
void WhileOpen(const wchar_t* title, const std::function<void()>& show, const std::function<void(HWND)>& inspect);

// The texts of the dialog's controls that are not drawn in full: a control
// drawn at its size must show as many pixels of its text as when drawn far
// larger. Each entry reads "ID: TEXT".
std::vector<std::wstring> CutTexts(HWND dialog);

// Sends the dialog WM_DPICHANGED for `dpi` and counts the fonts its
// controls were handed, and how many of them replaced a font already deleted.
struct FontHandOver {
    int set = 0;
    int replaced_deleted = 0;
};
FontHandOver ChangeDpi(HWND dialog, UINT dpi);

// Presses the dialog's button `id` as a click does; a message box it brings
// up is answered with OK, and its text returned.
std::wstring Press(HWND dialog, int id);

}  // namespace orvanel::test
