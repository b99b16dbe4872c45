// The settings dialog: the folder to map and the drive letter for it.
#pragma once

#include <windows.h>

namespace orvanel {

// Shows the dialog modally over `owner`; returns when it is closed, true
// when both settings were saved.
bool ShowSettingsDialog(HWND owner);

}  // namespace orvanel
