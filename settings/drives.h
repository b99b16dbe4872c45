// The machine's drives and folders as the settings dialog asks about them.
#pragma once

#include <windows.h>

#include <string>

#include "settings_rules.h"

namespace orvanel {

// A removable drive with no medium must not make Windows ask for one.
class QuietDriveErrors {
public:
    QuietDriveErrors() { ::SetThreadErrorMode(SEM_FAILCRITICALERRORS, &previous_); }
    ~QuietDriveErrors() { ::SetThreadErrorMode(previous_, nullptr); }
    QuietDriveErrors(const QuietDriveErrors&) = delete;
    QuietDriveErrors& operator=(const QuietDriveErrors&) = delete;

private:
    DWORD previous_ = 0;
};

// "D:\"
std::wstring RootOf(wchar_t letter);
// In a GetLogicalDrives() mask.
bool DriveInMask(DWORD drives, wchar_t letter);
// Listed by Windows now, whether or not it is ready.
bool DriveListed(wchar_t letter);
// Its root can be read: the medium is in, the share answers.
bool DriveReady(wchar_t letter);
bool FolderExists(const std::wstring& path);

// A listed drive, or a mapping and its target.
LetterUse LetterUseOnMachine(wchar_t letter);

// "D:" plus a folder part: the drive's current folder when it is empty,
// relative to it when it has no leading backslash. The root when Windows
// can't make a full path of it.
std::wstring FullPathOnDrive(wchar_t letter, const std::wstring& folder_part);

}  // namespace orvanel
