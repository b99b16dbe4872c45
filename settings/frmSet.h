// The settings dialog: the folder to map and the drive letter for it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "drive_store.h"

namespace orvanel {

// The drive the dialog is for.
struct DriveDialog {
    DriveStore store{0};
    std::wstring letter_fallback = L"Z";      // shown while no letter is stored
    std::vector<std::wstring> other_letters;  // the other drives' in use, refused for this one
};

// Shows the dialog modally over `owner`; returns when it is closed, true
// when every setting was saved.
bool ShowSettingsDialog(HWND owner, const DriveDialog& drive = DriveDialog{});

}  // namespace orvanel
