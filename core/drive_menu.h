// What the icon's menu, its picture and its tip show for the program's
// drives. One drive shows exactly the one-drive program, with Add Drive...
// below Settings; several drives get an entry each at the top and one each
// in a Settings submenu, beside Add Drive... and Remove Drive.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "mount_state.h"

namespace orvanel {

// One drive as the tray shows it: its stored letter and folder, the state
// it shows, and whether Mount is offered (a folder was stored at start or
// saved since).
struct DriveView {
    std::wstring letter;
    std::wstring folder;
    MountState shown = MountState::Unmounted;
    bool mountable = true;
};

// "X:  Website": the letter and the folder's last part, for the menu and
// for messages that name the drive.
std::wstring DriveLabel(const DriveView& drive);

struct MenuEntry {
    std::wstring text;  // as a menu shows it: an & in a folder's name is doubled
    bool enabled = true;
};

struct OneDriveMenu {
    MenuEntry mount;        // "Mount" or "Unmount", greyed until a folder is saved
    bool settings_enabled;  // greyed while mounted
    bool add_enabled;       // Add Drive..., greyed as Mount is
};
OneDriveMenu MenuForOneDrive(const DriveView& drive);

struct SeveralDrivesMenu {
    std::vector<MenuEntry> mounts;     // "Mount X:  Website" / "Unmount W:  Build", in order
    std::vector<MenuEntry> settings;   // "X:  Website...", greyed while that drive is mounted
    std::vector<std::size_t> removable;  // the drives Remove Drive offers: the unmounted ones
    std::vector<MenuEntry> removals;     // their entries
    bool add_enabled = true;             // greyed once every letter could be taken
};
SeveralDrivesMenu MenuForDrives(const std::vector<DriveView>& drives);

// The icon shows the mounted picture while any drive is mounted.
MountState OverallState(const std::vector<DriveView>& drives);

// The tip, in the ANSI notification record's terms, with its NUL: one
// drive's as always; several name each letter and its state ("X: mounted,
// W: unmounted"), or count them where that would not fit the 63 characters.
std::string TrayTip(const std::vector<DriveView>& drives);

// A message about drive `index`: as it is with one drive; with several, the
// drive's label on a line of its own first.
std::wstring NamingDrive(const std::vector<DriveView>& drives, std::size_t index, std::wstring_view message);

// Remove Drive's Yes/No question.
std::wstring RemoveDriveQuestion(const DriveView& drive);

}  // namespace orvanel
