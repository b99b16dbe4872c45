// Every message the program shows: OK only, no icon, the program's name as
// the caption; one question, with Yes and No, in the same plain box.
#pragma once

#include <windows.h>

#include <string>

namespace orvanel {

// `owner` may be null: the box then stands on its own. `shown`, when given,
// holds the box's window while it is open (so that it can be brought
// forward), and null again once it is closed.
void ShowAppMessage(HWND owner, const std::wstring& text, HWND* shown = nullptr);
// True when the user answers Yes.
bool AskAppQuestion(HWND owner, const std::wstring& text, HWND* shown = nullptr);

}  // namespace orvanel
