// Conversions between the program's Unicode texts and the code pages that
// the ANSI functions and console programs use, and a window's text.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace orvanel {

std::string ToAnsi(std::wstring_view text);
std::wstring FromAnsi(std::string_view text);
// Console programs write in the OEM code page.
std::wstring FromOem(std::string_view text);
// True when every character survives the trip through the ANSI code page.
bool FitsAnsi(std::wstring_view text);
// A window's or control's text.
std::wstring WindowText(HWND window);

}  // namespace orvanel
