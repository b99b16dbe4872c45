// Every message the program shows: OK only, no icon, the program's name as
// the caption.
#pragma once

#include <windows.h>

#include <string>

namespace orvanel {

// `owner` may be null: the box then stands on its own.
void ShowAppMessage(HWND owner, const std::wstring& text);

}  // namespace orvanel
