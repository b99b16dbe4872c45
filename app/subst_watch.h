// Runs subst.exe hidden and, without blocking the window, tells the window
// when it has ended and what it printed.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

namespace orvanel {

struct SubstReport {
    DWORD exit_code = 0;
    std::wstring output;  // what it printed, or why it could not start
};

// Starts the command; `message` is posted to `window` when it has ended
// (also when it could not start), with `tag` in wParam and the report in
// lParam.
void StartWatchedSubst(HWND window, UINT message, UINT tag, const std::wstring& command_line);

// Takes ownership of the report posted with the message.
std::unique_ptr<SubstReport> TakeSubstReport(LPARAM lparam);

}  // namespace orvanel
