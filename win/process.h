// Starting the commands Orvanel runs, always by their full path in a
// Windows folder, never found through the current or the program's folder.
#pragma once

#include <windows.h>

#include <string>

#include "handles.h"

namespace orvanel {

std::wstring SystemDirectory();   // C:\Windows\System32
std::wstring WindowsDirectory();  // C:\Windows

struct StartedProcess {
    UniqueHandle process;
    UniqueHandle output;  // read end of its stdout and stderr, when captured
    DWORD error = 0;      // why it could not start; 0 when it did
};

enum class Output { Ignore, Capture };

// Starts `command_line` with its program looked up in `directory` only.
StartedProcess StartProgram(const std::wstring& directory, const std::wstring& command_line,
                            WORD show, Output output);

// The system's text for a Win32 error code.
std::wstring ErrorText(DWORD error);

}  // namespace orvanel
