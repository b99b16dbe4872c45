// The running program's own module: its file, its resources.
#pragma once

#include <windows.h>

#include <string>

namespace orvanel {

inline HINSTANCE ModuleInstance() { return ::GetModuleHandleW(nullptr); }

// The full path of the running Orvanel.exe.
std::wstring ProgramPath();

// A string-table entry of the program; empty when it has none.
std::wstring ResourceString(unsigned id);

// The raw bytes of one of the program's resources, read-only and in place:
// valid for as long as the program runs. Empty when it has no such resource.
struct ResourceBytes {
    const BYTE* data = nullptr;
    DWORD size = 0;
};
ResourceBytes FindResourceBytes(const wchar_t* name, const wchar_t* type);

}  // namespace orvanel
