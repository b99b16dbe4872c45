// The running program's own module, where its resources live.
#pragma once

#include <windows.h>

namespace orvanel {

inline HINSTANCE ModuleInstance() { return ::GetModuleHandleW(nullptr); }

}  // namespace orvanel
