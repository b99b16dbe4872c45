// The raw bytes of one of the running program's own resources.
#pragma once

#include <windows.h>

namespace orvanel {

// Read-only and in place: valid for as long as the program runs.
struct ResourceBytes {
    const BYTE* data = nullptr;
    DWORD size = 0;
};

// Empty when the program has no such resource.
ResourceBytes FindResourceBytes(const wchar_t* name, const wchar_t* type);

}  // namespace orvanel
