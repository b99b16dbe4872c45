// The icon's menu, made afresh each time it opens from the drives as they
// are: the one-drive menu as it always was, or the several-drive menu with
// an entry each.
#pragma once

#include <windows.h>

#include <cstddef>
#include <vector>

#include "drive_menu.h"
#include "handles.h"

namespace orvanel {

UniqueMenu BuildTrayMenu(const std::vector<DriveView>& drives);

// What a chosen menu id asks for.
struct MenuChoice {
    enum class Kind { Fixed, Toggle, Settings, Remove };
    Kind kind = Kind::Fixed;
    UINT id = 0;            // for Fixed: the .rc menu's id
    std::size_t drive = 0;  // for the others: the drive's place
};
MenuChoice DecodeMenuChoice(UINT id);

}  // namespace orvanel
