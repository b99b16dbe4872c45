// Every message the program shows: OK only, no icon, the program's name as
// the caption; one question, with Yes and No, in the same plain box.
#pragma once

#include <windows.h>

#include <string>

namespace orvanel {

// `owner` may be null: the box then stands on its own.
void ShowAppMessage(HWND owner, const std::wstring& text);
// True when the user answers Yes.
bool AskAppQuestion(HWND owner, const std::wstring& text);

}  // namespace orvanel
