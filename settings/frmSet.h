// The settings dialog: the folder to map and the drive letter for it.
#pragma once

namespace orvanel {

// Shows the dialog modally, without an owner; returns when it is closed.
void ShowSettingsDialog();

}  // namespace orvanel
