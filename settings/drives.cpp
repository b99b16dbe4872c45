#include "drives.h"

#include "dos_device.h"

namespace orvanel {

std::wstring RootOf(wchar_t letter) { return {letter, L':', L'\\'}; }

bool DriveInMask(DWORD drives, wchar_t letter) { return (drives >> (letter - L'A')) & 1u; }

bool DriveListed(wchar_t letter) { return DriveInMask(::GetLogicalDrives(), letter); }

bool DriveReady(wchar_t letter) {
    QuietDriveErrors quiet;
    return FolderExists(RootOf(letter));
}

bool FolderExists(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

LetterUse LetterUseOnMachine(wchar_t letter) {
    LetterUse use;
    use.exists = DriveListed(letter);
    if (std::optional<std::wstring> target = DosDeviceTarget({letter, L':'})) {
        use.exists = true;
        use.target = std::move(*target);
    }
    return use;
}

std::wstring FullPathOnDrive(wchar_t letter, const std::wstring& folder_part) {
    const std::wstring on_drive = std::wstring{letter, L':'} + folder_part;
    const DWORD needed = ::GetFullPathNameW(on_drive.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return RootOf(letter);
    std::wstring full(needed, L'\0');
    const DWORD written = ::GetFullPathNameW(on_drive.c_str(), needed, full.data(), nullptr);
    if (written == 0 || written >= needed) return RootOf(letter);
    full.resize(written);
    return full;
}

}  // namespace orvanel
