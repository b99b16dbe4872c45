// What a drive letter stands for now, as the system's device names say.
#pragma once

#include <optional>
#include <string>

namespace orvanel {

// The current target of "X:" ("\??\D:\Data" for a mapping made with
// subst); nullopt when the letter stands for nothing.
std::optional<std::wstring> DosDeviceTarget(const std::wstring& drive_spec);

}  // namespace orvanel
