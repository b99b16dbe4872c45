#include "dos_device.h"

#include <windows.h>

namespace orvanel {

std::optional<std::wstring> DosDeviceTarget(const std::wstring& drive_spec) {
    if (drive_spec.empty()) return std::nullopt;
    std::wstring target(1024, L'\0');
    if (::QueryDosDeviceW(drive_spec.c_str(), target.data(), static_cast<DWORD>(target.size())) == 0) {
        return std::nullopt;
    }
    return std::wstring(target.c_str());  // the first of the returned strings is the current one
}

}  // namespace orvanel
